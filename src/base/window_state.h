#pragma once
// What the user is doing in the main window right now, as one value. Every
// command changes it (through the transitions below where several fields
// move together) and the window then derives from it which controls are
// usable, shown and how they are captioned (app/control_states.h). No
// command switches a control itself, so no order of clicks can leave a
// control usable where it must not be.

#include <QPoint>
#include <QtGlobal>
#include <optional>

struct MeasurementState;

// The reference-length setting, from "長さの設定" to "設定終了".
enum class LengthPhase
{
    Off,
    FirstPoint,   // the setting has started: the next click is the first point
    SecondPoint,  // the first point is down, the rubber band follows the mouse
    TypingLength, // both points are down; a further click starts a new pair
};

// The axes setting, from "座標軸" to the second click (or Esc).
enum class AxesPhase
{
    Off,
    Origin, // the next click is the origin
    XPoint, // the origin is down; the next click is a point on the positive x axis
};

// The teacher's settings that decide which commands there are.
struct ControlSettings
{
    qint16 ResultDisplayMode = 0;
    qint16 ResultKindMode = 0;
    qint16 PrintPermission = 0;
    qint16 ClickAction = 1;
    qint16 AllPointsMode = 1;
    bool TrackingAllowed = true;
    bool ComponentsAllowed = true; // the velocity components window
    bool MomentumAllowed = true;
    bool PositionAllowed = true;   // the position window

    static ControlSettings of(const MeasurementState &state);
};

struct WindowState
{
    // A video is open: from a successful open to the next close.
    bool VideoOpen = false;
    LengthPhase LengthSettingMode = LengthPhase::Off;
    // The length setting has been used since the last start-up; "設定" then
    // replaces the first caption "長さの設定".
    bool LengthSettingUsed = false;
    // The measurement, and with it the length, was cleared while the setting
    // is on: the label then says that no length is set, not what to do.
    bool LengthClearedDuringSetting = false;
    AxesPhase AxesSettingMode = AxesPhase::Off;
    // Camera-shake correction: the object is clicked, its reference point is
    // awaited on the same frame.
    bool AwaitingShakeReference = false;
    bool AllPointsShown = false;
    // False during the short pause after each move, when clicks on the
    // preview are not taken.
    bool InputPauseOver = true;
    // Set by opening a video, loading a measurement and switching the
    // correction; the result commands then redraw the markers first.
    bool DataOpened = false;
    bool ShakeCorrectionOn = false;
    // Frame-by-frame playback (the play timer runs).
    bool Playing = false;
    // Automatic tracking is following the object.
    bool Tracking = false;
    // Where the "基準" label stands beside a shake reference point; hidden
    // when empty.
    std::optional<QPoint> KijunAt;
    // The magnifier is switched on (the user's own choice, kept apart from
    // the teacher's settings), and the pointer is over the picture.
    bool MagnifierOn = true;
    bool PointerOverPicture = false;

    // Facts of the measurement that decide controls, brought up to date by
    // refresh() before every derivation.
    bool LengthSet = false;          // an on-screen reference length is known
    bool FramePointComplete = false; // the frame on show has a finished point
    bool AnyPoints = false;          // some object has points
    int PointsPlotted = 0;
    std::optional<double> AxesAngle; // set axes: the x axis' angle in degrees
    ControlSettings Settings;

    bool lengthSetting() const { return LengthSettingMode != LengthPhase::Off; }
    bool axesSetting() const { return AxesSettingMode != AxesPhase::Off; }
    // A click on the picture marks a setting's point, not the object.
    bool settingOnPicture() const { return lengthSetting() || axesSetting(); }
    // The frame cannot change: a mode is on that belongs to the frame on show.
    bool frameHeld() const
    {
        return settingOnPicture() || AwaitingShakeReference || AllPointsShown || Tracking;
    }
    // Moving through the video is possible.
    bool navigationFree() const { return VideoOpen && !frameHeld(); }
    // A click on the preview is taken.
    bool acceptsClicks() const { return VideoOpen && InputPauseOver && !Tracking; }

    // A new video replaces the old one: every mode of the old one ends.
    void videoOpened();
    // Back to the state after start-up.
    void videoClosed();
    // The measurement was cleared, replaced or its correction switched: no
    // point is half made any more, and no length set.
    void measurementReplaced();
    // Frame-by-frame playback stops whenever the frame is held.
    void holdFrame();

    void refresh(const MeasurementState &measurement, bool framePointComplete);
};
