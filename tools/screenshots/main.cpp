// Pictures of the program's windows for the README, taken from the real
// windows: the sample clip is opened through the real frame source, the
// reference length is set on its ruler and the ball is plotted by clicks on
// the preview at the positions the sample was drawn with, then each window is
// grabbed into a PNG file (the player from the screen, since its video is
// drawn outside the widget). Then the readouts under the preview with the
// same clip taken as filmed at 240 frames per second (capture_rate.png), and
// last the pendulum sample beside the throw's, tracked, with axes set and
// a sine fitted to its x.
//
//   Xvfb :99 -screen 0 1600x1000x24 &
//   DISPLAY=:99 build/tools/screenshots/screenshots build/samples/ball_throw.avi docs
//
// A third argument names a file for the measurement as the main window saves
// it (for the README's example lines).
//
// QT_SCALE_FACTOR=1.5 or 2 in the environment gives the pictures as a
// high-resolution screen shows them. The settings files go to a temporary
// folder, so the pictures show the default settings whatever the build
// folder or the user's configuration holds.

#include "app/frmMain.h"
#include "app/japanese_qt_texts.h"
#include "base/app_paths.h"
#include "base/measurement_state.h"
#include "datafile/measurement_csv.h"
#include "digitize/digitizing_part.h"
#include "digitize/tracking_part.h"
#include "pendulum_scene.h"
#include "platform/platform.h"
#include "platform/qt_platform.h"
#include "printhelp/frmAbout.h"
#include "printhelp/print_page.h"
#include "results/frmResult4.h"
#include "results/results_part.h"
#include "settings/frmPass.h"
#include "settings/frmSystem.h"
#include "settings/settings_part.h"
#include "throw_scene.h"
#include "video/frmPlayer.h"
#include "video/magnifier_widget.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

// The frame where plotting starts (the ball leaves the hand), the plotting
// interval and the frame where the ball lands.
constexpr int kFirstFrame = ThrowScene::FramesBeforeLaunch;
constexpr int kInterval = 3;
constexpr int kLastFrame = ThrowScene::FramesBeforeLaunch + 45;
// The frame left on screen for the main window's picture.
constexpr int kShownFrame = 24;
// Where the tracking picture is taken.
constexpr int kTrackedFrame = 38;

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool save(QWidget *window, const QString &folder, const QString &name)
{
    if (!window) {
        err() << "no window for " << name << Qt::endl;
        return false;
    }
    // Let the window finish laying out and painting first.
    QTest::qWait(300);
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const QPixmap picture = window->grab();
    if (!picture.save(path, "PNG")) {
        err() << "cannot write " << path << Qt::endl;
        return false;
    }
    err() << path << ": " << picture.width() << "x" << picture.height() << Qt::endl;
    return true;
}

// Waits until the main window takes clicks again after a move and has shown
// the frame it moved to.
bool settle(frmMain &main)
{
    return QTest::qWaitFor(
        [&main] { return main.state().InputPauseOver && !measurementState().FrameRefreshPending; },
        3000);
}

void clickPreview(frmMain &main, QPointF position)
{
    QTest::mouseClick(main.picPreview, Qt::LeftButton, {}, position.toPoint());
}

bool setReferenceLength(frmMain &main, double rulerLeft = ThrowScene::RulerLeft,
                        double rulerWidth = ThrowScene::RulerWidth,
                        double zeroY = ThrowScene::RulerZeroY,
                        double pixelsPerMetre = ThrowScene::PixelsPerMetre)
{
    main.cmdLength->click();
    // The 0 and 100 cm lines of the ruler.
    const double x = rulerLeft + rulerWidth / 2;
    clickPreview(main, {x, zeroY});
    QTest::mouseMove(main.picPreview, QPoint(int(x), int(zeroY) - 60));
    clickPreview(main, {x, zeroY - pixelsPerMetre});
    main.txtLengthValue->setText(QStringLiteral("100"));
    main.cmbTanni->setCurrentText(QStringLiteral("cm"));
    main.cmdLength->click();
    return !main.state().lengthSetting() && settle(main);
}

