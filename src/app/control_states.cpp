#include "app/control_states.h"

#include "base/coordinate_axes.h"

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

ControlState usable(bool enabled, bool visible = true)
{
    ControlState c;
    c.enabled = enabled;
    c.visible = visible;
    return c;
}

ControlState captioned(bool enabled, const QString &caption, bool visible = true)
{
    ControlState c = usable(enabled, visible);
    c.caption = caption;
    return c;
}

ControlState label(const QString &caption, const QColor &colour)
{
    ControlState c = captioned(true, caption);
    c.textColour = colour;
    return c;
}

struct ResultCommands
{
    bool speed = false;
    bool distance = false;
};

// The result commands the teacher's settings allow.
ResultCommands resultCommands(const ControlSettings &s)
{
    if (s.ResultDisplayMode == 3)
        return {false, false};
    switch (s.ResultKindMode) {
    case 1:
        return {false, true};
    case 2:
        return {true, true};
    default:
        // 0, and any value the settings file cannot hold: the speed result.
        return {true, false};
    }
}

QString lengthButtonCaption(const WindowState &s)
{
    if (s.lengthSetting())
        return captions::lengthFinish();
    return s.LengthSettingUsed ? captions::lengthAgain() : captions::lengthStart();
}

ControlState lengthLabel(const WindowState &s)
{
    if (s.lengthSetting() && !s.LengthClearedDuringSetting)
        return label(captions::lengthInstruction(), kBlue);
    if (s.LengthSet)
        return label(captions::lengthIsSet(), kBlue);
    return label(captions::lengthNotSet(), kRed);
}

ControlState axesLabel(const WindowState &s)
{
    if (s.AxesSettingMode == AxesPhase::Origin)
        return label(captions::axesOriginInstruction(), kBlue);
    if (s.AxesSettingMode == AxesPhase::XPoint)
        return label(captions::axesDirectionInstruction(), kBlue);
    if (s.AxesAngle)
        return label(xAxisAngleText(*s.AxesAngle), kBlue);
    return label(captions::axesDefault(), kBlue);
}

} // namespace

const ControlState &MainControlStates::operator[](const QString &name) const
{
    static const ControlState missing;
    const auto it = controls.constFind(name);
    return it == controls.constEnd() ? missing : *it;
}

