#pragma once
// The main window: the preview, navigation, plotting and length controls,
// the menus, and the start-up and quit of the program. It wires controls to
// the classes that do the work and keeps as little logic as it can.

#include <QMainWindow>
#include <QPointer>
#include <memory>

class FrameSource;
class PreviewWidget;
class MarkerSet;
struct DigitizingState;
struct KijunPlacement;
struct ReferenceDrawing;
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

    // Video (src/video/frmMain_video.cpp): opening and closing, the frame in
    // the preview, moving through the frames and the continuous player.
    void OpenVideo();                        // the open dialog, then openVideoFile()
    bool openVideoFile(const QString &path); // false: no usable video, nothing changed
    void CloseVideo();
    void SetVideoTiming(double streamLength, double frameRate);
    double CurrentFrameTime() const;
    void RenderCurrentFrame(); // the refresh tick: renders when FrameRefreshPending is set
    void ShowPositionLabels();
    // The short pause after each move: the wait cursor, InputPauseOver false
    // until the next tmrWait tick brings the plotting cursor back.
    void BeginInputPause();
    void cmdPlayer_Click();
    FrameSource *frameSource() const; // the open video's; null before the first

    // Digitizing (src/digitize/frmMain_digitizing.cpp): clicks on the
    // preview, markers, reference length, camera-shake correction, erasing.
    // The preview's plotting pointer is plotting_cursor::cursor()
    // (digitize/plotting_cursor.h).
    void ClearMeasurement();  // points, markers and on-screen length gone
    void ResetMarkers();      // every marker hidden, sizes and colours reset
    void ShowFrameMarkers();  // highlight the current frame's point
    void ShowAllMarkers();    // every point as rings
    void EnableNavigation();  // slider, frame buttons, step, erase, all-points, player
    void DisableNavigation();
    // Markers for points 1..PointCount (after the point table was filled
    // from elsewhere, e.g. a measurement file), then all markers hidden.
    void PrepareMarkers();
    // For opening a video: the length setting off without finishing it, no
    // half-made camera-shake pair, the length drawings gone.
    void ResetDigitizing();
    // The red dots, line and rubber band gone from the preview; the frame
    // and the markers stay.
    void ClearPreviewDrawing();
    void cmdProtDisp_Click(); // the all-points display on / off
    MarkerSet &markerSet();
    DigitizingState &digitizingState();
    const ReferenceDrawing &referenceDrawing() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    // A video file dropped onto the window opens like the open command
    // (src/app/frmMain_dragdrop.cpp).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Each subsystem connects its controls in its own file (frmMain_<name>.cpp)
    // and keeps its own state there.
    void wireVideo();
    struct Video;
    std::shared_ptr<Video> m_video;
    void moveBy(double frames, bool stepButton);
    void showMarkersAndPause();
    void ctrlSlider_Scroll();
    void tmrWait_Timer();
    void playerPausedAt(qint32 seconds);
    void setSliderQuietly(qint32 position);
    void wireDigitizing();
    struct Digitizing;
    std::shared_ptr<Digitizing> m_digitizing;
    void picPreview_MouseDown(QPointF position);
    void picPreview_MouseMove(QPointF position);
    void plotClick(QPointF position);
    void referenceClick(QPointF position);
    void cmdLength_Click();
    void cmdErase_Click();
    void mnuEditSingle_Click();
    void mnuEditAll_Click();
    void mnuSystemChenge_Click();
    void applyKijun(const KijunPlacement &placement);
    void hideKijun();
    void advanceAfterPoint();
    void wireResults();
    void wireDataFile();
    void wireSettings();
    void wirePrintHelp();
    void wireDragDrop();

    void buildMenus();
    void buildControls();
    QWidget *buildRightColumn();
    void runQuit();
};
