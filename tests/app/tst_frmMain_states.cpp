// The main window's controls, whatever a student clicks in whatever order.
// After every step the window must be in a state it can be in:
// - no navigation, plotting, length or player control is usable without a video;
// - while a camera-shake pair waits for its reference click the frame stays
//   and nothing else begins;
// - the point table never holds a half-made point;
// - every caption says what the state is, and every control shows what the
//   state makes of it;
// - the player never plays a video that is closed.
// Short sequences that once broke these come first, then a long seeded random
// walk over every command, click, key and answer for each setting that
// changes the controls.

#include "app/control_states.h"
#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "digitize/length_part.h"
#include "print_doubles.h"
#include "recording_platform.h"
#include "video/frmPlayer.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using MS = MeasurementState;

namespace {

#ifdef KINEMO_SANITIZED_TESTS
constexpr int kWalkSteps = 400; // the instrumented build runs several times slower
#else
constexpr int kWalkSteps = 2000;
#endif

void writeSettings(const QString &folder, int clickAction, int allPointsMode)
{
    QFile f(folder + QStringLiteral("/kinmo.txt"));
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(QStringLiteral("qz47\r\n 2\r\n 2\r\n 0\r\n 0\r\n %1\r\n %2\r\n")
                .arg(clickAction)
                .arg(allPointsMode)
                .toLatin1());
}

QString captionOf(QObject *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *action = qobject_cast<QAction *>(control))
        return action->text();
    return QString();
}

// What the window shows is what its state makes of it, and the state itself
// is one the window may be in. Empty when all is well.
// `pairFrame` and `allPointsAtPair`: the frame and the all-points display
// when the camera-shake pair now waiting began (a pair may begin during the
// display, whose clicks still plot).
QString faultIn(frmMain &w, qint32 pairFrame, bool allPointsAtPair)
{
    const WindowState &s = w.state();
    const MeasurementState &m = measurementState();

    // Every control as the state makes it.
    const MainControlStates derived = controlStatesFor(s);
    for (auto it = derived.controls.constBegin(); it != derived.controls.constEnd(); ++it) {
        QObject *control = w.findChild<QObject *>(it.key());
        if (!control)
            continue; // a control this build of the window does not have
        const ControlState &c = it.value();
        bool enabled = false;
        bool visible = false;
        if (auto *action = qobject_cast<QAction *>(control)) {
            enabled = action->isEnabled();
            visible = action->isVisible();
        } else if (auto *widget = qobject_cast<QWidget *>(control)) {
            enabled = widget->isEnabled();
            visible = !widget->isHidden();
        }
        if (enabled != c.enabled || visible != c.visible)
            return it.key() + QStringLiteral(" does not follow the state");
        if (c.caption && captionOf(control) != *c.caption)
            return it.key() + QStringLiteral(" has a stale caption: ") + captionOf(control);
    }

    // Captions say what the state is.
    if ((w.cmdProtDisp->text() == QStringLiteral("全表示停止")) != s.AllPointsShown)
        return QStringLiteral("the all-points caption");
    if ((w.cmdLength->text() == QStringLiteral("設定終了")) != s.lengthSetting())
        return QStringLiteral("the length caption");
    if (w.lblHosei->text().endsWith(QStringLiteral("ＯＮ")) != s.ShakeCorrectionOn)
        return QStringLiteral("the camera-shake caption");
    if (w.txtLengthValue->isHidden() == s.lengthSetting())
        return QStringLiteral("the length box");

    if (!s.VideoOpen) {
        for (QWidget *c : std::initializer_list<QWidget *>{
                 w.ctrlSlider, w.cmdBackFrame, w.cmdFwdFrame, w.cmdPlay, w.cmdStop, w.cmdBack,
                 w.cmdStep, w.cmdErase, w.cmdProtDisp, w.cmdPlayer, w.cmdLength}) {
            if (c->isEnabled())
                return c->objectName() + QStringLiteral(" usable without a video");
        }
        if (s.lengthSetting() || s.AwaitingShakeReference || s.AllPointsShown || s.Tracking)
            return QStringLiteral("a mode left on without a video");
        if (w.tmrPlay->isActive())
            return QStringLiteral("playback without a video");
        if (!w.picPreview->frame().isNull())
            return QStringLiteral("a picture without a video");
    }
    if (s.AwaitingShakeReference) {
        if (w.ctrlSlider->value() != pairFrame)
            return QStringLiteral("the frame moved under a camera-shake pair");
        if (s.lengthSetting())
            return QStringLiteral("a length setting began during a camera-shake pair");
        if (s.AllPointsShown && !allPointsAtPair)
            return QStringLiteral("the all-points display began during a camera-shake pair");
        if (w.tmrPlay->isActive())
            return QStringLiteral("playback ran during a camera-shake pair");
    }
    if (!s.lengthSetting() && !w.length().drawing().isEmpty())
        return QStringLiteral("length drawings left after the setting");

    // The table: rows 1..PointCount in use, each a whole point.
    if (m.PointCount < 0 || m.PointCount > MS::MaxPoints)
        return QStringLiteral("point count out of range");
    QSet<qint32> frames;
    for (int r = 1; r <= m.PointCount; ++r) {
        const qint32 *row = m.PointTable[r];
        if (row[MS::ColNumber] != r)
            return QStringLiteral("row %1 carries number %2").arg(r).arg(row[MS::ColNumber]);
        if (frames.contains(row[MS::ColFrame]))
            return QStringLiteral("two points on frame %1").arg(row[MS::ColFrame]);
        frames.insert(row[MS::ColFrame]);
        // Clicks never land on the picture's edge here, and a reference
        // click is never at 0, 0: a row with nothing but its number and
        // frame is half made.
        if (row[MS::ColX] == 0 && row[MS::ColY] == 0 && row[MS::ColRefX] == 0 &&
            row[MS::ColRefY] == 0)
            return QStringLiteral("row %1 is half made").arg(r);
    }

    // The player only ever plays the open video.
    const QPointer<QWidget> &player = w.video().playerWindow();
    if (player && player->isVisible()) {
        if (!s.VideoOpen)
            return QStringLiteral("the player plays a closed video");
        if (qobject_cast<frmPlayer *>(player.data())->filePath() != w.video().chosenFilePath())
            return QStringLiteral("the player plays another video");
    }
    return QString();
}

