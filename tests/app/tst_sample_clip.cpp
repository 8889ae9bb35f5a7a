// The sample clip made at build time: read back through the program's own
// frame source, the ball must fly as a real one does (g = 9.8 m/s² on the
// scale of the ruler in the picture) and stay in the picture all the way.

#include "platform/ffmpeg_frame_source.h"

#include <QtTest>
#include <array>
#include <cmath>
#include <optional>

namespace {

// Centre of the orange ball: the mean of its pixels. Empty when too few
// pixels look like the ball (it left the picture or is hidden).
std::optional<QPointF> ballCentre(const QImage &image)
{
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
            if (r > 170 && r - b > 110 && g < 190) {
                sumX += x + 0.5;
                sumY += y + 0.5;
                ++count;
            }
        }
    }
    if (count < 150)
        return std::nullopt;
    return QPointF(sumX / count, sumY / count);
}

// Rows of the left quarter of the picture crossed by a long black line: the
// ruler's 0 cm and 100 cm marks. Each mark's rows are merged into their mean.
QVector<double> rulerEndMarks(const QImage &image)
{
    QVector<double> marks;
    int firstRow = -1, lastRow = -1;
    auto closeMark = [&] {
        if (firstRow >= 0)
            marks.append((firstRow + lastRow) / 2.0 + 0.5);
        firstRow = -1;
    };
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int run = 0, longest = 0;
        for (int x = 0; x < image.width() / 4; ++x) {
            const bool black = qMax(qRed(row[x]), qMax(qGreen(row[x]), qBlue(row[x]))) < 80;
            run = black ? run + 1 : 0;
            longest = qMax(longest, run);
        }
        if (longest >= 30) {
            if (firstRow < 0)
                firstRow = y;
            lastRow = y;
        } else {
            closeMark();
        }
    }
    closeMark();
    return marks;
}

// Least-squares coefficients of v = c0 + c1 t + c2 t² (degree 1 or 2), with
// the largest distance of a sample from the fitted curve.
struct Fit
{
    std::array<double, 3> c{};
    double worstResidual = 0;
};

Fit polynomialFit(const QVector<double> &t, const QVector<double> &v, int degree)
{
    const int n = degree + 1;
    double a[3][4] = {};
    for (int i = 0; i < t.size(); ++i) {
        const double powers[3] = {1, t[i], t[i] * t[i]};
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                a[r][c] += powers[r] * powers[c];
            a[r][n] += powers[r] * v[i];
        }
    }
    for (int p = 0; p < n; ++p) { // Gauss-Jordan; the system is well conditioned
        for (int r = 0; r < n; ++r) {
            if (r == p)
                continue;
            const double f = a[r][p] / a[p][p];
            for (int c = p; c <= n; ++c)
                a[r][c] -= f * a[p][c];
        }
    }
    Fit fit;
    for (int r = 0; r < n; ++r)
        fit.c[r] = a[r][n] / a[r][r];
    for (int i = 0; i < t.size(); ++i) {
        const double model = fit.c[0] + fit.c[1] * t[i] + fit.c[2] * t[i] * t[i];
        fit.worstResidual = qMax(fit.worstResidual, std::abs(model - v[i]));
    }
    return fit;
}

} // namespace

class TestSampleClip : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void opensAsThirtyFramesPerSecond();
    void rulerIsOneMetreBesideTheFlight();
    void ballStaysInPicture();
    void flightGivesGravity();

private:
    FfmpegFrameSource m_source;
    QVector<QImage> m_frames;
    double m_pixelsPerMetre = 0;
};

void TestSampleClip::initTestCase()
{
    QVERIFY2(QFileInfo::exists(QStringLiteral(KINEMO_SAMPLE_CLIP)),
             "the sample clip was not made by the build");
    QVERIFY(m_source.open(QStringLiteral(KINEMO_SAMPLE_CLIP)));
    QVERIFY(m_source.hasVideo());
    const QSize size = m_source.displaySize();
    for (int i = 0; i < m_source.frameCount(); ++i) {
        QImage image = m_source.frame(i, size).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("frame %1").arg(i)));
        m_frames.append(image);
    }
}

