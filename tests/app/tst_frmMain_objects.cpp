// Several objects in one video through the real main window: choosing Ｂ
// with result windows open, erasing one object or all, tracking Ｂ while Ａ
// has points, a recovery and a measurement file of two objects, and the
// momentum window with its masses.

#include "app/frmMain.h"
#include "ball_scene.h"
#include "base/measurement_objects.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "datafile/recovery_part.h"
#include "datafile/recovery_store.h"
#include "digitize/digitizing_part.h"
#include "digitize/marker_set.h"
#include "recording_platform.h"
#include "results/frmMomentum.h"
#include "results/frmResult1.h"
#include "results/results_part.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using MS = MeasurementState;

class tst_frmMain_objects : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<frmMain> m_window;
    QString m_clip;

    frmMain &w() { return *m_window; }
    RecordingPrompts &prompts() { return *m_platform->prompts; }

    void start()
    {
        m_window = std::make_unique<frmMain>();
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    bool pauseOver()
    {
        return QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 3000);
    }
    bool openClip()
    {
        if (!w().video().openVideoFile(m_clip) || !pauseOver())
            return false;
        measurementState().ClickAction = 0;
        return true;
    }
    void choose(int object)
    {
        w().cmbObject->setCurrentIndex(object);
        emit w().cmbObject->activated(object);
    }
    // `count` points of the chosen object on frames 0, 2, 4 ..., moving
    // right by `step` pixels a frame from `x`.
    bool plot(int count, int x, int step)
    {
        for (int i = 0; i < count; ++i) {
            w().ctrlSlider->setValue(2 * i);
            if (!pauseOver())
                return false;
            QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, QPoint(x + 2 * i * step, 200));
        }
        return true;
    }
    // 500 pixels are 1 m.
    void setLength()
    {
        w().cmdLength->click();
        QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, QPoint(50, 50));
        QTest::mouseClick(w().picPreview, Qt::LeftButton, {}, QPoint(350, 450));
        w().txtLengthValue->setText(QStringLiteral("1"));
        w().cmbTanni->setCurrentText(QStringLiteral("m"));
        w().cmdLength->click();
    }
    // Ａ with five points, Ｂ with four, the length set, Ｂ chosen.
    bool twoObjects()
    {
        if (!openClip() || !plot(5, 100, 10))
            return false;
        choose(1);
        if (!plot(4, 300, 5))
            return false;
        setLength();
        return pauseOver();
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<TestPlatform>();
        m_clip = ClipMaker::path(ClipKind::AviMjpeg25);
        QVERIFY2(!m_clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        start();
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void switchingWithResultWindowsOpen()
    {
        QVERIFY(openClip());
        QVERIFY(plot(5, 100, 10));
        setLength();
        QVERIFY(pauseOver());
        w().cmdSpd->click();
        QPointer<QWidget> speed = w().results().speedWindow();
        QVERIFY(speed);
        // One object: the title as it always was.
        QCOMPARE(speed->windowTitle(), QStringLiteral("キネモ　－結果表示　時間と速さの関係－"));

        // Ｂ has no points yet: the window of Ａ's results closes.
        choose(1);
        QTRY_VERIFY(!speed);
        QCOMPARE(measurementState().PointCount, qint16(0));
        QCOMPARE(w().digitizing().markers().count(), 0);
        QVERIFY(!w().cmdTrack->isEnabled());
        QVERIFY(plot(4, 300, 5));
        w().cmdSpd->click();
        speed = w().results().speedWindow();
        QVERIFY(speed);
        QCOMPARE(speed->windowTitle(),
                 QStringLiteral("キネモ　－結果表示　時間と速さの関係－（物体Ｂ）"));
        QCOMPARE(qobject_cast<frmResult1 *>(speed.data())->results().count, 4);

        // Back to Ａ: the same window shows Ａ.
        choose(0);
        QVERIFY(speed);
        QCOMPARE(speed->windowTitle(),
                 QStringLiteral("キネモ　－結果表示　時間と速さの関係－（物体Ａ）"));
        QCOMPARE(qobject_cast<frmResult1 *>(speed.data())->results().count, 5);
        QCOMPARE(w().digitizing().markers().count(), 5);
        QCOMPARE(w().digitizing().markers().marker(1)[PointMarker::Inner].border,
                 QColor(Qt::black));
        QVERIFY(prompts().shown.isEmpty());
    }

    void eraseWithSeveralObjects_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("left"); // points of Ａ and Ｂ after
        QTest::addColumn<bool>("lengthStays");
        QTest::newRow("the chosen object") << int(Prompts::Answer::Yes) << QList<int>{5, 0} << true;
        QTest::newRow("all objects") << int(Prompts::Answer::No) << QList<int>{0, 0} << false;
        QTest::newRow("cancelled") << int(Prompts::Answer::Cancel) << QList<int>{5, 4} << true;
    }
    void eraseWithSeveralObjects()
    {
        QFETCH(int, answer);
        QFETCH(QList<int>, left);
        QFETCH(bool, lengthStays);
        QVERIFY(twoObjects());
        prompts().answers << Prompts::Answer(answer);
        w().mnuEditAll->trigger();
        QCOMPARE(prompts().lastText(),
                 QStringLiteral("打点を全部消します。\r\n「はい」：物体Ｂの打点だけを消します。\r\n"
                                "「いいえ」：すべての物体の打点を消します。"));
        QCOMPARE(prompts().shown.last().buttons, Prompts::Buttons::YesNoCancel);
        const MS &m = measurementState();
        QCOMPARE((QList<int>{objects::pointCount(m, 0), objects::pointCount(m, 1)}), left);
        QCOMPARE(m.RefLengthPixels != 0, lengthStays);
        QCOMPARE(w().digitizing().markers().count(), left[1]);

        // With one object left, the question is the one it always was.
        prompts().shown.clear();
        prompts().answers << Prompts::Answer::No;
        const bool oneLeft = objects::objectsWithPoints(m) < 2;
        w().mnuEditAll->trigger();
        QCOMPARE(prompts().lastText().startsWith(QStringLiteral("打点を全部消すと")), oneLeft);
    }

    void trackingObjectBWhileAHasPoints()
    {
        const BallScene scene = thrownBall();
        const QString clip = motionJpegClip(QStringLiteral("objects_thrown"), scene);
        QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
        QVERIFY(w().video().openVideoFile(clip));
        QVERIFY(pauseOver());
        measurementState().ClickAction = 0;
        QVERIFY(plot(3, 40, 3)); // Ａ: somewhere on the wall
        const MS a = objects::stateOf(measurementState(), 0);
        choose(1);
        w().ctrlSlider->setValue(0);
        QVERIFY(pauseOver());
        const QPointF ball = scene.centre(0);
        QTest::mouseClick(w().picPreview, Qt::LeftButton, {},
                          QPoint(int(std::floor(ball.x())), int(std::floor(ball.y()))));
        w().cmdTrack->click();
        QVERIFY(w().state().Tracking);
        QVERIFY(!w().cmbObject->isEnabled());
        QVERIFY(QTest::qWaitFor([this] { return !w().state().Tracking; }, 60000));
        const MS &m = measurementState();
        QCOMPARE(m.ChosenObject, qint16(1));
        QCOMPARE(int(m.PointCount), scene.frames);
        QVERIFY(w().cmbObject->isEnabled());
        // Ａ is as it was.
        const MS aAfter = objects::stateOf(m, 0);
        QCOMPARE(aAfter.PointCount, a.PointCount);
        QVERIFY(std::equal(&a.PointTable[0][0], &a.PointTable[0][0] + sizeof a.PointTable / 4,
                           &aAfter.PointTable[0][0]));
    }

    void recoveryWithTwoObjects()
    {
        QVERIFY(twoObjects());
        w().recovery().store().waitUntilDone();
        m_window.reset(); // the program ends without its quit
        resetMeasurementState();
        start();
        prompts().answers << Prompts::Answer::Yes;
        w().offerRecovery();
        QCOMPARE(prompts().shown.value(0).text, RecoveryPart::question(9));
        const MS &m = measurementState();
        QCOMPARE(m.ChosenObject, qint16(1));
        QCOMPARE(w().cmbObject->currentText(), QStringLiteral("Ｂ"));
        QCOMPARE(objects::pointCount(m, 0), 5);
        QCOMPARE(objects::pointCount(m, 1), 4);
        QCOMPARE(w().digitizing().markers().count(), 4);
        QCOMPARE(w().digitizing().markers().marker(1)[PointMarker::Inner].border,
                 QColor(0, 70, 255));
    }

    void measurementFileAndMomentum()
    {
        QVERIFY(twoObjects());
        w().cmdMomentum->click();
        auto *momentum = qobject_cast<frmMomentum *>(w().results().momentumWindow().data());
        QVERIFY(momentum);
        // Masses: one refused, then both taken.
        for (const auto &[box, text] :
             {std::pair{1, QStringLiteral("-3")}, std::pair{0, QStringLiteral("250")},
              std::pair{1, QStringLiteral("500")}}) {
            momentum->txtMass[box]->setText(text);
            momentum->txtMass[box]->setModified(true);
            emit momentum->txtMass[box]->editingFinished();
        }
        QCOMPARE(prompts().texts(), QStringList{results::massRefusedMessage()});
        QCOMPARE(measurementState().ObjectMass[0], 0.25);
        QCOMPARE(measurementState().ObjectMass[1], 0.5);
        // Both plotted on frames 0, 2, 4, 6: three shared intervals.
        QCOMPARE(momentum->tblMomentum->rowCount(), 3);
        QVERIFY(momentum->summary().startsWith(QStringLiteral("  衝突前の運動量の和は")));
        const QString summary = momentum->summary();

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("衝突.kinemo"));
        m_platform->fileDialogs->saveNames << file;
        w().mnuFileSaveMeasurement->trigger();
        QVERIFY(QFile::exists(file));
        QCOMPARE(m_platform->fileDialogs->suffixesSeen.last(), QStringLiteral("kinemo"));

        // Everything erased, then the file opened: both objects and their
        // masses come back, and the window shows the same.
        prompts().answers << Prompts::Answer::No;
        w().mnuEditAll->trigger();
        QCOMPARE(objects::objectsWithPoints(measurementState()), 0);
        m_platform->fileDialogs->openNames << file;
        w().mnuFileOpenMeasurement->trigger();
        QCOMPARE(objects::pointCount(measurementState(), 0), 5);
        QCOMPARE(measurementState().ObjectMass[1], 0.5);
        QVERIFY(w().state().VideoOpen);
        w().cmdMomentum->click();
        momentum = qobject_cast<frmMomentum *>(w().results().momentumWindow().data());
        QVERIFY(momentum);
        QCOMPARE(momentum->summary(), summary);
        QCOMPARE(momentum->txtMass[0]->text(), QStringLiteral("250"));
    }

    void movedVideo_data()
    {
        QTest::addColumn<bool>("together");
        QTest::newRow("file and video moved together: found beside it") << true;
        QTest::newRow("video gone, not looked for: the points alone") << false;
    }
    void movedVideo()
    {
        QFETCH(bool, together);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("授業/映像")));
        const QString video = dir.filePath(QStringLiteral("授業/映像/台車.avi"));
        const QString file = dir.filePath(QStringLiteral("授業/衝突.kinemo"));
        QVERIFY(QFile::copy(m_clip, video));
        m_clip = video;
        QVERIFY(twoObjects());
        m_platform->fileDialogs->saveNames << file;
        w().mnuFileSaveMeasurement->trigger();
        m_window.reset();
        resetMeasurementState();
        if (together)
            QVERIFY(QDir(dir.path()).rename(QStringLiteral("授業"), QStringLiteral("移動先")));
        else
            QVERIFY(QFile::remove(video));
        start();
        prompts().answers << Prompts::Answer::No;
        m_platform->fileDialogs->openNames
            << (together ? dir.filePath(QStringLiteral("移動先/衝突.kinemo")) : file);
        w().mnuFileOpenMeasurement->trigger();
        QCOMPARE(w().state().VideoOpen, together);
        QCOMPARE(prompts().shown.isEmpty(), together);
        QCOMPARE(objects::pointCount(measurementState(), 0), 5);
        QCOMPARE(objects::pointCount(measurementState(), 1), 4);
        QCOMPARE(measurementState().RefLengthValue, qint16(1));
    }
};

QTEST_MAIN(tst_frmMain_objects)
#include "tst_frmMain_objects.moc"
