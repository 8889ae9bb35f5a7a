// The main window's controls as derived from its state, for the states a
// student and a teacher meet: start-up, a video open, the length setting in
// each phase, a camera-shake pair half made, the all-points display,
// tracking, and the teacher's settings.
//
// Each row names a state and what some controls must show in it:
// "name+" usable, "name-" not usable, "name!" hidden, "name?" shown,
// "name=text" caption.

#include "app/control_states.h"

#include <QtTest>

namespace {

WindowState videoOpen()
{
    WindowState s;
    s.VideoOpen = true;
    return s;
}

const QStringList kNavigation = {"ctrlSlider-", "cmdBackFrame-", "cmdFwdFrame-",
                                 "cmdPlay-",    "cmdStop-",      "cmdBack-",
                                 "cmdStep-",    "cmdErase-",     "cmdPlayer-"};

QStringList navigation(bool usable)
{
    QStringList list = kNavigation;
    if (usable) {
        for (QString &item : list)
            item.back() = QLatin1Char('+');
    }
    return list;
}

} // namespace

class tst_control_states : public QObject
{
    Q_OBJECT

private slots:
    void controlsFollowTheState_data();
    void controlsFollowTheState();
    void previewCursorAndPlayback();
};

void tst_control_states::controlsFollowTheState_data()
{
    QTest::addColumn<WindowState>("state");
    QTest::addColumn<QStringList>("expected");

    WindowState startUp;
    QTest::newRow("start-up, no video")
        << startUp
        << navigation(false) + QStringList{"cmdLength-",
                                           "cmdLength=長さの設定",
                                           "cmdProtDisp-",
                                           "cmdProtDisp!",
                                           "txtLengthValue!",
                                           "cmbTanni!",
                                           "lblLength1!",
                                           "lblLength=長さは設定されていません",
                                           "lblHosei=手ぶれ補正\r\nＯＦＦ",
                                           "mnuFileClose-",
                                           "mnuFilePrint+",
                                           "mnuViewResult1+",
                                           "cmdSpd?",
                                           "mnuViewResult2-",
                                           "cmdDis!",
                                           "mnuViewResult3+",
                                           "cmdCmp?",
                                           "mnuFileOpen+",
                                           "mnuFileLoad+",
                                           "cmdTrack-",
                                           "cmdFPS-"};

    WindowState open = videoOpen();
    QTest::newRow("video open") << open
                                << navigation(true) +
                                       QStringList{"cmdLength+",        "cmdProtDisp+",
                                                   "mnuFileClose+",     "cmdTrack-",
                                                   "cmdTrack=自動追跡", "cmdFPS+"};

    WindowState allPointsButton = videoOpen();
    allPointsButton.Settings.AllPointsMode = 0;
    QTest::newRow("all points on demand")
        << allPointsButton << QStringList{"cmdProtDisp?", "cmdProtDisp=全打点表示"};

    for (LengthPhase phase :
         {LengthPhase::FirstPoint, LengthPhase::SecondPoint, LengthPhase::TypingLength}) {
        WindowState length = videoOpen();
        length.LengthSettingMode = phase;
        length.LengthSettingUsed = true;
        QTest::addRow("length setting, phase %d", int(phase))
            << length
            << navigation(false) + QStringList{"cmdLength+",
                                               "cmdLength=設定終了",
                                               "cmdProtDisp-",
                                               "txtLengthValue?",
                                               "cmbTanni?",
                                               "lblLength1?",
                                               "lblLength=　映像の画面から基準となる２点クリ"
                                               "ックし、長さを入力してください。",
                                               "mnuFileLoad-",
                                               "mnuFileOpen+",
                                               "mnuFileClose+",
                                               "mnuFilePrint+"};
    }

    WindowState lengthSet = videoOpen();
    lengthSet.LengthSettingUsed = true;
    lengthSet.LengthSet = true;
    QTest::newRow("length set") << lengthSet
                                << navigation(true) +
                                       QStringList{"cmdLength=設定",
                                                   "lblLength=長さは設定されています",
                                                   "txtLengthValue!"};

    WindowState pair = videoOpen();
    pair.ShakeCorrectionOn = true;
    pair.AwaitingShakeReference = true;
    QTest::newRow("camera-shake pair half made")
        << pair << navigation(false) + QStringList{"cmdLength-",     "cmdProtDisp-",
                                                   "mnuFileOpen-",   "mnuFileClose-",
                                                   "mnuFileLoad-",   "mnuFilePrint-",
                                                   "mnuEditSingle+", "mnuSystemChenge+",
                                                   "lblHosei+",      "lblHosei=手ぶれ補正\r\nＯＮ",
                                                   "mnuFileSave+"};

    WindowState allPoints = allPointsButton;
    allPoints.AllPointsShown = true;
    QTest::newRow("all-points display")
        << allPoints
        << navigation(false) + QStringList{"cmdLength-", "cmdProtDisp+", "cmdProtDisp=全表示停止",
                                           "mnuFileOpen+", "mnuEditSingle+"};

    // The teacher chose "always all points" while the display was on: the
    // button stays to end it.
    WindowState allPointsNowAlways = allPoints;
    allPointsNowAlways.Settings.AllPointsMode = 1;
    QTest::newRow("all-points display, setting changed meanwhile")
        << allPointsNowAlways << QStringList{"cmdProtDisp?", "cmdProtDisp+"};

    WindowState trackable = videoOpen();
    trackable.FramePointComplete = true;
    QTest::newRow("a point to track from") << trackable << QStringList{"cmdTrack+", "cmdTrack?"};

    WindowState tracking = trackable;
    tracking.Tracking = true;
    QTest::newRow("tracking") << tracking
                              << navigation(false) +
                                     QStringList{
                                         "cmdTrack+",      "cmdTrack=追跡停止", "cmdLength-",
                                         "cmdProtDisp-",   "mnuFileOpen-",      "mnuFileClose-",
                                         "mnuFileSave-",   "mnuFileLoad-",      "mnuFilePrint-",
                                         "mnuEditSingle-", "mnuEditAll-",       "mnuViewResult1-",
                                         "cmdSpd-",        "mnuSystemChenge-",  "lblHosei-",
                                         "mnuSystemDisp-", "mnuViewResult3-",   "cmdCmp-",
                                         "mnuHelpHowto+",  "mnuFileEnd+",       "cmdFPS-"};

    WindowState trackingForbidden = trackable;
    trackingForbidden.Settings.TrackingAllowed = false;
    QTest::newRow("tracking forbidden") << trackingForbidden << QStringList{"cmdTrack!"};

    const QList<std::pair<int, bool>> printing = {{0, true}, {1, true}, {2, false}, {3, false}};
    for (const auto &[permission, allowed] : printing) {
        WindowState s;
        s.Settings.PrintPermission = qint16(permission);
        QTest::addRow("print permission %d", permission)
            << s << QStringList{allowed ? "mnuFilePrint+" : "mnuFilePrint-"};
    }

    // The components window follows its own setting, whatever the kind of
    // result, and goes with the others when no results are shown.
    struct Results
    {
        int display, kind;
        bool components;
        QStringList expected;
    };
    const QList<Results> results = {
        {0,
         0,
         true,
         {"mnuViewResult1+", "cmdSpd?", "mnuViewResult2-", "cmdDis!", "mnuViewResult3+",
          "cmdCmp?"}},
        {0,
         1,
         true,
         {"mnuViewResult1-", "cmdSpd!", "mnuViewResult2+", "cmdDis?", "mnuViewResult3+",
          "cmdCmp?"}},
        {2,
         2,
         false,
         {"mnuViewResult1+", "cmdSpd?", "mnuViewResult2+", "cmdDis?", "mnuViewResult3-",
          "cmdCmp!"}},
        {3,
         2,
         true,
         {"mnuViewResult1-", "cmdSpd!", "mnuViewResult2-", "cmdDis!", "mnuViewResult3-",
          "cmdCmp!"}},
        {0,
         7,
         true,
         {"mnuViewResult1+", "cmdSpd?", "mnuViewResult2-", "cmdDis!", "mnuViewResult3+"}},
        {1, 0, false, {"mnuViewResult1+", "cmdSpd?", "mnuViewResult3-", "cmdCmp!"}},
    };
    for (const Results &r : results) {
        WindowState s;
        s.Settings.ResultDisplayMode = qint16(r.display);
        s.Settings.ResultKindMode = qint16(r.kind);
        s.Settings.ComponentsAllowed = r.components;
        QTest::addRow("results %d, kind %d, components %s", r.display, r.kind,
                      r.components ? "allowed" : "not allowed")
            << s << r.expected;
    }
}

