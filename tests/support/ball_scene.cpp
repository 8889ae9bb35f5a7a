#include "ball_scene.h"

#include "clip_maker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int Spatial = 4;  // samples across a pixel, each way
constexpr int Temporal = 9; // samples over the exposure

QPointF offsetOf(const BallScene &scene, int frame)
{
    return scene.shake ? scene.shake(frame) : QPointF();
}

double seconds(const BallScene &scene, int frame)
{
    return double(frame) / scene.framesPerSecond;
}

// Normal noise, drawn once, read from a random place in each row.
const std::vector<float> &noiseTable()
{
    static const std::vector<float> table = [] {
        std::mt19937 random(12345);
        std::normal_distribution<float> normal(0, 1);
        std::vector<float> values(1 << 20);
        for (float &v : values)
            v = normal(random);
        return values;
    }();
    return table;
}

void paintWall(const BallScene &scene, QPainter &painter, int frame)
{
    QLinearGradient wall(0, 0, 0, scene.size.height());
    wall.setColorAt(0, scene.wall.lighter(104));
    wall.setColorAt(1, scene.wall.darker(106));
    painter.fillRect(QRectF(-50, -50, scene.size.width() + 100, scene.size.height() + 100), wall);
    if (scene.ruler) {
        const double width = std::max(12.0, scene.size.width() / 24.0);
        painter.setPen(QPen(QColor(140, 95, 40), 1));
        painter.setBrush(QColor(246, 214, 140));
        painter.drawRect(QRectF(scene.rulerLeft, scene.rulerTop - 6, width,
                                scene.rulerBottom - scene.rulerTop + 12));
        for (int cm = 0; cm <= 100; cm += 5) {
            const double y = scene.rulerBottom - cm * (scene.rulerBottom - scene.rulerTop) / 100.0;
            const bool end = cm == 0 || cm == 100;
            painter.setPen(QPen(Qt::black, end ? 2.0 : 1.0));
            painter.drawLine(QPointF(scene.rulerLeft, y),
                             QPointF(scene.rulerLeft + (end ? width : width / 2), y));
        }
    }
    if (scene.distractor) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(scene.ball.darker(112));
        painter.drawRoundedRect(*scene.distractor, 3, 3);
    }
    if (scene.stick) {
        // Bright segments with thin dark joints between them.
        const QRectF s = *scene.stick;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(70, 70, 60));
        painter.drawRect(s);
        painter.setBrush(QColor(236, 234, 205));
        for (double y = s.top() + 2; y < s.bottom() - 2; y += s.width() * 3)
            painter.drawRect(QRectF(s.left() + 1, y, s.width() - 2,
                                    std::min(s.width() * 3 - 3, s.bottom() - 2 - y)));
    }
    if (scene.hand) {
        if (const std::optional<QPointF> tips = scene.hand(seconds(scene, frame))) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(196, 150, 122));
            painter.drawRect(QRectF(-60, tips->y() - 9, tips->x() - 20 + 60, 22));
            painter.drawEllipse(QRectF(tips->x() - 48, tips->y() - 13, 48, 28));
        }
    }
    if (scene.mark) {
        const QPointF m = *scene.mark;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(m, 9, 9);
        painter.setBrush(Qt::black);
        painter.drawPie(QRectF(m - QPointF(7, 7), QSizeF(14, 14)), 0, 90 * 16);
        painter.drawPie(QRectF(m - QPointF(7, 7), QSizeF(14, 14)), 180 * 16, 90 * 16);
    }
}