// Clicks the ball from launch to landing; each click moves on by the
// plotting interval.
bool plotBall(frmMain &main)
{
    main.txtRate->setText(QString::number(kInterval));
    main.ctrlSlider->setValue(kFirstFrame);
    if (!settle(main))
        return false;
    while (main.ctrlSlider->value() <= kLastFrame) {
        const int frame = main.ctrlSlider->value();
        clickPreview(main, ThrowScene::ballCentre(frame));
        if (main.ctrlSlider->value() == frame || !settle(main))
            return false;
    }
    return true;
}

// The pointer leaves the picture (the magnifier goes), or comes onto it.
void pointerOver(frmMain &main, std::optional<QPointF> at)
{
    if (!at) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(main.picPreview, &leave);
        return;
    }
    QEnterEvent enter(*at, *at, main.picPreview->mapToGlobal(*at));
    QApplication::sendEvent(main.picPreview, &enter);
    QMouseEvent move(QEvent::MouseMove, *at, main.picPreview->mapToGlobal(*at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(main.picPreview, &move);
}

// The picture with the magnifier, aimed just beside the ball's centre on a
// frame that has no point yet, as a student aims before clicking.
bool saveMagnifier(frmMain &main, const QString &folder)
{
    const int frame = kShownFrame + 1;
    main.ctrlSlider->setValue(frame);
    if (!settle(main))
        return false;
    pointerOver(main, ThrowScene::ballCentre(frame) + QPointF(2, 1));
    QTest::qWait(100);
    if (!main.picPreview->magnifier()->isVisible()) {
        err() << "the magnifier does not show" << Qt::endl;
        return false;
    }
    const bool saved = save(main.picPreview, folder, QStringLiteral("magnifier"));
    pointerOver(main, std::nullopt);
    main.ctrlSlider->setValue(kShownFrame);
    return settle(main) && saved;
}

// The readouts under the preview with the frame-rate readout's tooltip
// showing above them, taken from the screen (a tooltip is a window of its own).
bool saveReadout(frmMain &main, const QString &folder, const QString &name)
{
    QLabel *rate = main.lblFPSValue;
    QToolTip::showText(rate->mapToGlobal(QPoint(-160, -60)), rate->toolTip(), rate);
    QTest::qWait(600);
    auto globalRect = [](const QWidget *w) {
        return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    };
    QRect area = globalRect(main.fraPreviewControl).united(globalRect(main.lblHosei));
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->inherits("QTipLabel"))
            area = area.united(w->frameGeometry());
    }
    area.adjust(-6, -6, 6, 6);
    const QPixmap picture =
        main.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    QToolTip::hideText();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!picture.save(path, "PNG")) {
        err() << "cannot write " << path << Qt::endl;
        return false;
    }
    err() << path << ": " << picture.width() << "x" << picture.height() << Qt::endl;
    return true;
}

// Runs `command`, which shows a file dialog, and saves a picture of that
// dialog once it is on screen; then cancels it.
bool saveFileDialog(const std::function<void()> &command, const QString &folder,
                    const QString &name)
{
    bool ok = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        ok = save(dialog, folder, name);
        dialog->reject();
    });
    poll.start();
    command();
    return ok;
}

