// The strobe picture window through the main window: when the command is
// usable, the picture at the video's resolution and its choices, saving,
// copying and printing it, closing it while it builds, and the FFmpeg decoder
// of its own on a real clip.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/measurement_state.h"
#include "print_doubles.h"
#include "printhelp/print_job.h"
#include "recording_platform.h"
#include "results/frmStrobe.h"
#include "results/strobe_builder.h"
#include "results/strobe_part.h"
#include "strobe_scene.h"
#include "video/video_part.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

class tst_frmStrobe : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_main;
    StrobeScene m_scene;
    int m_delayMs = 0;

    frmMain &w() { return *m_main; }
    frmStrobe *window() { return qobject_cast<frmStrobe *>(w().strobe().strobeWindow().data()); }
    // The scene's ball plotted on `count` frames from frame 2, every other
    // frame, where a click on its centre puts it.
    void plot(int count)
    {
        MeasurementState &s = measurementState();
        const double scale = m_scene.size.width() / 640.0;
        for (int i = 0; i < count; ++i) {
            const int frame = 2 + 2 * i;
            const QPointF c = m_scene.centre(frame);
            auto &row = s.PointTable[i + 1];
            row[MeasurementState::ColNumber] = i + 1;
            row[MeasurementState::ColFrame] = frame;
            row[MeasurementState::ColX] = qRound((c.x() + 0.5) / scale - 0.5);
            row[MeasurementState::ColY] = qRound((c.y() + 0.5) / scale - 0.5);
        }
        s.PointCount = qint16(count);
        w().applyControlStates();
    }
    void openScene() { QVERIFY(w().video().openVideoFile(QStringLiteral("scene.avi"))); }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_scene = StrobeScene();
        m_scene.size = QSize(960, 720); // 1.5 picture pixels to a preview pixel
        m_delayMs = 0;
        platform().frameSources = [this] {
            auto source = std::make_unique<SceneFrameSource>(m_scene);
            source->delayMs = m_delayMs;
            return source;
        };
        m_main = std::make_unique<frmMain>();
    }
    void cleanup()
    {
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        QCOMPARE(strobe::Builder::threadsRunning(), 0);
    }

    void commandUsable_data()
    {
        QTest::addColumn<bool>("video");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("usable");
        QTest::addRow("video, no point") << true << 0 << false;
        QTest::addRow("video, one point") << true << 1 << false;
        QTest::addRow("video, two points") << true << 2 << true;
        // A measurement loaded without a video.
        QTest::addRow("points, no video") << false << 5 << false;
    }
    void commandUsable()
    {
        QFETCH(bool, video);
        QFETCH(int, points);
        QFETCH(bool, usable);
        QCOMPARE(w().mnuViewStrobe->text(), QStringLiteral("ストロボ写真(&T)"));
        if (video)
            openScene();
        plot(points);
        QCOMPARE(w().mnuViewStrobe->isEnabled(), usable);
    }

    void buildsAtFullSizeAndFollowsChoices()
    {
        openScene();
        plot(14);
        w().mnuViewStrobe->trigger();
        frmStrobe *strobe = window();
        QVERIFY(strobe);
        QCOMPARE(strobe->windowTitle(), QStringLiteral("キネモ　－ストロボ写真－"));
        QVERIFY(strobe->waitUntilBuilt(30000));
        const QImage every = strobe->picture();
        QCOMPARE(every.size(), m_scene.size);
        QVERIFY(strobe->mnuFileSave->isEnabled());

        strobe->cmbInterval->setCurrentIndex(2); // every 3rd point
        const QImage third = strobe->picture();
        QVERIFY(third != every);
        // The ball of the second point (frame 4) is gone, its first stays.
        const QPointF second = m_scene.centre(4), first = m_scene.centre(2);
        const auto at = [](const QImage &i, QPointF p) { return i.pixelColor(p.toPoint()); };
        QCOMPARE(at(every, second), QColor(250, 120, 20));
        QVERIFY(at(third, second) != QColor(250, 120, 20));
        QCOMPARE(at(third, first), QColor(250, 120, 20));
        strobe->chkMarkers->setChecked(true);
        QVERIFY(strobe->picture() != third);
        QCOMPARE(strobe->picture().size(), m_scene.size);
    }

    void savesCopiesAndPrints()
    {
        auto printer = std::make_shared<PdfPrinter>();
        platform().printer = printer;
        openScene();
        plot(6);
        w().mnuViewStrobe->trigger();
        QVERIFY(window() && window()->waitUntilBuilt(30000));

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("strobe.png"));
        m_platform->fileDialogs->saveNames.enqueue(file);
        window()->mnuFileSave->trigger();
        QCOMPARE(m_platform->fileDialogs->filtersSeen.value(0), QStringLiteral("PNG画像(*.png)"));
        const QImage saved(file);
        QCOMPARE(saved.size(), m_scene.size);
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB888), window()->picture());

        window()->mnuEditCopy->trigger();
        QCOMPARE(m_platform->clipboard->image, window()->picture());

        window()->mnuFilePrint->trigger();
        QCOMPARE(m_platform->prompts->lastText(), printtexts::insertB5Paper());
        QCOMPARE(printer->pages.size(), 1);
        QCOMPARE(printer->lastPicture.size(), m_scene.size);
    }

    void printFollowsVideoPermission_data()
    {
        QTest::addColumn<int>("permission");
        QTest::addColumn<bool>("allowed");
        QTest::addRow("both") << 0 << true;
        QTest::addRow("video only") << 1 << true;
        QTest::addRow("results only") << 2 << false;
        QTest::addRow("none") << 3 << false;
    }
    void printFollowsVideoPermission()
    {
        QFETCH(int, permission);
        QFETCH(bool, allowed);
        openScene();
        plot(3);
        measurementState().PrintPermission = qint16(permission);
        w().mnuViewStrobe->trigger();
        QVERIFY(window() && window()->waitUntilBuilt(30000));
        QCOMPARE(window()->mnuFilePrint->isEnabled(), allowed);
    }

    void closingWhileBuildingStopsTheThread()
    {
        openScene();
        plot(20);
        m_delayMs = 50; // a second or more to build
        w().mnuViewStrobe->trigger();
        QPointer<frmStrobe> strobe = window();
        QVERIFY(strobe);
        QTRY_VERIFY(strobe->prgBuild->value() >= 1);
        QVERIFY(!strobe->built());
        QCOMPARE(strobe::Builder::threadsRunning(), 1);
        strobe->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(strobe.isNull());
        QCOMPARE(strobe::Builder::threadsRunning(), 0);
        // The main window goes on as before.
        QVERIFY(w().mnuViewStrobe->isEnabled());
    }

    // The program's own decoder on an encoded clip, beside the main window's.
    void realClipWithItsOwnDecoder()
    {
        platform().frameSources = nullptr;
        const QString clip = motionJpegClip(QStringLiteral("strobe_thrown"), thrownBall());
        QVERIFY(!clip.isEmpty());
        QVERIFY(w().video().openVideoFile(clip));
        MeasurementState &s = measurementState();
        const BallScene ball = thrownBall();
        for (int i = 0; i < 8; ++i) {
            const QPointF c = ball.centre(3 + 4 * i);
            s.PointTable[i + 1][MeasurementState::ColNumber] = i + 1;
            s.PointTable[i + 1][MeasurementState::ColFrame] = 3 + 4 * i;
            s.PointTable[i + 1][MeasurementState::ColX] = int(c.x());
            s.PointTable[i + 1][MeasurementState::ColY] = int(c.y());
        }
        s.PointCount = 8;
        w().applyControlStates();
        w().mnuViewStrobe->trigger();
        QVERIFY(window() && window()->waitUntilBuilt(30000));
        const QImage picture = window()->picture();
        QCOMPARE(picture.size(), QSize(640, 480));
        // Every copy of the ball is there, in its colour.
        for (int i = 0; i < 8; ++i) {
            const QColor c = picture.pixelColor(ball.centre(3 + 4 * i).toPoint());
            QVERIFY2(c.red() > 180 && c.blue() < 90, qPrintable(c.name()));
        }
    }
};

QTEST_MAIN(tst_frmStrobe)
#include "tst_frmStrobe.moc"