void closeOtherWindows(QWidget *main)
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top != main && top->isVisible())
            top->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class tst_frmMain_states : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void printingLeavesTheControlsAsTheyWere();
    void cameraShakePairHoldsEverythingElse();
    void openingAgainResetsTheAllPointsCaption();
    void closingEndsTheLengthSetting();
    void loadingWaitsForTheLengthSetting();
    void onlyTheLeftButtonSwitchesTheCorrection();
    void navigationButtonsSayWhatTheyDoAndGreyOut();

    void randomWalk_data();
    void randomWalk();

private:
    frmMain &w() { return *m_window; }
    void makeWindow(int clickAction, int allPointsMode);
    void openClip();
    bool settle();
    void clickPreview(QPointF at, Qt::MouseButton button = Qt::LeftButton);
    void verifySound();

    std::unique_ptr<TestPlatform> m_platform;
    std::shared_ptr<PdfPrinter> m_printer;
    std::unique_ptr<frmMain> m_window;
    QString m_clip;
    qint32 m_pairFrame = -1;
    bool m_allPointsAtPair = false;
};

void tst_frmMain_states::init()
{
    m_clip = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!m_clip.isEmpty(), qPrintable(ClipMaker::lastError()));
    m_platform = std::make_unique<TestPlatform>();
    m_printer = std::make_shared<PdfPrinter>();
    platform().printer = m_printer;
    platform().browser = std::make_shared<RecordingBrowser>();
}

void tst_frmMain_states::cleanup()
{
    if (m_window)
        closeOtherWindows(m_window.get());
    m_window.reset();
    m_printer.reset();
    m_platform.reset();
}

