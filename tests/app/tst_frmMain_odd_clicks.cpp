// Clicks and commands at odd times on the main window: every button and
// menu command before a video is open, then a long, seeded random run of
// clicks on the picture, buttons, commands, slider moves and typed text with
// a video open, answering every question at random. Whatever the order, the
// program must not fault or hang, and the measurement must stay within its
// limits: at most 200 points, each on a frame of the video, with positions
// that come from the picture.

#include "app/frmMain.h"
#include "base/measurement_state.h"
#include "clip_maker.h"
#include "recording_platform.h"
#include "video/preview_widget.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr qint64 kHangLimitMs = 20000;

// Commands that leave the test's world: the printer, the browser, quitting.
bool leavesTheTest(const frmMain &w, const QAction *action)
{
    return action == w.mnuFilePrint || action == w.mnuFileEnd || action == w.mnuHelpHowto ||
           action->menu() != nullptr || action->isSeparator();
}

// The window's own buttons; Qt's inner ones (the menu bar's overflow
// button opens a menu that waits for the user) are left out.
QList<QAbstractButton *> buttonsOf(frmMain &w)
{
    QList<QAbstractButton *> list;
    for (QAbstractButton *button : w.findChildren<QAbstractButton *>()) {
        const QString name = button->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            list.append(button);
    }
    return list;
}

QList<QAction *> commands(frmMain &w)
{
    QList<QAction *> list;
    for (QAction *action : w.findChildren<QAction *>()) {
        if (!leavesTheTest(w, action))
            list.append(action);
    }
    return list;
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

class tst_frmMain_odd_clicks : public QObject
{
    Q_OBJECT

private slots:
    void everythingBeforeAVideoIsHarmless();
    void randomClicksKeepTheMeasurementSound();
};

void tst_frmMain_odd_clicks::everythingBeforeAVideoIsHarmless()
{
    TestPlatform platform;
    frmMain w;
    w.show();
    QTemporaryDir dir;
    // Dialogs are cancelled; a save goes to a fresh file.
    platform.fileDialogs->saveNames << dir.filePath(QStringLiteral("空.csv"));

    for (int round = 0; round < 2; ++round) {
        for (QAbstractButton *button : buttonsOf(w))
            QTest::mouseClick(button, Qt::LeftButton);
        for (QAction *action : commands(w))
            action->trigger();
        QTest::mouseClick(w.picPreview, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::qWait(20);
        closeOtherWindows(&w);
    }
    QVERIFY(!w.state().VideoOpen);
    QCOMPARE(w.windowTitle(), QStringLiteral("キネモ"));
    QCOMPARE(int(measurementState().PointCount), 0);
    QVERIFY(!w.ctrlSlider->isEnabled());
    for (const QString &text : platform.prompts->texts())
        QVERIFY(!text.isEmpty());
}

void tst_frmMain_odd_clicks::randomClicksKeepTheMeasurementSound()
{
    const QString clip = ClipMaker::path(ClipKind::AviMjpeg25);
    QVERIFY2(!clip.isEmpty(), qPrintable(ClipMaker::lastError()));
    TestPlatform platform;
    frmMain w;
    w.show();
    platform.fileDialogs->openNames << clip;
    w.mnuFileOpen->trigger();
    QVERIFY(w.state().VideoOpen);

    QTemporaryDir dir;
    const QList<QAction *> actions = commands(w);
    const QList<QAbstractButton *> buttons = buttonsOf(w);
    const QStringList texts = {QStringLiteral("3"),     QStringLiteral("-2"),
                               QStringLiteral("abc"),   QString(),
                               QStringLiteral("1e999"), QStringLiteral("４"),
                               QStringLiteral("40000"), QStringLiteral("0.5")};
    QRandomGenerator random(20261208);
    QElapsedTimer timer;
    MeasurementState &s = measurementState();
    int mostPoints = 0;

    for (int i = 0; i < 400; ++i) {
        // Each question answered at random; the open dialog offers the clip
        // or nothing, the save dialog a fresh file.
        platform.prompts->answers.clear();
        platform.prompts->answers << (random.bounded(2) ? Prompts::Answer::Yes
                                                        : Prompts::Answer::No);
        platform.fileDialogs->openNames.clear();
        if (random.bounded(4) == 0)
            platform.fileDialogs->openNames << clip;
        platform.fileDialogs->saveNames.clear();
        platform.fileDialogs->saveNames << dir.filePath(QStringLiteral("%1.csv").arg(i));

        timer.start();
        const QSize box = w.picPreview->size();
        switch (random.bounded(6)) {
        case 0:
        case 1: {
            const QPoint at(random.bounded(box.width()), random.bounded(box.height()));
            const Qt::MouseButton button = random.bounded(3) ? Qt::LeftButton : Qt::RightButton;
            QTest::mouseClick(w.picPreview, button, {}, at);
            break;
        }
        case 2:
            QTest::mouseClick(buttons[random.bounded(int(buttons.size()))], Qt::LeftButton);
            break;
        case 3:
            actions[random.bounded(int(actions.size()))]->trigger();
            break;
        case 4:
            w.ctrlSlider->setValue(random.bounded(w.ctrlSlider->maximum() + 1));
            break;
        case 5: {
            QLineEdit *box = random.bounded(2) ? w.txtRate : w.txtLengthValue;
            box->setText(texts[random.bounded(int(texts.size()))]);
            break;
        }
        }
        QTest::qWait(random.bounded(3) == 0 ? 120 : 5);
        QVERIFY2(timer.elapsed() < kHangLimitMs, qPrintable(QString::number(i)));
        if (random.bounded(20) == 0)
            closeOtherWindows(&w);

        QVERIFY(s.PointCount >= 0 && s.PointCount <= MeasurementState::MaxPoints);
        mostPoints = qMax(mostPoints, int(s.PointCount));
        if (w.state().VideoOpen) {
            QVERIFY(w.ctrlSlider->value() >= 0 && w.ctrlSlider->value() <= s.TotalFrames);
            for (int p = 1; p <= s.PointCount; ++p) {
                const qint32 *row = s.PointTable[p];
                QVERIFY2(row[MeasurementState::ColFrame] >= 0 &&
                             row[MeasurementState::ColFrame] <= s.TotalFrames,
                         qPrintable(QStringLiteral("step %1, point %2").arg(i).arg(p)));
                // A shake-corrected point is the object moved by the
                // reference's drift: up to one picture beyond either side.
                QVERIFY(row[MeasurementState::ColX] >= -640 && row[MeasurementState::ColX] <= 1280);
                QVERIFY(row[MeasurementState::ColY] >= -480 && row[MeasurementState::ColY] <= 960);
            }
        }
    }
    closeOtherWindows(&w);
    // The run did reach the plotting, not only refusals.
    qInfo("at most %d points, %d messages", mostPoints, int(platform.prompts->shown.size()));
    QVERIFY(mostPoints >= 5);
}

QTEST_MAIN(tst_frmMain_odd_clicks)
#include "tst_frmMain_odd_clicks.moc"