MainControlStates controlStatesFor(const WindowState &s)
{
    MainControlStates out;
    QMap<QString, ControlState> &c = out.controls;
    const bool video = s.VideoOpen;
    const bool free = s.navigationFree();
    const bool idle = !s.Tracking;
    const bool pairPending = s.AwaitingShakeReference;

    for (const char *name : {"ctrlSlider", "cmdBackFrame", "cmdFwdFrame", "cmdPlay", "cmdStop",
                             "cmdBack", "cmdStep", "cmdErase", "cmdPlayer"})
        c[QLatin1String(name)] = usable(free);

    // The rate the video was filmed at belongs to the open video.
    c["cmdFPS"] = usable(video && idle);

    // The all-points button also ends its own display, so it stays usable
    // (and shown) while the display is on.
    c["cmdProtDisp"] =
        captioned(video && !s.settingOnPicture() && !pairPending && idle,
                  s.AllPointsShown ? captions::allPointsStop() : captions::allPointsShow(),
                  s.Settings.AllPointsMode != 1 || s.AllPointsShown);

    c["cmdLength"] =
        captioned(video && !pairPending && !s.AllPointsShown && idle && !s.axesSetting(),
                  lengthButtonCaption(s));
    // The axes are set like the length, and never both at once; the button
    // also ends its own setting.
    const bool axesStart = video && !pairPending && !s.AllPointsShown && idle && !s.lengthSetting();
    c["cmdAxes"] =
        captioned(axesStart, s.axesSetting() ? captions::axesCancel() : captions::axesStart());
    c["mnuSystemAxes"] = usable(axesStart && !s.axesSetting());
    c["mnuSystemAxesReset"] = usable(s.AxesAngle.has_value() && !s.axesSetting() && idle);
    c["lblAxes"] = axesLabel(s);
    for (const char *name : {"lblLength1", "txtLengthValue", "cmbTanni"})
        c[QLatin1String(name)] = usable(true, s.lengthSetting());
    c["lblLength"] = lengthLabel(s);

    c["lblHosei"] =
        label(captions::shakeCorrection(s.ShakeCorrectionOn), s.ShakeCorrectionOn ? kRed : kBlue);
    c["lblHosei"].enabled = idle;
    c["mnuSystemChenge"] = usable(idle);

    c["cmdTrack"] = captioned(s.Tracking || (free && s.FramePointComplete),
                              s.Tracking ? captions::trackStop() : captions::trackStart(),
                              s.Settings.TrackingAllowed);

    // A camera-shake pair is finished, or ended by erasing its point or by
    // switching the correction; nothing else may begin meanwhile.
    c["mnuFileOpen"] = usable(!pairPending && idle);
    c["mnuFileClose"] = usable(video && !pairPending && idle);
    c["mnuFileSave"] = usable(idle);
    c["mnuFileLoad"] = usable(!s.settingOnPicture() && !pairPending && idle);
    const bool printAllowed = s.Settings.PrintPermission != 2 && s.Settings.PrintPermission != 3;
    c["mnuFilePrint"] = usable(printAllowed && !pairPending && idle);
    c["mnuFileSaveMeasurement"] = usable(idle && s.AnyPoints);
    c["mnuFileOpenMeasurement"] = usable(!s.lengthSetting() && !pairPending && idle);
    // The object can change wherever its points are not half made.
    for (const char *name : {"cmbObject", "lblObject"})
        c[QLatin1String(name)] =
            usable((video || s.AnyPoints) && !s.lengthSetting() && !pairPending && idle);
    c["mnuFileEnd"] = usable(true);
    c["mnuEditSingle"] = usable(idle);
    c["mnuEditAll"] = usable(idle);

    const ResultCommands results = resultCommands(s.Settings);
    c["mnuViewResult1"] = usable(results.speed && idle);
    c["cmdSpd"] = usable(idle, results.speed);
    c["mnuViewResult2"] = usable(results.distance && idle);
    c["cmdDis"] = usable(idle, results.distance);
    // The components window is a result window too: "表もグラフも表示しない"
    // leaves it out like the others.
    const bool components = s.Settings.ComponentsAllowed && s.Settings.ResultDisplayMode != 3;
    c["mnuViewResult3"] = usable(components && idle);
    c["cmdCmp"] = usable(idle, components);
    const bool momentum = s.Settings.MomentumAllowed && s.Settings.ResultDisplayMode != 3;
    c["mnuViewMomentum"] = usable(momentum && idle);
    c["cmdMomentum"] = usable(idle, momentum);
    // The strobe picture needs the video and two copies at least.
    c["mnuViewStrobe"] = usable(video && s.PointsPlotted >= 2 && !pairPending && idle);

    c["mnuViewMagnifier"] = usable(true);
    c["mnuViewMagnifier"].checked = s.MagnifierOn;
    out.keyboardAiming = video && idle;
    out.magnifierShown = out.keyboardAiming && s.MagnifierOn && s.PointerOverPicture;
    out.magnifierWholePixels = !s.lengthSetting();
    const bool position = s.Settings.PositionAllowed && s.Settings.ResultDisplayMode != 3;
    c["mnuViewResult4"] = usable(position && idle);
    c["cmdPos"] = usable(idle, position);

    c["mnuSystemDisp"] = usable(idle);
    c["mnuHelpHowto"] = usable(true);
    c["mnuHelpAbout"] = usable(true);

    if (!video)
        out.previewCursor = PreviewCursor::Arrow;
    else if (s.Tracking || !s.InputPauseOver)
        out.previewCursor = PreviewCursor::Wait;
    else
        out.previewCursor = PreviewCursor::Plotting;
    out.playTimerRuns = s.Playing && free;
    out.kijunAt = s.KijunAt;
    return out;
}

namespace captions {
QString lengthStart()
{
    return QStringLiteral("長さの設定");
}
QString lengthAgain()
{
    return QStringLiteral("設定");
}
QString lengthFinish()
{
    return QStringLiteral("設定終了");
}
QString lengthInstruction()
{
    return QStringLiteral("　映像の画面から基準となる２点クリックし、長さを入力してください。");
}
QString lengthNotSet()
{
    return QStringLiteral("長さは設定されていません");
}
QString lengthIsSet()
{
    return QStringLiteral("長さは設定されています");
}
QString allPointsShow()
{
    return QStringLiteral("全打点表示");
}
QString allPointsStop()
{
    return QStringLiteral("全表示停止");
}
QString shakeCorrection(bool on)
{
    return QStringLiteral("手ぶれ補正\r\n") +
           (on ? QStringLiteral("ＯＮ") : QStringLiteral("ＯＦＦ"));
}
QString trackStart()
{
    return QStringLiteral("自動追跡");
}
QString trackStop()
{
    return QStringLiteral("追跡停止");
}
QString axesStart()
{
    return QStringLiteral("座標軸");
}
QString axesCancel()
{
    return QStringLiteral("中止");
}
QString axesOriginInstruction()
{
    return QStringLiteral(
        "　映像の画面で原点をクリックし、次にx軸の正の向きの点をクリックしてください。"
        "（Escで中止）");
}
QString axesDirectionInstruction()
{
    return QStringLiteral("　x軸の正の向きの点をクリックしてください。（Escで中止）");
}
QString axesDefault()
{
    return QStringLiteral("原点は最初の打点、x軸は右向き、y軸は上向きです");
}
} // namespace captions
