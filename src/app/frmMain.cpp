#include "app/frmMain.h"

#include "app/control_states.h"
#include "base/measurement_state.h"
#include "base/view_preferences.h"
#include "datafile/datafile_part.h"
#include "datafile/measurement_file_commands.h"
#include "datafile/recovery_part.h"
#include "digitize/axes_part.h"
#include "digitize/digitizing_part.h"
#include "digitize/length_part.h"
#include "digitize/object_markers.h"
#include "digitize/tracking_part.h"
#include "platform/platform.h"
#include "platform/prompts.h"
#include "printhelp/printhelp_part.h"
#include "results/results_part.h"
#include "results/strobe_part.h"
#include "settings/settings_file.h"
#include "settings/settings_part.h"
#include "video/plotting_cursor.h"
#include "video/preview_widget.h"
#include "video/video_part.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    buildMenus();
    buildControls();
    registerControls();
    composeParts();
    setAcceptDrops(true);
    runStartUp();
    tmrTimer->start();
}

frmMain::~frmMain()
{
    // The file stays for the next start unless the quit removed it; nothing
    // that happens while the other parts go is written any more.
    m_recovery.reset();
}

void frmMain::composeParts()
{
    VideoControls video;
    video.window = this;
    video.preview = picPreview;
    video.slider = ctrlSlider;
    video.backFrame = cmdBackFrame;
    video.forwardFrame = cmdFwdFrame;
    video.play = cmdPlay;
    video.stop = cmdStop;
    video.backStep = cmdBack;
    video.forwardStep = cmdStep;
    video.player = cmdPlayer;
    video.interval = txtRate;
    video.frameValue = lblCurrentFrameValue;
    video.count = lblCount;
    video.timeValue = lblCurrentTimeValue;
    video.rateValue = lblFPSValue;
    video.rateButton = cmdFPS;
    video.refreshTimer = tmrTimer;
    video.playTimer = tmrPlay;
    video.waitTimer = tmrWait;
    video.open = mnuFileOpen;
    video.close = mnuFileClose;
    m_video = std::make_unique<VideoPart>(m_state, video);

    DigitizingControls digitizing;
    digitizing.preview = picPreview;
    digitizing.kijun = lblKijun;
    digitizing.erase = cmdErase;
    digitizing.allPoints = cmdProtDisp;
    digitizing.shakeLabel = lblHosei;
    digitizing.eraseOne = mnuEditSingle;
    digitizing.eraseAll = mnuEditAll;
    digitizing.shakeSwitch = mnuSystemChenge;
    digitizing.object = cmbObject;
    m_digitizing = std::make_unique<DigitizingPart>(m_state, *m_video, digitizing);

    TrackingControls tracking;
    tracking.window = this;
    tracking.track = cmdTrack;
    m_tracking = std::make_unique<TrackingPart>(m_state, *m_video, *m_digitizing, tracking);

    LengthControls length;
    length.preview = picPreview;
    length.lengthButton = cmdLength;
    length.lengthValue = txtLengthValue;
    length.unit = cmbTanni;
    m_length = std::make_unique<LengthPart>(m_state, *m_video, *m_digitizing, length);

    AxesControls axes;
    axes.window = this;
    axes.preview = picPreview;
    axes.axesButton = cmdAxes;
    axes.setCommand = mnuSystemAxes;
    axes.resetCommand = mnuSystemAxesReset;
    m_axes = std::make_unique<AxesPart>(m_state, *m_video, axes);

    DataFileControls dataFile;
    dataFile.save = mnuFileSave;
    dataFile.load = mnuFileLoad;
    dataFile.lengthValue = txtLengthValue;
    dataFile.unit = cmbTanni;
    dataFile.mayEmptyMeasurement = [this] { return m_recovery->mayEmptyMeasurement(); };
    m_dataFile = std::make_unique<DataFilePart>(m_state, *m_digitizing, dataFile);

    PrintHelpControls printHelp;
    printHelp.window = this;
    printHelp.print = mnuFilePrint;
    printHelp.howTo = mnuHelpHowto;
    printHelp.about = mnuHelpAbout;
    m_printHelp = std::make_unique<PrintHelpPart>(m_state, *m_digitizing, printHelp);

    ResultsControls results;
    results.window = this;
    results.preview = picPreview;
    results.lengthValue = txtLengthValue;
    results.speedCommand = mnuViewResult1;
    results.distanceCommand = mnuViewResult2;
    results.speedButton = cmdSpd;
    results.distanceButton = cmdDis;
    results.componentsCommand = mnuViewResult3;
    results.componentsButton = cmdCmp;
    results.momentumCommand = mnuViewMomentum;
    results.momentumButton = cmdMomentum;
    results.positionCommand = mnuViewResult4;
    results.positionButton = cmdPos;
    m_results = std::make_unique<ResultsPart>(m_state, *m_digitizing, *m_length, results);

    StrobeControls strobe;
    strobe.window = this;
    strobe.command = mnuViewStrobe;
    m_strobe = std::make_unique<StrobePart>(m_state, *m_video, strobe);

    m_settings = std::make_unique<SettingsPart>(this, mnuSystemDisp);

    RecoveryControls recovery;
    recovery.lengthValue = txtLengthValue;
    recovery.unit = cmbTanni;
    recovery.interval = txtRate;
    recovery.saveMeasurement = mnuFileSaveMeasurement;
    recovery.openMeasurement = mnuFileOpenMeasurement;
    m_recovery = std::make_unique<RecoveryPart>(m_state, *m_video, *m_digitizing, recovery);

    // What the length and axes settings drew lies on the picture; the
    // markers lie above it.
    picPreview->setOverlayPainter([this](QPainter &painter) {
        m_axes->paint(painter);
        m_length->paint(painter);
        m_digitizing->markers().paint(painter);
        objects::paintObjectMarkers(painter, measurementState(), m_video->position(),
                                    m_state.ShakeCorrectionOn, m_state.AllPointsShown);
    });

    // Nothing empties unsaved points without asking. Closing the video
    // keeps its points, unless the student chose to lose them.
    m_video->setMeasurementGuard([this](VideoPart::Emptying what) {
        m_tracking->stop();
        const datafile::UnsavedPoints answer = datafile::askAboutUnsavedPoints(
            measurementState(), [this] { return m_recovery->saveMeasurement(); });
        if (answer == datafile::UnsavedPoints::Discarded && what == VideoPart::Emptying::Close)
            m_digitizing->eraseAll();
        return answer != datafile::UnsavedPoints::Kept;
    });

    // A closed video takes the window back to its start-up state.
    connect(m_video.get(), &VideoPart::videoClosed, this, &frmMain::runStartUp);
    // Every command ends by telling the window, which then derives every
    // control anew.
    connect(m_video.get(), &VideoPart::changed, this, &frmMain::applyControlStates);
    connect(m_digitizing.get(), &DigitizingPart::changed, this, &frmMain::applyControlStates);
    connect(m_tracking.get(), &TrackingPart::changed, this, &frmMain::applyControlStates);
    connect(m_length.get(), &LengthPart::changed, this, &frmMain::applyControlStates);
    connect(m_axes.get(), &AxesPart::changed, this, &frmMain::applyControlStates);
    connect(m_dataFile.get(), &DataFilePart::changed, this, &frmMain::applyControlStates);
    connect(m_printHelp.get(), &PrintHelpPart::changed, this, &frmMain::applyControlStates);
    connect(m_results.get(), &ResultsPart::changed, this, &frmMain::applyControlStates);
    connect(m_recovery.get(), &RecoveryPart::changed, this, &frmMain::applyControlStates);
    connect(m_strobe.get(), &StrobePart::changed, this, &frmMain::applyControlStates);

    // A new capture rate keeps the points but not the results shown so far;
    // a loaded measurement brings its own rate, which the readout then shows.
    connect(m_video.get(), &VideoPart::frameRateChanged, m_results.get(),
            [this] { m_results->closeWindows(ResultsPart::speedFirst()); });
    connect(m_dataFile.get(), &DataFilePart::changed, m_video.get(), &VideoPart::showFrameRate);

    // The result windows lead back to the video: a click on a column or a
    // marker shows its frame, as a move of the user's own would, and every
    // move is marked in them.
    connect(m_results.get(), &ResultsPart::frameChosen, this, [this](qint32 frame) {
        if (m_state.navigationFree())
            m_video->moveTo(frame);
    });
    connect(m_video.get(), &VideoPart::moved, m_results.get(), [this] {
        m_results->showCurrentFrame(m_state.VideoOpen ? std::optional<qint32>(m_video->position())
                                                      : std::nullopt);
    });
    connect(m_video.get(), &VideoPart::videoClosed, m_results.get(),
            [this] { m_results->showCurrentFrame(std::nullopt); });

    // The magnifier: the user's own choice, and where the pointer is.
    m_state.MagnifierOn = viewprefs::magnifierOn();
    connect(mnuViewMagnifier, &QAction::triggered, this, [this](bool on) {
        m_state.MagnifierOn = on;
        viewprefs::setMagnifierOn(on);
        applyControlStates();
    });
    connect(picPreview, &PreviewWidget::pointerOver, this, [this](bool over) {
        m_state.PointerOverPicture = over;
        applyControlStates();
    });
}