void tst_control_states::controlsFollowTheState()
{
    QFETCH(WindowState, state);
    QFETCH(QStringList, expected);
    const MainControlStates derived = controlStatesFor(state);
    for (const QString &item : expected) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        const QString name = equals > 0 ? item.left(equals) : item.chopped(1);
        QVERIFY2(derived.controls.contains(name), qPrintable(name));
        const ControlState &c = derived[name];
        if (equals > 0) {
            QCOMPARE(c.caption.value_or(QString()), item.mid(equals + 1));
            continue;
        }
        switch (item.back().toLatin1()) {
        case '+':
            QVERIFY2(c.enabled, qPrintable(item));
            break;
        case '-':
            QVERIFY2(!c.enabled, qPrintable(item));
            break;
        case '!':
            QVERIFY2(!c.visible, qPrintable(item));
            break;
        case '?':
            QVERIFY2(c.visible, qPrintable(item));
            break;
        default:
            QFAIL(qPrintable(item));
        }
    }
}

void tst_control_states::previewCursorAndPlayback()
{
    WindowState s;
    s.Playing = true;
    QCOMPARE(controlStatesFor(s).previewCursor, PreviewCursor::Arrow);
    QVERIFY(!controlStatesFor(s).playTimerRuns);

    s.VideoOpen = true;
    QCOMPARE(controlStatesFor(s).previewCursor, PreviewCursor::Plotting);
    QVERIFY(controlStatesFor(s).playTimerRuns);

    s.InputPauseOver = false;
    QCOMPARE(controlStatesFor(s).previewCursor, PreviewCursor::Wait);

    // Playback never runs while the frame is held.
    s.InputPauseOver = true;
    s.LengthSettingMode = LengthPhase::FirstPoint;
    QVERIFY(!controlStatesFor(s).playTimerRuns);
}

QTEST_GUILESS_MAIN(tst_control_states)
#include "tst_control_states.moc"
