#pragma once
// The main window: the preview, navigation, plotting and length controls,
// the menus, and the start-up and quit of the program. It builds the
// controls, keeps the window's state and composes the parts that do the
// work: video, plotting, length, data file, results, print and help,
// settings, recovery file. After every command it derives every control from
// the state, in one place (applyControlStates), and the recovery file follows
// the measurement.

#include "app/control_states.h"
#include "base/window_state.h"
#include "settings/settings_listener.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <utility>

class AxesPart;
class DataFilePart;
class DigitizingPart;
class LengthPart;
class PreviewWidget;
class PrintHelpPart;
class RecoveryPart;
class ResultsPart;
class SettingsPart;
class StrobePart;
class TrackingPart;
class VideoPart;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

class frmMain : public QMainWindow, public SettingsListener
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Controls, named as in the rest of the program (objectName is the same).
    QPushButton *cmdSpd = nullptr;
    QPushButton *cmdDis = nullptr;
    QPushButton *cmdCmp = nullptr; // velocity components and acceleration
    QPushButton *cmdMomentum = nullptr;
    QLabel *lblObject = nullptr;
    QComboBox *cmbObject = nullptr; // the object the clicks go to: Ａ to Ｄ
    QPushButton *cmdPos = nullptr; // position against time, and the fits
    QGroupBox *Frame1 = nullptr;
    QToolButton *cmdFwdFrame = nullptr;
    QToolButton *cmdBackFrame = nullptr;
    QToolButton *cmdPlay = nullptr;
    QToolButton *cmdStop = nullptr;
    QPushButton *cmdPlayer = nullptr;
    QGroupBox *fraPreviewControl = nullptr;
    QLabel *lblCount = nullptr;
    QLabel *lblFps2 = nullptr;
    QLabel *lblFPSValue = nullptr;
    QLabel *lblFPS = nullptr;
    QToolButton *cmdFPS = nullptr; // the rate the video was filmed at
    QLabel *lblCurrentTimeValue = nullptr;
    QLabel *lblCurrentTime = nullptr;
    QLabel *lblCurrentFrameValue = nullptr;
    QLabel *lblCurrentFrame = nullptr;
    QTimer *tmrWait = nullptr;
    QGroupBox *frmPlot = nullptr;
    QPushButton *cmdErase = nullptr;
    QPushButton *cmdProtDisp = nullptr;
    QPushButton *cmdTrack = nullptr;
    QPushButton *cmdStep = nullptr;
    QPushButton *cmdBack = nullptr;
    QLineEdit *txtRate = nullptr;
    QLabel *lblFlame = nullptr;
    QLabel *lblDistanse = nullptr;
    QGroupBox *frmLength = nullptr;
    QComboBox *cmbTanni = nullptr;
    QLineEdit *txtLengthValue = nullptr;
    QPushButton *cmdLength = nullptr;
    QLabel *lblLength = nullptr;
    QLabel *lblLength1 = nullptr;
    QGroupBox *frmAxes = nullptr;
    QLabel *lblAxes = nullptr;
    QPushButton *cmdAxes = nullptr;
    QTimer *tmrTimer = nullptr;
    QTimer *tmrPlay = nullptr;
    PreviewWidget *picPreview = nullptr;
    QLabel *lblKijun = nullptr;
    QSlider *ctrlSlider = nullptr;
    QLabel *lblHosei = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileLoad = nullptr;
    QAction *mnuFileSaveMeasurement = nullptr; // the whole measurement, every object
    QAction *mnuFileOpenMeasurement = nullptr;
    QAction *mnuFilePrint = nullptr;
    QAction *mnuFileEnd = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuEditSingle = nullptr;
    QAction *mnuEditAll = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuViewResult1 = nullptr;
    QAction *mnuViewResult2 = nullptr;
    QAction *mnuViewResult3 = nullptr;
    QAction *mnuViewMomentum = nullptr;
    QAction *mnuViewResult4 = nullptr;
    QAction *mnuViewStrobe = nullptr; // the strobe picture
    QAction *mnuViewMagnifier = nullptr; // "拡大鏡(&Z)", ticked while on
    QMenu *mnuSystem = nullptr;
    QAction *mnuSystemChenge = nullptr;
    QAction *mnuSystemDisp = nullptr;
    QAction *mnuSystemAxes = nullptr;
    QAction *mnuSystemAxesReset = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHowto = nullptr;
    QAction *mnuHelpAbout = nullptr;

    const WindowState &state() const { return m_state; }
    VideoPart &video() { return *m_video; }
    DigitizingPart &digitizing() { return *m_digitizing; }
    TrackingPart &tracking() { return *m_tracking; }
    LengthPart &length() { return *m_length; }
    AxesPart &axes() { return *m_axes; }
    ResultsPart &results() { return *m_results; }
    SettingsPart &settings() { return *m_settings; }
    RecoveryPart &recovery() { return *m_recovery; }
    StrobePart &strobe() { return *m_strobe; }

    // At start, once the window shows: the measurements left by copies of
    // the program that did not end normally are offered back.
    void offerRecovery();

    // Derives every control from the state and the current settings, and
    // shows them so. Runs after every command.
    void applyControlStates();
    // The settings dialog's "O  K" has put new settings in place.
    void settingsApplied() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    // A video file dropped onto the window opens like the open command
    // (src/app/frmMain_dragdrop.cpp).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // frmMain_controls.cpp
    void buildMenus();
    void buildControls();
    QWidget *buildRightColumn();
    void registerControls();

    void composeParts();
    // The start-up sequence: the readouts reset, the settings file read.
    // Runs when the window is made and again whenever a video is closed.
    void runStartUp();
    void runQuit();

    WindowState m_state;
    // The controls whose state applyControlStates() sets, by objectName.
    QHash<QString, QObject *> m_controls;
    // The preview's pointer as last set, and the screen scale it was drawn
    // for: the plotting pointer is painted anew only when either changes.
    std::optional<std::pair<PreviewCursor, qreal>> m_previewCursor;
    std::unique_ptr<VideoPart> m_video;
    std::unique_ptr<DigitizingPart> m_digitizing;
    std::unique_ptr<TrackingPart> m_tracking;
    std::unique_ptr<LengthPart> m_length;
    std::unique_ptr<AxesPart> m_axes;
    std::unique_ptr<DataFilePart> m_dataFile;
    std::unique_ptr<PrintHelpPart> m_printHelp;
    std::unique_ptr<ResultsPart> m_results;
    std::unique_ptr<SettingsPart> m_settings;
    std::unique_ptr<RecoveryPart> m_recovery;
    std::unique_ptr<StrobePart> m_strobe;
};