// The ball, blended over what is there: each pixel takes the part of its
// samples (across the pixel and over the exposure) that fall on the ball.
void paintBall(const BallScene &scene, QImage &image, int frame)
{
    const QPointF shift = offsetOf(scene, frame);
    const double interval = 1.0 / scene.framesPerSecond;
    const double t = seconds(scene, frame);
    const int times = scene.exposure > 0 ? Temporal : 1;
    std::vector<QPointF> centres;
    for (int k = 0; k < times; ++k) {
        const double at =
            times == 1 ? t : t + scene.exposure * interval * ((k + 0.5) / times - 0.5);
        centres.push_back(scene.path(at) + shift);
    }
    QRectF box;
    for (const QPointF &c : centres)
        box |= QRectF(c - QPointF(scene.radius + 1, scene.radius + 1),
                      QSizeF(2 * scene.radius + 2, 2 * scene.radius + 2));
    const QRect pixels = box.toAlignedRect() & image.rect();
    const double r2 = scene.radius * scene.radius;
    const int samples = Spatial * Spatial * times;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            double sum[3] = {0, 0, 0};
            int inside = 0;
            for (const QPointF &c : centres) {
                for (int sy = 0; sy < Spatial; ++sy) {
                    for (int sx = 0; sx < Spatial; ++sx) {
                        const double dx = x + (sx + 0.5) / Spatial - c.x();
                        const double dy = y + (sy + 0.5) / Spatial - c.y();
                        const double d2 = dx * dx + dy * dy;
                        if (d2 >= r2)
                            continue;
                        // Lit from the upper left.
                        const double light =
                            0.78 + 0.22 * std::sqrt(1 - d2 / r2) - 0.08 * (dx + dy) / scene.radius;
                        sum[0] += scene.ball.red() * light;
                        sum[1] += scene.ball.green() * light;
                        sum[2] += scene.ball.blue() * light;
                        ++inside;
                    }
                }
            }
            if (inside == 0)
                continue;
            uchar *p = row + 3 * x;
            for (int ch = 0; ch < 3; ++ch) {
                const double value = (sum[ch] + double(samples - inside) * p[ch]) / samples;
                p[ch] = uchar(std::clamp(std::lround(value), 0L, 255L));
            }
        }
    }
}

// A figure: drawn at each time over the exposure and averaged.
void paintFigure(const BallScene &scene, QImage &image, int frame)
{
    const double interval = 1.0 / scene.framesPerSecond;
    const double t = seconds(scene, frame);
    const int times = scene.exposure > 0 ? Temporal : 1;
    std::vector<quint32> sum(size_t(image.width()) * image.height() * 3, 0);
    for (int k = 0; k < times; ++k) {
        QImage layer = image.copy();
        {
            QPainter painter(&layer);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.translate(offsetOf(scene, frame));
            scene.figure(painter, times == 1
                                      ? t
                                      : t + scene.exposure * interval * ((k + 0.5) / times - 0.5));
        }
        for (int y = 0; y < layer.height(); ++y) {
            const uchar *row = layer.constScanLine(y);
            quint32 *out = sum.data() + size_t(y) * image.width() * 3;
            for (int x = 0; x < image.width() * 3; ++x)
                out[x] += row[x];
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        const quint32 *in = sum.data() + size_t(y) * image.width() * 3;
        for (int x = 0; x < image.width() * 3; ++x)
            row[x] = uchar((in[x] + times / 2) / times);
    }
}

void addNoise(const BallScene &scene, QImage &image, int frame)
{
    if (scene.noise <= 0)
        return;
    const std::vector<float> &table = noiseTable();
    std::mt19937 random(quint32(frame * 7919 + 17));
    const int width = image.width() * 3;
    for (int y = 0; y < image.height(); ++y) {
        uchar *row = image.scanLine(y);
        size_t at = random() % (table.size() - width);
        for (int x = 0; x < width; ++x) {
            const long value = std::lround(row[x] + scene.noise * table[at + x]);
            row[x] = uchar(std::clamp(value, 0L, 255L));
        }
    }
}

} // namespace

QPointF BallScene::centre(int frame) const
{
    return path(seconds(*this, frame)) + offsetOf(*this, frame);
}

QPointF BallScene::markAt(int frame) const
{
    return mark.value_or(QPointF()) + offsetOf(*this, frame);
}

double BallScene::hiddenFraction(int frame) const
{
    if (!obstacle)
        return 0;
    const QRectF box = obstacle->translated(offsetOf(*this, frame));
    const QPointF c = centre(frame);
    int inside = 0, hidden = 0;
    for (double dy = -radius; dy <= radius; dy += radius / 20) {
        for (double dx = -radius; dx <= radius; dx += radius / 20) {
            if (dx * dx + dy * dy >= radius * radius)
                continue;
            ++inside;
            if (box.contains(c + QPointF(dx, dy)))
                ++hidden;
        }
    }
    return inside ? double(hidden) / inside : 0;
}

QImage BallScene::frame(int frame) const
{
    QImage image(size, QImage::Format_RGB888);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(offsetOf(*this, frame));
        paintWall(*this, painter, frame);
    }
    if (figure)
        paintFigure(*this, image, frame);
    else
        paintBall(*this, image, frame);
    if (front) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(offsetOf(*this, frame));
        front(painter, seconds(*this, frame));
    }
    if (obstacle) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(offsetOf(*this, frame));
        painter.setPen(QPen(QColor(40, 40, 40), 2));
        painter.setBrush(QColor(90, 110, 80));
        painter.drawRect(*obstacle);
    }
    addNoise(*this, image, frame);
    return image;
}

