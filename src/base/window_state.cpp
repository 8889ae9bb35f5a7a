#include "base/window_state.h"

#include "base/measurement_objects.h"
#include "base/measurement_state.h"

ControlSettings ControlSettings::of(const MeasurementState &state)
{
    ControlSettings s;
    s.ResultDisplayMode = state.ResultDisplayMode;
    s.ResultKindMode = state.ResultKindMode;
    s.PrintPermission = state.PrintPermission;
    s.ClickAction = state.ClickAction;
    s.AllPointsMode = state.AllPointsMode;
    s.TrackingAllowed = state.TrackingPermission == 0;
    s.ComponentsAllowed = state.ComponentsPermission == 0;
    s.MomentumAllowed = state.MomentumPermission == 0;
    s.PositionAllowed = state.PositionPermission == 0;
    return s;
}

void WindowState::videoOpened()
{
    VideoOpen = true;
    LengthSettingMode = LengthPhase::Off;
    AxesSettingMode = AxesPhase::Off;
    AwaitingShakeReference = false;
    AllPointsShown = false;
    ShakeCorrectionOn = false;
    Tracking = false;
    DataOpened = true;
    KijunAt.reset();
}

void WindowState::videoClosed()
{
    VideoOpen = false;
    LengthSettingMode = LengthPhase::Off;
    LengthSettingUsed = false;
    AxesSettingMode = AxesPhase::Off;
    AwaitingShakeReference = false;
    AllPointsShown = false;
    // The start-up shows the correction off; the state says the same.
    ShakeCorrectionOn = false;
    Playing = false;
    Tracking = false;
    // Nothing to plot on any more: no input pause either.
    InputPauseOver = true;
    KijunAt.reset();
}

void WindowState::measurementReplaced()
{
    if (lengthSetting())
        LengthClearedDuringSetting = true;
    AwaitingShakeReference = false;
    Tracking = false;
}

void WindowState::holdFrame()
{
    Playing = false;
}

void WindowState::refresh(const MeasurementState &measurement, bool framePointComplete)
{
    LengthSet = measurement.RefLengthPixels != 0;
    AxesAngle.reset();
    if (measurement.Axes.set)
        AxesAngle = xAxisAngle(measurement.Axes);
    FramePointComplete = framePointComplete;
    AnyPoints = objects::objectsWithPoints(measurement) > 0;
    PointsPlotted = measurement.PointCount;
    Settings = ControlSettings::of(measurement);
    if (frameHeld())
        holdFrame();
}