void frmMain::applyControlStates()
{
    const MeasurementState &measurement = measurementState();
    m_state.refresh(measurement, m_digitizing->framePointComplete());
    const MainControlStates derived = controlStatesFor(m_state);
    {
        // The choice shows the measurement's object, also after a file or a
        // recovery brought another one back.
        const QSignalBlocker quiet(cmbObject);
        cmbObject->setCurrentIndex(measurement.ChosenObject);
    }

    for (auto it = derived.controls.constBegin(); it != derived.controls.constEnd(); ++it) {
        QObject *object = m_controls.value(it.key());
        const ControlState &c = it.value();
        if (auto *action = qobject_cast<QAction *>(object)) {
            action->setEnabled(c.enabled);
            action->setVisible(c.visible);
            if (c.caption)
                action->setText(*c.caption);
            if (c.checked)
                action->setChecked(*c.checked);
        } else if (auto *widget = qobject_cast<QWidget *>(object)) {
            widget->setEnabled(c.enabled);
            widget->setVisible(c.visible);
            if (c.textColour) {
                QPalette pal = widget->palette();
                pal.setColor(QPalette::WindowText, *c.textColour);
                widget->setPalette(pal);
            }
            if (!c.caption)
                continue;
            if (auto *label = qobject_cast<QLabel *>(widget))
                label->setText(*c.caption);
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                button->setText(*c.caption);
        }
    }

    const std::pair cursor(derived.previewCursor, picPreview->devicePixelRatioF());
    if (m_previewCursor != cursor) {
        m_previewCursor = cursor;
        switch (cursor.first) {
        case PreviewCursor::Arrow:
            picPreview->unsetCursor();
            break;
        case PreviewCursor::Wait:
            picPreview->setCursor(Qt::WaitCursor);
            break;
        case PreviewCursor::Plotting:
            picPreview->setCursor(plotting_cursor::cursor(cursor.second));
            break;
        }
    }
    picPreview->setKeyboardAiming(derived.keyboardAiming);
    picPreview->setMagnifier(derived.magnifierShown, derived.magnifierWholePixels);
    if (derived.playTimerRuns != tmrPlay->isActive()) {
        if (derived.playTimerRuns)
            tmrPlay->start();
        else
            tmrPlay->stop();
    }
    if (derived.kijunAt) {
        lblKijun->move(*derived.kijunAt);
        lblKijun->show();
        lblKijun->raise();
    } else {
        lblKijun->hide();
    }
    // Every command that changes the measurement ends here: the recovery
    // file follows it.
    if (m_recovery)
        m_recovery->measurementMayHaveChanged();
}