bool writeBallClip(const BallScene &scene, const QString &path, const QStringList &codec,
                   QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return fail(QStringLiteral("no ffmpeg program"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString partial = path + QStringLiteral(".part.") + QFileInfo(path).suffix();
    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.start(
        ffmpeg,
        QStringList{QStringLiteral("-nostdin"), QStringLiteral("-y"), QStringLiteral("-loglevel"),
                    QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("rawvideo"),
                    QStringLiteral("-pixel_format"), QStringLiteral("rgb24"),
                    QStringLiteral("-video_size"),
                    QStringLiteral("%1x%2").arg(scene.size.width()).arg(scene.size.height()),
                    QStringLiteral("-framerate"), QString::number(scene.framesPerSecond),
                    QStringLiteral("-i"), QStringLiteral("-")} +
            codec + QStringList{partial});
    if (!encoder.waitForStarted(30000))
        return fail(QStringLiteral("cannot start ffmpeg"));
    for (int i = 0; i < scene.frames; ++i) {
        const QImage image = scene.frame(i);
        for (int y = 0; y < image.height(); ++y)
            encoder.write(reinterpret_cast<const char *>(image.constScanLine(y)),
                          qint64(image.width()) * 3);
        while (encoder.bytesToWrite() > 0) {
            if (!encoder.waitForBytesWritten(30000))
                return fail(QStringLiteral("ffmpeg stopped taking frames"));
        }
    }
    encoder.closeWriteChannel();
    if (!encoder.waitForFinished(300000) || encoder.exitStatus() != QProcess::NormalExit ||
        encoder.exitCode() != 0) {
        QFile::remove(partial);
        return fail(QStringLiteral("ffmpeg failed on ") + partial);
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path))
        return fail(QStringLiteral("cannot rename ") + partial);
    return true;
}

BallScene thrownBall()
{
    BallScene s;
    s.size = {640, 480};
    s.frames = 40;
    s.radius = 10;
    s.noise = 3;
    s.path = [](double t) { return QPointF(60.4 + 300 * t, 400.3 - 420 * t + 180 * t * t); };
    return s;
}

namespace {

QPointF turnedBy(QPointF p, double degrees)
{
    const double a = degrees * M_PI / 180;
    return {p.x() * std::cos(a) - p.y() * std::sin(a), p.x() * std::sin(a) + p.y() * std::cos(a)};
}

} // namespace

BallScene stickerOnWheel(int width, int frames)
{
    BallScene s;
    s.size = {width, width * 3 / 4};
    s.framesPerSecond = 60;
    s.frames = frames;
    s.noise = 4;
    s.exposure = 0.5;
    const double k = width / 640.0;
    const QPointF hub(330.4 * k, 250.2 * k);
    s.radius = 8 * k;
    s.wall = QColor(222, 226, 228);
    static const auto angle = [](double t) { return 25 + 1200 * t; }; // degrees
    s.path = [=](double t) { return hub + turnedBy(QPointF(163 * k, 0), angle(t)); };
    s.figure = [=](QPainter &p, double t) {
        p.save();
        p.translate(hub);
        p.scale(k, k);
        p.rotate(angle(t));
        p.setPen(QPen(QColor(125, 125, 130), 1.5));
        for (int k = 0; k < 28; ++k) {
            const QPointF end = turnedBy(QPointF(150, 0), k * 360.0 / 28);
            p.drawLine(turnedBy(QPointF(14, 0), k * 360.0 / 28 + 40), end);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(30, 30, 33), 15));
        p.drawEllipse(QPointF(), 163, 163);
        p.setPen(QPen(QColor(150, 152, 158), 5));
        p.drawEllipse(QPointF(), 151, 151);
        p.setPen(QPen(QColor(70, 70, 74), 2));
        for (int k = 0; k < 90; ++k) {
            const double a = k * 4.0;
            p.drawLine(turnedBy(QPointF(158, 0), a), turnedBy(QPointF(168, 0), a + 1));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 152, 158));
        p.drawEllipse(QPointF(), 14, 14);
        p.setBrush(QColor(70, 200, 80));
        p.drawRect(QRectF(158, -11, 10, 22));
        p.restore();
    };
    return s;
}

QString motionJpegClip(const QString &name, const BallScene &scene)
{
    const QString path = ClipMaker::dataDir() + QLatin1Char('/') + name + QStringLiteral(".avi");
    if (!QFileInfo::exists(path))
        writeBallClip(scene, path, {"-c:v", "mjpeg", "-q:v", "2", "-pix_fmt", "yuvj420p"});
    return QFileInfo::exists(path) ? path : QString();
}