void tst_frmMain_states::makeWindow(int clickAction, int allPointsMode)
{
    writeSettings(m_platform->programFolder, clickAction, allPointsMode);
    m_window = std::make_unique<frmMain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_frmMain_states::openClip()
{
    QVERIFY(w().video().openVideoFile(m_clip));
    QVERIFY(settle());
}

bool tst_frmMain_states::settle()
{
    return QTest::qWaitFor([this] { return w().state().InputPauseOver; }, 3000);
}

void tst_frmMain_states::clickPreview(QPointF at, Qt::MouseButton button)
{
    QTest::mouseClick(w().picPreview, button, {}, at.toPoint());
}

void tst_frmMain_states::verifySound()
{
    if (w().state().AwaitingShakeReference && m_pairFrame < 0) {
        m_pairFrame = w().ctrlSlider->value();
        m_allPointsAtPair = w().state().AllPointsShown;
    }
    if (!w().state().AwaitingShakeReference)
        m_pairFrame = -1;
    const QString fault = faultIn(w(), m_pairFrame, m_allPointsAtPair);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void tst_frmMain_states::printingLeavesTheControlsAsTheyWere()
{
    // Points shown on demand: printing shows them all for the printout.
    makeWindow(1, 0);
    for (Prompts::Answer answer : {Prompts::Answer::Cancel, Prompts::Answer::Ok}) {
        m_platform->prompts->answers.enqueue(answer);
        w().mnuFilePrint->trigger();
        verifySound();
        QVERIFY(!w().ctrlSlider->isEnabled());
        QVERIFY(!w().cmdPlayer->isEnabled());
    }
    openClip();
    w().cmdLength->click();
    clickPreview({40, 30});
    m_platform->prompts->answers.enqueue(Prompts::Answer::Cancel);
    w().mnuFilePrint->trigger();
    verifySound();
    QVERIFY(w().state().lengthSetting());
    QVERIFY(!w().ctrlSlider->isEnabled());
    QVERIFY(w().cmdLength->isEnabled());
    QCOMPARE(m_printer->pages.size(), qsizetype(1));
}

void tst_frmMain_states::cameraShakePairHoldsEverythingElse()
{
    makeWindow(1, 1);
    openClip();
    w().mnuSystemChenge->trigger();
    clickPreview({60, 50});
    QVERIFY(w().state().AwaitingShakeReference);
    verifySound();
    // No length setting, no other video, no closing until the pair is done.
    for (QAbstractButton *b : {static_cast<QAbstractButton *>(w().cmdLength),
                               static_cast<QAbstractButton *>(w().cmdStep)})
        QTest::mouseClick(b, Qt::LeftButton);
    m_platform->fileDialogs->openNames << m_clip;
    w().mnuFileClose->trigger();
    w().mnuFileOpen->trigger();
    w().mnuEditAll->trigger();
    verifySound();
    QVERIFY(w().state().VideoOpen);
    QCOMPARE(measurementState().PointCount, qint16(0));

    // The pair is whole or nothing.
    clickPreview({60, 50});
    QVERIFY(settle());
    clickPreview({20, 20});
    verifySound();
    QCOMPARE(measurementState().PointCount, qint16(1));
}

void tst_frmMain_states::openingAgainResetsTheAllPointsCaption()
{
    makeWindow(1, 0);
    openClip();
    w().cmdProtDisp->click();
    QCOMPARE(w().cmdProtDisp->text(), QStringLiteral("全表示停止"));
    openClip();
    verifySound();
    QCOMPARE(w().cmdProtDisp->text(), QStringLiteral("全打点表示"));
    w().cmdProtDisp->click();
    QVERIFY(w().state().AllPointsShown);
}

void tst_frmMain_states::closingEndsTheLengthSetting()
{
    makeWindow(1, 1);
    openClip();
    w().cmdLength->click();
    clickPreview({40, 30});
    QVERIFY(!w().length().drawing().isEmpty());
    w().mnuFileClose->trigger();
    verifySound();
    QTest::mouseMove(w().picPreview, QPoint(90, 80));
    QVERIFY(w().length().drawing().isEmpty());
}

void tst_frmMain_states::loadingWaitsForTheLengthSetting()
{
    makeWindow(1, 1);
    openClip();
    w().cmdLength->click();
    clickPreview({40, 30});
    clickPreview({120, 30});
    QTest::keyClicks(w().txtLengthValue, QStringLiteral("30"));
    QVERIFY(!w().mnuFileLoad->isEnabled());
    w().mnuFileLoad->trigger();
    QVERIFY(w().state().lengthSetting());
    QCOMPARE(w().txtLengthValue->text(), QStringLiteral("30"));
    QCOMPARE(w().length().drawing().dots.size(), qsizetype(2));
    QTest::keyClick(w().txtLengthValue, Qt::Key_Return);
    QCOMPARE(measurementState().RefLengthValue, qint16(30));
    QVERIFY(w().mnuFileLoad->isEnabled());
}

void tst_frmMain_states::onlyTheLeftButtonSwitchesTheCorrection()
{
    makeWindow(1, 1);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        QTest::mouseClick(w().lblHosei, button);
    QVERIFY(m_platform->prompts->shown.isEmpty());
    QVERIFY(!w().state().ShakeCorrectionOn);
    QTest::mouseClick(w().lblHosei, Qt::LeftButton);
    QCOMPARE(m_platform->prompts->shown.size(), qsizetype(1));
    QVERIFY(w().state().ShakeCorrectionOn);
}

void tst_frmMain_states::navigationButtonsSayWhatTheyDoAndGreyOut()
{
    makeWindow(1, 1);
    QSet<QString> names;
    const QColor background = w().cmdErase->palette().color(QPalette::Button);
    const QColor disabledText =
        w().cmdErase->palette().color(QPalette::Disabled, QPalette::ButtonText);
    const auto contrast = [&background](const QColor &c) {
        return qAbs(qGray(c.rgb()) - qGray(background.rgb()));
    };
    for (QToolButton *b : {w().cmdBackFrame, w().cmdFwdFrame, w().cmdPlay, w().cmdStop}) {
        QCOMPARE(b->accessibleName(), b->toolTip());
        names.insert(b->accessibleName());
        QVERIFY(!b->isEnabled());
        // No pixel of the disabled picture stands out more than the caption
        // of a disabled text button, at any screen scale.
        for (qreal scale : {1.0, 1.5, 2.0}) {
            const QImage picture =
                b->icon().pixmap(b->iconSize(), scale, QIcon::Disabled).toImage();
            QVERIFY(!picture.isNull());
            int strongest = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    if (c.alpha() > 128)
                        strongest = qMax(strongest, contrast(c));
                }
            }
            QVERIFY2(strongest > 0 && strongest <= contrast(disabledText) + 8,
                     qPrintable(QStringLiteral("%1 at %2: %3 against %4")
                                    .arg(b->objectName())
                                    .arg(scale)
                                    .arg(strongest)
                                    .arg(contrast(disabledText))));
        }
    }
    QCOMPARE(names.size(), qsizetype(4));
}