void frmMain::offerRecovery()
{
    m_recovery->offerRecovery();
}

void frmMain::settingsApplied()
{
    // Forbidden while it runs: it stops, and its button goes.
    if (measurementState().TrackingPermission != 0)
        m_tracking->stop(TrackingPart::Stop::Interrupted);
    applyControlStates();
}

void frmMain::runStartUp()
{
    setWindowTitle(QStringLiteral("キネモ"));
    m_video->resetReadouts();
    loadSettings(measurementState());
    m_digitizing->prepareMarkers();
    applyControlStates();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Not plotting on behind the question.
    m_tracking->stop();
    // Unsaved points are asked about instead of the quit itself; until the
    // answer, the recovery file keeps them.
    const bool go = measurementState().hasUnsavedPoints()
                        ? m_recovery->mayEmptyMeasurement()
                        : platform().prompts->message(
                              QStringLiteral("キネモを終了しますか？"), Prompts::Buttons::YesNo,
                              Prompts::Icon::Question) == Prompts::Answer::Yes;
    if (!go) {
        event->ignore();
        return;
    }
    runQuit();
    event->accept();
}

void frmMain::runQuit()
{
    m_tracking->stop();
    tmrTimer->stop();
    tmrPlay->stop();
    tmrWait->stop();
    // Settings that cannot be written anywhere (full disk) must not keep the
    // program from quitting; the old file stays whole.
    saveSettings(measurementState());
    // A normal end: nothing to recover at the next start.
    m_recovery->endNormally();
    m_video->closePlayer();
    m_results->closeWindows(ResultsPart::speedFirst());
    m_strobe->closeWindow();
}