// Automatic tracking on the same throw: all points erased, the ball clicked
// once as it leaves the hand, then "自動追跡"; the window is taken while it
// follows the ball past the top of the throw, and tracking is then stopped.
bool trackBall(frmMain &main, const QString &folder)
{
    main.digitizing().eraseAll();
    if (!setReferenceLength(main))
        return false;
    main.txtRate->setText(QStringLiteral("1"));
    main.ctrlSlider->setValue(kFirstFrame);
    if (!settle(main))
        return false;
    clickPreview(main, ThrowScene::ballCentre(kFirstFrame));
    if (!settle(main))
        return false;
    // One step a turn of the event loop, so that it can be caught on the frame.
    main.tracking().setSliceMilliseconds(0);
    main.cmdTrack->click();
    while (main.state().Tracking && main.ctrlSlider->value() < kTrackedFrame)
        QCoreApplication::processEvents();
    if (!main.state().Tracking)
        return false;
    // The picture of the frame on show, as the next refresh tick would draw it.
    measurementState().FrameRefreshPending = true;
    main.video().renderCurrentFrame();
    const QString path = QDir(folder).filePath(QStringLiteral("tracking.png"));
    const bool saved = main.grab().save(path, "PNG");
    main.cmdTrack->click();
    if (saved)
        err() << path << Qt::endl;
    return saved && !main.state().Tracking;
}

// The pendulum sample beside the throw: the ball tracked from its release,
// axes with their origin at the lowest point of the swing, then the
// position window with a sine fitted to x (main_axes.png, result_position.png).
bool pendulumPictures(frmMain &main, const QString &clip, const QString &folder)
{
    using P = PendulumScene;
    if (!main.video().openVideoFile(clip) || !settle(main) ||
        !setReferenceLength(main, P::RulerLeft, P::RulerWidth, P::RulerZeroY, P::PixelsPerMetre))
        return false;
    main.txtRate->setText(QStringLiteral("2"));
    clickPreview(main, P::ballCentre(0));
    if (!settle(main))
        return false;
    main.cmdTrack->click();
    if (!QTest::qWaitFor([&main] { return !main.state().Tracking; }, 120000))
        return false;
    main.ctrlSlider->setValue(40);
    if (!settle(main))
        return false;
    const QPointF lowest(P::PivotX, P::PivotY + P::Length * P::PixelsPerMetre);
    main.cmdAxes->click();
    clickPreview(main, lowest);
    QTest::mouseMove(main.picPreview, (lowest + QPointF(80, 0)).toPoint());
    clickPreview(main, lowest + QPointF(150, 0));
    if (!settle(main) || !measurementState().Axes.set)
        return false;
    bool ok = save(&main, folder, QStringLiteral("main_axes"));
    main.cmdPos->click();
    auto *position = qobject_cast<frmResult4 *>(main.results().positionWindow().data());
    if (!position)
        return false;
    position->cmbFitX->setCurrentIndex(3);
    ok = save(position, folder, QStringLiteral("result_position")) && ok;
    position->close();
    return ok;
}

