// The main window's result commands: the three checks in order, the data
// problems, and a fresh window with the preview picture for each command, in
// the video's own shape.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "digitize/digitizing_part.h"
#include "platform/frame_source.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "results/frmResult2.h"
#include "results/preview_picture.h"
#include "results/results_part.h"
#include "video/preview_widget.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

void plot(int n, int sameFrameAt = -1)
{
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 100;
    s.RefLengthValue = 10;
    s.LengthUnit = QStringLiteral("cm");
    for (int r = 1; r <= n; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = r == sameFrameAt ? 3 * (r - 2) : 3 * (r - 1);
        s.PointTable[r][2] = 40 * r;
        s.PointTable[r][3] = 50;
    }
    s.PointCount = qint16(n);
}

// The smallest rectangle around the dark pixels of a window's picture.
QRect darkArea(const QLabel *picture)
{
    const QImage image = picture->pixmap().toImage();
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                area |= QRect(x, y, 1, 1);
    return area;
}

// Stand-ins for the result windows that note the order they are closed in.
class CloseRecorder : public QObject
{
public:
    QStringList closed;
    QWidget *window(const QString &name)
    {
        auto *window = new QWidget;
        window->setObjectName(name);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->installEventFilter(this);
        window->show();
        return window;
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            closed.append(watched->objectName());
        return false;
    }
};

} // namespace

class TestFrmMainResults : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_main = std::make_unique<frmMain>();
    }
    void cleanup()
    {
        m_main.reset();
        m_platform.reset();
    }
    void checksInOrder_data();
    void checksInOrder();
    void sameFrameIsReportedNotOpened();
    void freshWindowPerCommand();
    void pictureKeepsTheVideosShape_data();
    void pictureKeepsTheVideosShape();
    void fourByThreeVideoFillsThePicture();
    void pictureShowsTheKijunLabel();
    void closingOrder_data();
    void closingOrder();

private:
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_main;
};

void TestFrmMainResults::checksInOrder_data()
{
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<float>("refPixels");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("no length")
        << "" << 100.0f << 5
        << "「長さを決める」欄の「長さの設定」ボタンを押し、空欄に数値を入力してください";
    QTest::newRow("length 0")
        << "0" << 100.0f << 5
        << "「長さを決める」欄の「長さの設定」ボタンを押し、空欄に数値を入力してください";
    QTest::newRow("no reference points")
        << "10" << 0.0f << 5
        << "　「長さを決める」欄の「長さの設定」ボタンを押したあと、画面上の物体をクリックして、\r\n"
           "基準となる長さを決めてください";
    QTest::newRow("two points") << "10" << 100.0f << 2
                                << "画面上の点を３回以上クリックしないと、\r\n"
                                   "結果を表示することはできません";
}

void TestFrmMainResults::checksInOrder()
{
    QFETCH(QString, lengthText);
    QFETCH(float, refPixels);
    QFETCH(int, points);
    QFETCH(QString, message);
    plot(3);
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdSpd->click();
    QPointer<QWidget> first = m_main->results().speedWindow();
    QVERIFY(first);

    plot(points);
    measurementState().RefLengthPixels = refPixels;
    m_main->txtLengthValue->setText(lengthText);
    m_main->cmdSpd->click();
    QCOMPARE(m_platform->prompts->texts(), QStringList{message});
    // The command's own window was closed first; none took its place.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);
    QVERIFY(!m_main->results().speedWindow());
}

void TestFrmMainResults::sameFrameIsReportedNotOpened()
{
    plot(4, 3); // points 2 and 3 both on frame 3
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdDis->click();
    QCOMPARE(m_platform->prompts->shown.size(), 1);
    QVERIFY(m_platform->prompts->lastText().contains(QStringLiteral("同じコマ（3）")));
    QVERIFY(!m_main->results().distanceWindow());
}

void TestFrmMainResults::freshWindowPerCommand()
{
    plot(3);
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->mnuViewResult1->trigger();
    m_main->cmdDis->click();
    auto *speed = qobject_cast<frmResult1 *>(m_main->results().speedWindow().data());
    auto *distance = qobject_cast<frmResult2 *>(m_main->results().distanceWindow().data());
    QVERIFY(speed && distance);
    QVERIFY(speed->isVisible() && distance->isVisible());
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(!speed->Picture3->pixmap().isNull());
    QCOMPARE(speed->results().count, 3);

    // A second opening replaces the speed window; the distance one stays.
    QPointer<frmResult1> old(speed);
    m_main->mnuViewResult1->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!old);
    QVERIFY(m_main->results().speedWindow());
    QCOMPARE(m_main->results().distanceWindow().data(), static_cast<QWidget *>(distance));
}

void TestFrmMainResults::pictureKeepsTheVideosShape_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("16:9") << int(ClipKind::CircleWide);
    QTest::newRow("upright phone video") << int(ClipKind::CirclePortrait);
}