void tst_frmMain_states::randomWalk_data()
{
    QTest::addColumn<int>("clickAction");
    QTest::addColumn<int>("allPointsMode");
    for (int clickAction : {0, 1}) {
        for (int allPointsMode : {0, 1})
            QTest::addRow("click action %d, all points %d", clickAction, allPointsMode)
                << clickAction << allPointsMode;
    }
}

void tst_frmMain_states::randomWalk()
{
    QFETCH(int, clickAction);
    QFETCH(int, allPointsMode);
    makeWindow(clickAction, allPointsMode);
    const QString otherClip = ClipMaker::path(ClipKind::Wide16x9);
    QVERIFY2(!otherClip.isEmpty(), qPrintable(ClipMaker::lastError()));

    QList<QAbstractButton *> buttons;
    for (QAbstractButton *b : w().findChildren<QAbstractButton *>()) {
        if (!b->objectName().isEmpty() && !b->objectName().startsWith(QLatin1String("qt_")))
            buttons.append(b);
    }
    QList<QAction *> actions;
    for (QAction *a : w().findChildren<QAction *>()) {
        // Quitting is tried in the tests of the start-up and quit.
        if (!a->objectName().isEmpty() && !a->menu() && !a->isSeparator() && a != w().mnuFileEnd)
            actions.append(a);
    }
    const QStringList texts = {QStringLiteral("3"), QStringLiteral("-2"),  QStringLiteral("abc"),
                               QString(),           QStringLiteral("0.5"), QStringLiteral("40000")};
    const Prompts::Answer answers[] = {Prompts::Answer::Yes, Prompts::Answer::No,
                                       Prompts::Answer::Ok, Prompts::Answer::Cancel};
    QTemporaryDir dir;
    QStringList saved;
    QRandomGenerator random(quint32(20261208 + 10 * clickAction + allPointsMode));
    int mostPoints = 0;
    int pairs = 0;
    int lengthSettings = 0;

    for (int step = 0; step < kWalkSteps; ++step) {
        // Every question answered at random.
        m_platform->prompts->answers.clear();
        m_platform->prompts->answers << answers[random.bounded(4)];
        m_platform->fileDialogs->openNames.clear();
        switch (random.bounded(8)) {
        case 0:
            m_platform->fileDialogs->openNames << m_clip;
            break;
        case 1:
            m_platform->fileDialogs->openNames << otherClip;
            break;
        case 2:
            if (!saved.isEmpty())
                m_platform->fileDialogs->openNames << saved[random.bounded(int(saved.size()))];
            break;
        }
        m_platform->fileDialogs->saveNames.clear();
        const QString saveName = dir.filePath(QStringLiteral("%1.csv").arg(step));
        m_platform->fileDialogs->saveNames << saveName;

        const QSize box = w().picPreview->size();
        const QPointF at(1 + random.bounded(box.width() - 2), 1 + random.bounded(box.height() - 2));
        switch (random.bounded(13)) {
        case 0:
        case 1:
        case 2:
            // Mostly as a student does: once the plotting pointer is back.
            if (random.bounded(3))
                settle();
            clickPreview(at, random.bounded(6) ? Qt::LeftButton : Qt::RightButton);
            break;
        case 3:
        case 4:
            QTest::mouseClick(buttons[random.bounded(int(buttons.size()))], Qt::LeftButton);
            break;
        case 5:
        case 6:
            actions[random.bounded(int(actions.size()))]->trigger();
            break;
        case 7: {
            const Qt::Key keys[] = {Qt::Key_Right,    Qt::Key_Left, Qt::Key_PageUp,
                                    Qt::Key_PageDown, Qt::Key_End,  Qt::Key_Home};
            QTest::keyClick(w().ctrlSlider, keys[random.bounded(6)]);
            break;
        }
        case 8: {
            QLineEdit *edit = random.bounded(2) ? w().txtRate : w().txtLengthValue;
            if (edit->isVisible() && edit->isEnabled()) {
                edit->clear();
                QTest::keyClicks(edit, texts[random.bounded(int(texts.size()))]);
                if (random.bounded(3) == 0)
                    QTest::keyClick(edit, Qt::Key_Return);
            }
            break;
        }
        case 9:
            QTest::mouseMove(w().picPreview, at.toPoint());
            QTest::mouseClick(w().lblHosei, random.bounded(3) ? Qt::LeftButton : Qt::RightButton);
            break;
        case 10:
            QTest::keyClick(&w(), Qt::Key_Escape);
            break;
        case 11:
            // Time passes: the input pause ends, frames render, playback ticks.
            QTest::qWait(100 + random.bounded(50));
            break;
        case 12:
            // A student opens a video far sooner than a menu picked at
            // random would: most of the walk happens with one open.
            if (!w().state().VideoOpen) {
                m_platform->fileDialogs->openNames.clear();
                m_platform->fileDialogs->openNames << (random.bounded(2) ? m_clip : otherClip);
                w().mnuFileOpen->trigger();
            }
            break;
        }
        if (random.bounded(25) == 0)
            closeOtherWindows(&w());
        if (QFile::exists(saveName))
            saved << saveName;

        verifySound();
        if (QTest::currentTestFailed()) {
            qWarning("step %d of the walk", step);
            return;
        }
        mostPoints = qMax(mostPoints, int(measurementState().PointCount));
        pairs += w().state().AwaitingShakeReference ? 1 : 0;
        lengthSettings += w().state().lengthSetting() ? 1 : 0;
    }
    closeOtherWindows(&w());
    qInfo("at most %d points; %d steps with a pair waiting, %d in a length setting", mostPoints,
          pairs, lengthSettings);
#ifndef KINEMO_SANITIZED_TESTS
    // The walk reached the states it is about, not only refusals. The
    // instrumented build's shorter walk is there for memory faults on the
    // way, and whether it reaches a pair in every setting is luck.
    QVERIFY(mostPoints >= 2);
    QVERIFY(pairs > 0);
    QVERIFY(lengthSettings > 0);
#endif
}

QTEST_MAIN(tst_frmMain_states)
#include "tst_frmMain_states.moc"