void TestSampleClip::opensAsThirtyFramesPerSecond()
{
    QCOMPARE(m_source.frameRate(), 30.0);
    QCOMPARE(m_source.displaySize(), QSize(640, 480));
    // The whole flight (1.5 to 2.5 s) with a little rest before and after.
    QVERIFY(m_source.frameCount() >= 50);
    QVERIFY(m_source.frameCount() <= 100);
}

void TestSampleClip::rulerIsOneMetreBesideTheFlight()
{
    // Both end marks must be there in every frame, at the same place.
    QVector<double> first;
    for (const QImage &image : std::as_const(m_frames)) {
        const QVector<double> marks = rulerEndMarks(image);
        QCOMPARE(marks.size(), 2);
        if (first.isEmpty())
            first = marks;
        QVERIFY(std::abs(marks[0] - first[0]) < 0.6);
        QVERIFY(std::abs(marks[1] - first[1]) < 0.6);
    }
    m_pixelsPerMetre = first[1] - first[0];
    // Long enough to click its ends to better than 1 %.
    QVERIFY2(m_pixelsPerMetre >= 120, qPrintable(QString::number(m_pixelsPerMetre)));
}

void TestSampleClip::ballStaysInPicture()
{
    const double radius = 8;
    for (int i = 0; i < m_frames.size(); ++i) {
        const auto centre = ballCentre(m_frames[i]);
        QVERIFY2(centre, qPrintable(QStringLiteral("no ball in frame %1").arg(i)));
        QVERIFY(centre->x() - radius > 0 && centre->x() + radius < 640);
        QVERIFY(centre->y() - radius > 0 && centre->y() + radius < 480);
        // Clear of the ruler (the left 90 pixels), so clicks cannot mix them up.
        QVERIFY2(centre->x() - radius > 90, qPrintable(QString::number(centre->x())));
    }
}

void TestSampleClip::flightGivesGravity()
{
    QVERIFY(m_pixelsPerMetre > 0);
    const auto start = ballCentre(m_frames.first());
    const auto end = ballCentre(m_frames.last());
    QVERIFY(start && end);

    // Frames in flight: the ball has left its start and not yet come to rest.
    QVector<double> t, x, y;
    for (int i = 0; i < m_frames.size(); ++i) {
        const QPointF c = *ballCentre(m_frames[i]);
        if (QLineF(c, *start).length() > 1 && QLineF(c, *end).length() > 1) {
            t.append(i / m_source.frameRate());
            x.append(c.x());
            y.append(c.y());
        }
    }
    const double flightSeconds = (t.size() + 1) / m_source.frameRate();
    QVERIFY2(flightSeconds >= 1.5 && flightSeconds <= 2.5,
             qPrintable(QString::number(flightSeconds)));

    // Across at a steady speed, and up and down on a parabola.
    const Fit across = polynomialFit(t, x, 1);
    QVERIFY2(across.worstResidual < 0.5, qPrintable(QString::number(across.worstResidual)));
    QVERIFY(across.c[1] > 100); // pixels per second to the right
    const Fit height = polynomialFit(t, y, 2);
    QVERIFY2(height.worstResidual < 0.5, qPrintable(QString::number(height.worstResidual)));

    // y grows downwards: y = y0 - v t + g t² / 2.
    const double g = 2 * height.c[2] / m_pixelsPerMetre;
    qInfo("measured g = %.3f m/s², %.2f pixels per metre", g, m_pixelsPerMetre);
    QVERIFY2(std::abs(g - 9.8) < 0.1, qPrintable(QStringLiteral("g = %1").arg(g)));
    // It climbs most of the picture's height, so the curve is plain to see.
    double top = 480;
    for (double v : std::as_const(y))
        top = qMin(top, v);
    QVERIFY(start->y() - top > 300);
}

QTEST_GUILESS_MAIN(TestSampleClip)
#include "tst_sample_clip.moc"
