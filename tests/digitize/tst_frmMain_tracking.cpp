// "自動追跡" in the main window on generated clips of a ball whose centre is
// known on every frame: a whole clip followed, a small ball crossing a bright
// striped bar, a ball 70 pixels a frame apart, the ball lost behind a box,
// stopping by the button and by Esc, camera-shake correction with its
// reference point followed too, and the teacher's setting that hides the
// command.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/recovery_file.h"
#include "datafile/recovery_part.h"
#include "datafile/recovery_store.h"
#include "digitize/digitizing_part.h"
#include "digitize/marker_set.h"
#include "digitize/tracking_part.h"
#include "recording_platform.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <cmath>

using MS = MeasurementState;
using Stop = TrackingPart::Stop;

namespace {

BallScene hidden()
{
    BallScene s;
    s.size = {640, 480};
    s.frames = 30;
    s.radius = 10;
    s.path = [](double t) { return QPointF(45.5 + 500 * t, 240.5); };
    s.obstacle = QRectF(360, 150, 120, 180);
    return s;
}

// A small light ball on a dark cloth, crossing in front of a bright striped bar.
BallScene acrossTheBar()
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = 30;
    s.frames = 19;
    s.radius = 3.7;
    s.wall = QColor(20, 19, 24);
    s.ball = QColor(232, 230, 210);
    s.noise = 4;
    s.exposure = 0.5;
    s.stick = QRectF(272, 47, 12, 399);
    s.path = [](double t) {
        return QPointF(130.4 + 690 * t, 206.3 - 1000 * t + 0.5 * 9.8 * 399 * t * t);
    };
    return s;
}

// 15 frames a second, 70 pixels from one frame to the next.
BallScene fast()
{
    BallScene s;
    s.size = {640, 480};
    s.framesPerSecond = 15;
    s.frames = 8;
    s.radius = 7;
    s.noise = 2;
    s.path = [](double t) { return QPointF(50.5 + 70 * 15 * t, 380.2 - 900 * t + 1200 * t * t); };
    return s;
}

BallScene shaking()
{
    BallScene s = thrownBall();
    s.frames = 25;
    s.mark = QPointF(560.5, 80.5);
    s.shake = [](int f) {
        return QPointF(std::round(4 * std::sin(f * 1.7)), std::round(3 * std::cos(f * 2.3)));
    };
    return s;
}

// The preview pixel holding a position: where an exact click lands.
QPoint pixelOf(QPointF p)
{
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

// Distance from the middle of a plotted pixel to a true position.
double errorOf(int x, int y, QPointF truth)
{
    return std::hypot(x + 0.5 - truth.x(), y + 0.5 - truth.y());
}

} // namespace

