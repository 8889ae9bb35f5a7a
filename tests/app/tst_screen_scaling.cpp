// The main window and a result window on a screen scaled to 150 %: the
// controls keep their sizes in logical pixels, the video frame and the result
// window's small picture carry the screen's pixels, the plotting pointer is
// scaled with the window, and clicks still plot in preview pixels.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"
#include "results/frmResult1.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QtTest>
#include <memory>

namespace {
constexpr qreal kScale = 1.5;
}

class tst_screen_scaling : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;

    frmMain &w() { return *m_window; }

private slots:
    void init();
    void cleanup();

    void previewFrameHasScreenPixels();
    void renderedPictureKeepsMarkersInPlace();
    void resultPictureHasScreenPixels();
};

void tst_screen_scaling::init()
{
    resetMeasurementState();
    m_platform = std::make_unique<TestPlatform>();
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Without the scale in effect every check below would pass trivially.
    QCOMPARE(m_window->devicePixelRatioF(), kScale);
}

void tst_screen_scaling::cleanup()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_platform.reset();
}

void tst_screen_scaling::previewFrameHasScreenPixels()
{
    const QString file = ClipMaker::path(ClipKind::Wide16x9);
    QVERIFY2(!file.isEmpty(), qPrintable(ClipMaker::lastError()));
    QVERIFY(w().video().openVideoFile(file));

    // The preview keeps its size in logical pixels: 16:9 in the 640 x 480 box.
    QCOMPARE(w().picPreview->size(), QSize(640, 360));
    QImage frame = w().picPreview->frame();
    QCOMPARE(frame.size(), QSize(960, 540));
    QCOMPARE(frame.devicePixelRatio(), kScale);
    QCOMPARE(frame.deviceIndependentSize(), QSizeF(640, 360));
    QCOMPARE(readFrameNumber(frame), 0);

    // A later frame, rendered by the refresh tick, comes at the same density.
    w().ctrlSlider->setValue(7);
    QVERIFY(QTest::qWaitFor([] { return !measurementState().FrameRefreshPending; }, 3000));
    frame = w().picPreview->frame();
    QCOMPARE(frame.size(), QSize(960, 540));
    QCOMPARE(frame.devicePixelRatio(), kScale);
    QCOMPARE(readFrameNumber(frame), 7);

    // The plotting pointer is as large as the rest of the window, its hot
    // spot on the aimed pixel (the platform takes both in screen pixels).
    QVERIFY(QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 3000));
    const QCursor pointer = w().picPreview->cursor();
    QCOMPARE(pointer.shape(), Qt::BitmapCursor);
    QCOMPARE(pointer.pixmap().size(), QSize(48, 48));
    QCOMPARE(pointer.hotSpot(), QPoint(23, 23));
    QCOMPARE(pointer.pixmap().toImage().pixelColor(23, 23), QColor(Qt::black));

    // A click plots in preview pixels, not in screen pixels.
    QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, QPoint(600, 340));
    const MeasurementState &s = measurementState();
    QCOMPARE(int(s.PointCount), 1);
    QCOMPARE(s.PointTable[1][MeasurementState::ColFrame], 7);
    QCOMPARE(s.PointTable[1][MeasurementState::ColX], 600);
    QCOMPARE(s.PointTable[1][MeasurementState::ColY], 340);
}

void tst_screen_scaling::renderedPictureKeepsMarkersInPlace()
{
    PreviewWidget &preview = *w().picPreview;
    preview.setFixedSize(200, 100);
    QCOMPARE(preview.framePixelSize(QSize(200, 100)), QSize(300, 150));
    // An odd size rounds to whole screen pixels.
    QCOMPARE(preview.framePixelSize(QSize(427, 321)), QSize(641, 482));

    QImage frame(300, 150, QImage::Format_RGB32);
    frame.fill(Qt::blue);
    preview.setFrame(frame);
    preview.setOverlayPainter([](QPainter &painter) {
        painter.fillRect(QRect(100, 50, 10, 10), Qt::red); // preview pixels
    });

    const QImage picture = preview.renderedPicture();
    QCOMPARE(picture.size(), QSize(300, 150));
    QCOMPARE(picture.devicePixelRatio(), kScale);
    // The frame fills the picture, not its top-left two thirds.
    QCOMPARE(QColor(picture.pixel(295, 145)), QColor(Qt::blue));
    // The overlay lands at 1.5 times its preview position.
    QCOMPARE(QColor(picture.pixel(157, 82)), QColor(Qt::red));
    QCOMPARE(QColor(picture.pixel(145, 70)), QColor(Qt::blue));
    QCOMPARE(QColor(picture.pixel(167, 82)), QColor(Qt::blue));

    // A frame of the widget's own size (as before the screen changed) is
    // still drawn to fill the preview.
    QImage small(200, 100, QImage::Format_RGB32);
    small.fill(Qt::green);
    preview.setFrame(small);
    QCOMPARE(preview.frame().devicePixelRatio(), 1.0);
    QCOMPARE(QColor(preview.renderedPicture().pixel(295, 145)), QColor(Qt::green));
}

void tst_screen_scaling::resultPictureHasScreenPixels()
{
    MeasurementState &s = measurementState();
    s.FrameRate = 30;
    s.RefLengthPixels = 10;
    s.RefLengthValue = 1;
    s.LengthUnit = QStringLiteral("cm");
    for (int r = 1; r <= 3; ++r) {
        s.PointTable[r][0] = r;
        s.PointTable[r][1] = 3 * (r - 1);
        s.PointTable[r][2] = 30 * (r - 1);
        s.PointTable[r][3] = 100;
    }
    s.PointCount = 3;

    auto *window = new frmResult1(&w());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    std::unique_ptr<frmResult1> owner(window);
    QImage preview(960, 720, QImage::Format_RGB32);
    preview.setDevicePixelRatio(kScale);
    preview.fill(Qt::darkGreen);
    window->setPreview(preview);
    QVERIFY(window->load().ok());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // The box keeps its logical size; its picture has the screen's pixels.
    QCOMPARE(window->Picture3->geometry().size(), QSize(225, 161));
    const QPixmap shown = window->Picture3->pixmap();
    QCOMPARE(shown.size(), QSize(332, 236));
    QCOMPARE(shown.devicePixelRatio(), kScale);
    QCOMPARE(shown.deviceIndependentSize().toSize(), QSize(221, 157));
}

int main(int argc, char *argv[])
{
    // Every window of this test is on a screen scaled to 150 %.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(kScale));
    QApplication app(argc, argv);
    tst_screen_scaling test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screen_scaling.moc"
