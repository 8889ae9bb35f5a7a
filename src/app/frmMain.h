#pragma once
// The main window: the preview, navigation, plotting and length controls,
// the menus, and the start-up and quit of the program. It wires controls to
// the classes that do the work and keeps as little logic as it can.

#include <QMainWindow>
#include <QPointer>

class PreviewWidget;
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

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Controls, named as in the rest of the program (objectName is the same).
    QPushButton *cmdSpd = nullptr;
    QPushButton *cmdDis = nullptr;
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
    QLabel *lblCurrentTimeValue = nullptr;
    QLabel *lblCurrentTime = nullptr;
    QLabel *lblCurrentFrameValue = nullptr;
    QLabel *lblCurrentFrame = nullptr;
    QTimer *tmrWait = nullptr;
    QGroupBox *frmPlot = nullptr;
    QPushButton *cmdErase = nullptr;
    QPushButton *cmdProtDisp = nullptr;
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
    QAction *mnuFilePrint = nullptr;
    QAction *mnuFileEnd = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuEditSingle = nullptr;
    QAction *mnuEditAll = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuViewResult1 = nullptr;
    QAction *mnuViewResult2 = nullptr;
    QMenu *mnuSystem = nullptr;
    QAction *mnuSystemChenge = nullptr;
    QAction *mnuSystemDisp = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpHowto = nullptr;
    QAction *mnuHelpAbout = nullptr;

    // Main-window state.
    bool VideoOpen = false;
    bool ShakeCorrectionOn = false;
    bool AllPointsShown = false;
    bool DataOpened = false;
    bool LengthSettingMode = false;
    bool InputPauseOver = true;
    QString ChosenFilePath;

    // Windows this one closes when the video changes and at quit.
    QPointer<QWidget> PlayerWindow;
    QPointer<QWidget> Result1Window;
    QPointer<QWidget> Result2Window;
    // The password dialog while it is open ("環境設定" brings it forward).
    QPointer<QWidget> PasswordWindow;

    // The start-up sequence: controls into the no-video state, the settings
    // file read, the result and print commands set from the settings. Runs
    // when the window is made and again whenever a video is closed.
    void runStartUp();

    // Shows or hides the all-points button, the print command and the result
    // commands as the current settings say.
    void applySettingsToControls();

    // Sets the length label to "not set" in red.
    void showLengthNotSet();
    // "手ぶれ補正" over "ＯＮ" in red or "ＯＦＦ" in blue.
    void showShakeCorrection(bool on);

    void closePlayerAndResultWindows();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Each subsystem connects its controls in its own file (frmMain_<name>.cpp)
    // and keeps its own state there.
    void wireVideo();
    void wireDigitizing();
    void wireResults();
    void wireDataFile();
    void wireSettings();
    void wirePrintHelp();

    void buildMenus();
    void buildControls();
    QWidget *buildRightColumn();
    void runQuit();
};