class tst_frmMain_tracking : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;

    frmMain &w() { return *m_window; }

    bool open(const QString &name, const BallScene &scene)
    {
        const QString clip = motionJpegClip(QStringLiteral("tracking_") + name, scene);
        return !clip.isEmpty() && w().video().openVideoFile(clip) && pauseOver();
    }
    bool pauseOver()
    {
        return QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 3000);
    }
    void click(QPointF at) { QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, pixelOf(at)); }
    bool trackToTheEnd()
    {
        w().cmdTrack->click();
        return w().state().Tracking &&
               QTest::qWaitFor([this] { return !w().state().Tracking; }, 60000);
    }
    // Lets tracking run until `points` are plotted, one step at a time.
    bool runUntil(int points)
    {
        for (int i = 0; i < 100000 && w().state().Tracking; ++i) {
            if (measurementState().PointCount >= points)
                return true;
            QCoreApplication::processEvents();
        }
        return false;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void followsTheBallOverTheWholeClip()
    {
        const BallScene scene = thrownBall();
        QVERIFY2(open("thrown", scene), qPrintable(ClipMaker::lastError()));
        QVERIFY(!w().cmdTrack->isEnabled()); // nothing plotted yet
        w().txtRate->setText("2");
        click(scene.centre(0));
        // The click moved on by the interval; tracking goes on from there.
        QCOMPARE(w().ctrlSlider->value(), 2);
        QVERIFY(w().cmdTrack->isEnabled());
        const int writesBefore = w().recovery().writesAsked();
        QElapsedTimer tracking;
        tracking.start();
        w().cmdTrack->click();
        QCOMPARE(w().cmdTrack->text(), QStringLiteral("追跡停止"));
        QVERIFY(!w().cmdStep->isEnabled());
        QVERIFY(!w().mnuFileOpen->isEnabled());
        QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 60000));
        // The recovery file follows at most once a second, and once at the end.
        QVERIFY(w().recovery().writesAsked() - writesBefore <= 2 + tracking.elapsed() / 1000);
        w().recovery().store().waitUntilDone();
        const recovery::Snapshot saved =
            recovery::readFile(w().recovery().store().filePath()).snapshot;
        QCOMPARE(saved.pointCount, qint16(20));
        // Each point knows how it was made: the first clicked, the rest
        // tracked, with their scores; their markers tell them apart.
        QCOMPARE(saved.trackedScores.size(), 19);
        QVERIFY(!saved.trackedScores.contains(0) && saved.trackedScores.contains(38));
        QCOMPARE(saved.trackedScores, measurementState().TrackedScores);
        QVERIFY(!w().digitizing().markers().marker(1)[PointMarker::Inner].dashed);
        QVERIFY(w().digitizing().markers().marker(20)[PointMarker::Inner].dashed);

        // Frames 0, 2, ... 38, each within a pixel of the ball; position 40,
        // past the last frame, gets no point.
        const MS &m = measurementState();
        QCOMPARE(m.PointCount, qint16(20));
        for (int row = 1; row <= m.PointCount; ++row) {
            const int frame = m.PointTable[row][MS::ColFrame];
            QCOMPARE(frame, 2 * (row - 1));
            QVERIFY2(errorOf(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY],
                             scene.centre(frame)) <= 1.0,
                     qPrintable(QString::number(frame)));
        }
        QCOMPARE(w().tracking().lastStop(), Stop::LastFrame);
        QCOMPARE(w().ctrlSlider->value(), 40);
        QCOMPARE(w().lblCurrentFrameValue->text(), QStringLiteral("40"));
        QCOMPARE(w().digitizing().markers().count(), 20);
        // Finished, not failed: 19 points after the click.
        QCOMPARE(m_platform->prompts->texts().size(), 1);
        const QStringList lines = m_platform->prompts->texts().constFirst().split('\n');
        QCOMPARE(lines.mid(0, 2), (QStringList{QStringLiteral("自動追跡を終えました（19点）。"),
                                               QStringLiteral("映像の終わりまで追跡しました。")}));
        QVERIFY2(
            lines.value(2).startsWith(QStringLiteral("追跡した点の一致度は、最も低いもので 0.")),
            qPrintable(lines.value(2)));
        QCOMPARE(w().cmdTrack->text(), QStringLiteral("自動追跡"));
        QVERIFY(w().cmdStep->isEnabled());
    }

    void neverPlotsOnABrightBar()
    {
        const BallScene scene = acrossTheBar();
        QVERIFY2(open("stick", scene), qPrintable(ClipMaker::lastError()));
        click(scene.centre(0));
        QVERIFY(trackToTheEnd());
        const MS &m = measurementState();
        QList<int> plotted;
        for (int row = 1; row <= m.PointCount; ++row) {
            const int frame = m.PointTable[row][MS::ColFrame];
            plotted.append(frame);
            QVERIFY2(errorOf(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY],
                             scene.centre(frame)) <= 1.0,
                     qPrintable(QString::number(frame)));
        }
        // Frames without a point only where the ball is in front of the bar
        // or beside it; tracking goes on to the end, or stops on the first
        // of them with the message.
        const QRectF beside = scene.stick->adjusted(-12, 0, 12, 0);
        const Stop stop = w().tracking().lastStop();
        const int end = stop == Stop::Lost ? w().ctrlSlider->value() : scene.frames;
        for (int frame = 0; frame < end; ++frame)
            QVERIFY2(plotted.contains(frame) || beside.contains(scene.centre(frame)),
                     qPrintable(QString::number(frame)));
        if (stop == Stop::Lost) {
            QVERIFY(!plotted.contains(end) && plotted.contains(end - 1));
            QCOMPARE(m_platform->prompts->texts(),
                     QStringList{TrackingPart::lostMessage() + w().tracking().scoreLine()});
        } else {
            QCOMPARE(stop, Stop::LastFrame);
            QVERIFY(plotted.contains(scene.frames - 1));
        }
    }

    void followsSeventyPixelsAFrameFromOneClick()
    {
        const BallScene scene = fast();
        QVERIFY2(open("fast", scene), qPrintable(ClipMaker::lastError()));
        click(scene.centre(0));
        QVERIFY(trackToTheEnd());
        QCOMPARE(w().tracking().lastStop(), Stop::LastFrame);
        const MS &m = measurementState();
        QCOMPARE(m.PointCount, qint16(scene.frames));
        for (int row = 1; row <= m.PointCount; ++row) {
            QCOMPARE(m.PointTable[row][MS::ColFrame], row - 1);
            QVERIFY2(errorOf(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY],
                             scene.centre(row - 1)) <= 1.0,
                     qPrintable(QString::number(row - 1)));
        }
    }

    void stopsWhereTheBallIsHidden()
    {
        const BallScene scene = hidden();
        QVERIFY2(open("hidden", scene), qPrintable(ClipMaker::lastError()));
        measurementState().ClickAction = 0;
        click(scene.centre(0));
        QVERIFY(trackToTheEnd());
        // Frame 15 shows all of the ball, frame 16 a third of it.
        QVERIFY(scene.hiddenFraction(15) == 0 && scene.hiddenFraction(16) > 0.5);
        QCOMPARE(w().tracking().lastStop(), Stop::Lost);
        QCOMPARE(w().ctrlSlider->value(), 16);
        // The message ends with the lowest score of the points plotted.
        QCOMPARE(m_platform->prompts->texts().size(), 1);
        QCOMPARE(m_platform->prompts->lastText(),
                 QStringLiteral("見失いました。この先は、クリックで印をつけて下さい。\n"
                                "追跡した点の一致度は、最も低いもので %1 でした。")
                     .arg(w().tracking().lowestScore(), 0, 'f', 2));
        QVERIFY(w().tracking().lowestScore() > 0.8);
        const MS &m = measurementState();
        QCOMPARE(m.PointCount, qint16(16));
        QCOMPARE(m.PointTable[16][MS::ColFrame], 15);
        // Clicked there, tracking can go on from that point.
        QVERIFY(pauseOver());
        click(scene.centre(16) + QPointF(0, -100));
        QVERIFY(w().cmdTrack->isEnabled());
    }

    void aTurningWheelsTyreIsNeverTheSticker()
    {
        // A sticker on a turning wheel: every point on the sticker, or the
        // message; never one on the tyre or the spokes.
        const BallScene scene = stickerOnWheel(640, 24);
        QVERIFY2(open("wheel", scene), qPrintable(ClipMaker::lastError()));
        measurementState().ClickAction = 0;
        click(scene.centre(0));
        QVERIFY(trackToTheEnd());
        const MS &m = measurementState();
        for (int row = 2; row <= m.PointCount; ++row) {
            const int frame = m.PointTable[row][MS::ColFrame];
            QVERIFY2(errorOf(m.PointTable[row][MS::ColX], m.PointTable[row][MS::ColY],
                             scene.centre(frame)) <= 3.0,
                     qPrintable(QString::number(frame)));
        }
        if (w().tracking().lastStop() == Stop::Lost)
            QVERIFY(m_platform->prompts->lastText().startsWith(TrackingPart::lostMessage()));
        else
            QCOMPARE(m.PointCount, qint16(scene.frames));
    }

    void stopsByTheButtonAndByEsc()
    {
        const BallScene scene = thrownBall();
        QVERIFY2(open("thrown", scene), qPrintable(ClipMaker::lastError()));
        click(scene.centre(0));
        // One step each time the event loop turns, as on a slow computer.
        w().tracking().setSliceMilliseconds(0);
        w().cmdTrack->click();
        QVERIFY(runUntil(4));
        w().cmdTrack->click();
        QVERIFY(!w().state().Tracking);
        QCOMPARE(w().tracking().lastStop(), Stop::ByUser);
        QCOMPARE(measurementState().PointCount, qint16(4));
        QTest::qWait(50);
        QCOMPARE(measurementState().PointCount, qint16(4));

        // Again from where it stopped, then Esc.
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        w().cmdTrack->click();
        QVERIFY(runUntil(6));
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(!w().state().Tracking);
        QCOMPARE(w().tracking().lastStop(), Stop::ByUser);
        const MS &m = measurementState();
        QCOMPARE(m.PointCount, qint16(6));
        for (int row = 1; row <= m.PointCount; ++row)
            QCOMPARE(m.PointTable[row][MS::ColFrame], row - 1);
        QVERIFY(m_platform->prompts->shown.isEmpty());
    }

    void cameraShakeCorrectionFollowsTheReferenceToo()
    {
        const BallScene scene = shaking();
        QVERIFY2(open("shaking", scene), qPrintable(ClipMaker::lastError()));
        w().mnuSystemChenge->trigger();
        QVERIFY(w().state().ShakeCorrectionOn);
        click(scene.centre(0));
        QVERIFY(!w().cmdTrack->isEnabled()); // the reference point is still to come
        click(scene.markAt(0));
        QVERIFY(trackToTheEnd());
        QCOMPARE(w().tracking().lastStop(), Stop::LastFrame);

        const MS &m = measurementState();
        QCOMPARE(m.PointCount, qint16(scene.frames));
        for (int row = 1; row <= m.PointCount; ++row) {
            const int frame = m.PointTable[row][MS::ColFrame];
            QCOMPARE(frame, row - 1);
            const auto &r = m.PointTable[row];
            QVERIFY(errorOf(r[MS::ColRefX], r[MS::ColRefY], scene.markAt(frame)) <= 1.0);
            // The ball where it is in the scene, the camera's movement taken out.
            const QPointF still = scene.centre(frame) - scene.markAt(frame) + scene.markAt(0);
            QVERIFY2(errorOf(r[MS::ColX], r[MS::ColY], still) <= 1.5,
                     qPrintable(QString::number(frame)));
        }
    }

    void teachersSettingHidesTheButton()
    {
        QVERIFY(!w().cmdTrack->isHidden());
        measurementState().TrackingPermission = 1;
        w().settingsApplied();
        QVERIFY(w().cmdTrack->isHidden());
        measurementState().TrackingPermission = 0;
        w().settingsApplied();
        QVERIFY(!w().cmdTrack->isHidden());
    }
};

QTEST_MAIN(tst_frmMain_tracking)
#include "tst_frmMain_tracking.moc"