void TestFrmMainResults::pictureKeepsTheVideosShape()
{
    QFETCH(int, kind);
    const QString clip = ClipMaker::path(ClipKind(kind));
    QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
    m_platform->fileDialogs->openNames << clip;
    m_main->mnuFileOpen->trigger();
    QVERIFY(m_main->state().VideoOpen);
    // Points off the picture: the disc of the video is all that is dark.
    plot(3);
    for (int r = 1; r <= 3; ++r)
        measurementState().PointTable[r][3] = 2000;
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdSpd->click();
    m_main->cmdDis->click();
    auto *speed = qobject_cast<frmResult1 *>(m_main->results().speedWindow().data());
    auto *distance = qobject_cast<frmResult2 *>(m_main->results().distanceWindow().data());
    QVERIFY(speed && distance);

    // The picture region is a little wider than 4:3; the preview is scaled
    // into it evenly, so the disc stays round to a pixel.
    const QRect disc = darkArea(speed->Picture3);
    QVERIFY(disc.height() > 40);
    QVERIFY2(qAbs(disc.width() - disc.height()) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(disc.width()).arg(disc.height())));
    // ... and sits in the middle, as in the video.
    const QSizeF picture = speed->Picture3->pixmap().deviceIndependentSize();
    QVERIFY(qAbs(QRectF(disc).center().x() - picture.width() / 2) <= 1.0);
    QVERIFY(qAbs(QRectF(disc).center().y() - picture.height() / 2) <= 1.0);

    // The distance window's picture is taken 150 twips (10 pixels) higher:
    // the disc sits that much lower in it, scaled like the rest.
    const QRect lower = darkArea(distance->Picture3);
    const double shift = 10.0 * (2355 / 15) / previewBox().height();
    const QRectF moved = QRectF(disc).translated(0, shift);
    QVERIFY2(qAbs(QRectF(lower).center().y() - moved.center().y()) <= 1.0 &&
                 qAbs(lower.left() - disc.left()) <= 1 && qAbs(lower.width() - disc.width()) <= 1,
             qPrintable(QStringLiteral("(%1, %2) -> (%3, %4)")
                            .arg(disc.left())
                            .arg(disc.top())
                            .arg(lower.left())
                            .arg(lower.top())));
}

void TestFrmMainResults::fourByThreeVideoFillsThePicture()
{
    // A 4:3 video fills the picture region: its picture is as it always was.
    QImage rendered(previewBox(), QImage::Format_RGB32);
    rendered.fill(Qt::darkGreen);
    QCOMPARE(results::previewPicture(rendered, previewBox(), 0, Qt::white), rendered);
}

// With camera-shake correction on, the picture shows "基準" beside the last
// reference point, as the preview does.
void TestFrmMainResults::pictureShowsTheKijunLabel()
{
    const QString clip = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
    m_platform->fileDialogs->openNames << clip;
    m_main->mnuFileOpen->trigger();
    m_main->mnuSystemChenge->trigger(); // answered yes
    QVERIFY(m_main->state().ShakeCorrectionOn);
    plot(3);
    for (int r = 1; r <= 3; ++r) {
        measurementState().PointTable[r][4] = qint16(300 + 10 * r);
        measurementState().PointTable[r][5] = 200;
    }
    m_main->digitizing().prepareMarkers();
    m_main->txtLengthValue->setText(QStringLiteral("10"));
    m_main->cmdSpd->click();
    auto *speed = qobject_cast<frmResult1 *>(m_main->results().speedWindow().data());
    QVERIFY(speed);

    QLabel *kijun = m_main->lblKijun;
    QVERIFY(kijun->isVisibleTo(m_main->picPreview));
    QCOMPARE(kijun->pos(), QPoint(340, 200));
    const QImage label = kijun->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(speed->preview().copy(kijun->geometry()).convertToFormat(QImage::Format_RGB32), label);
}

void TestFrmMainResults::closingOrder_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("order");
    const QStringList speedFirst{"speed", "distance", "components"};
    QTest::newRow("quit") << "quit" << speedFirst;
    QTest::newRow("camera-shake switch") << "shake" << speedFirst;
    QTest::newRow("erase all") << "erase" << QStringList{"distance", "speed", "components"};
}

void TestFrmMainResults::closingOrder()
{
    QFETCH(QString, command);
    QFETCH(QStringList, order);
    CloseRecorder recorder;
    m_main->results().speedWindow() = recorder.window(QStringLiteral("speed"));
    m_main->results().distanceWindow() = recorder.window(QStringLiteral("distance"));
    m_main->results().componentsWindow() = recorder.window(QStringLiteral("components"));
    if (command == QLatin1String("quit"))
        QVERIFY(m_main->close()); // answered yes
    else if (command == QLatin1String("shake"))
        m_main->mnuSystemChenge->trigger();
    else
        m_main->mnuEditAll->trigger();
    QCOMPARE(recorder.closed, order);
}

QTEST_MAIN(TestFrmMainResults)
#include "tst_frmMain_results.moc"