template <typename T> T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<T *>(w); window && window->isVisible())
            return window;
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("キネモ"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kinemo.svg")));
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(10);
    QApplication::setFont(font);
    installJapaneseQtTexts(app);

    if (argc != 3 && argc != 4) {
        err() << "usage: screenshots <sample clip> <output folder> [measurement file]" << Qt::endl;
        return 2;
    }
    const QString clip = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);

    QTemporaryDir programFolder;
    setProgramFolder(programFolder.path());
    setUserConfigFolder(programFolder.filePath(QStringLiteral("config")));
    setUserDataFolder(programFolder.filePath(QStringLiteral("data")));
    // The file dialog keeps its history in Qt's own settings file.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(programFolder.filePath(QStringLiteral("qt"))));
    installPlatform(makeQtPlatform(printpage::drawing()));

    frmMain main;
    main.move(0, 0);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main) || !main.video().openVideoFile(clip)) {
        err() << "cannot open " << clip << Qt::endl;
        return 1;
    }
    if (!settle(main) || !setReferenceLength(main) || !plotBall(main)) {
        err() << "plotting the sample failed" << Qt::endl;
        return 1;
    }
    if (argc == 4 && !datafile::writeMeasurementFile(QString::fromLocal8Bit(argv[3]),
                                                     datafile::mainWindowCsv(measurementState()))) {
        err() << "cannot write " << argv[3] << Qt::endl;
        return 1;
    }
    main.ctrlSlider->setValue(kShownFrame);
    settle(main);
    pointerOver(main, std::nullopt);
    bool ok = save(&main, folder, QStringLiteral("main_window"));
    ok = saveMagnifier(main, folder) && ok;

    // Both result commands: the settings allow the distance window too.
    measurementState().ResultKindMode = 2;
    main.applyControlStates();
    main.cmdSpd->click();
    ok = save(main.results().speedWindow(), folder, QStringLiteral("result_speed")) && ok;
    main.cmdDis->click();
    ok = save(main.results().distanceWindow(), folder, QStringLiteral("result_distance")) && ok;
    main.results().speedWindow()->close();
    main.results().distanceWindow()->close();
    // The velocity components of the throw: vx flat, vy a falling line.
    main.cmdCmp->click();
    ok = save(main.results().componentsWindow(), folder, QStringLiteral("result_components")) && ok;
    main.results().componentsWindow()->close();
    // The throw's positions: a line through x, a parabola through y.
    main.cmdPos->click();
    if (auto *position = qobject_cast<frmResult4 *>(main.results().positionWindow().data())) {
        position->cmbFitX->setCurrentIndex(1);
        position->cmbFitY->setCurrentIndex(2);
        ok = save(position, folder, QStringLiteral("result_position_throw")) && ok;
        position->close();
    } else {
        ok = false;
    }

    main.mnuSystemDisp->trigger();
    auto *password = qobject_cast<frmPass *>(main.settings().passwordWindow().data());
    if (password) {
        QTest::keyClicks(password->txtPass[0], QStringLiteral("qz47"));
        ok = save(password, folder, QStringLiteral("password")) && ok;
        password->cmdOk->click();
    }
    ok = save(topLevel<frmSystem>(), folder, QStringLiteral("settings")) && ok;
    if (auto *settings = topLevel<frmSystem>())
        settings->close();

    // With the system information shown, as IT staff would ask for it.
    frmAbout *about = frmAbout::showDialog();
    about->cmdSysInfo->click();
    ok = save(about, folder, QStringLiteral("about")) && ok;
    about->close();

    // The open dialog, in Qt's Japanese texts, starting in the folder of the
    // video opened last.
    ok = saveFileDialog([&main] { main.mnuFileOpen->trigger(); }, folder,
                        QStringLiteral("file_dialog")) &&
         ok;
    ok = trackBall(main, folder) && ok;

    // The player a little after the start, paused (which moves the main
    // window to that second, so it comes last). Its picture is drawn by
    // the media service outside the widget, so it is taken from the screen.
    main.cmdPlayer->click();
    auto *player = qobject_cast<frmPlayer *>(main.video().playerWindow().data());
    if (player && QTest::qWaitForWindowExposed(player)) {
        QTest::qWait(1600);
        player->cmdPause_Click();
        QTest::qWait(300);
        const QRect area = player->geometry();
        const QPixmap picture =
            player->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const QString path = QDir(folder).filePath(QStringLiteral("player.png"));
        if (picture.save(path, "PNG"))
            err() << path << ": " << picture.width() << "x" << picture.height() << Qt::endl;
        else
            ok = false;
        player->close();
    } else {
        ok = false;
    }

    // The readout of a slow-motion video: the same clip taken as filmed at
    // 240 frames per second, with the readout's tooltip naming both rates.
    main.video().useFrameRate(240);
    main.ctrlSlider->setValue(kShownFrame);
    settle(main);
    ok = saveReadout(main, folder, QStringLiteral("capture_rate")) && ok;

    // The pendulum sample, made beside the throw.
    const QString pendulum = QFileInfo(clip).dir().filePath(QStringLiteral("pendulum.avi"));
    ok = pendulumPictures(main, pendulum, folder) && ok;
    return ok ? 0 : 1;
}
