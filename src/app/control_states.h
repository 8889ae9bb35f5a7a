#pragma once
// What every control of the main window shows, derived from the window's
// state alone: enabled or not, shown or hidden, and the caption and colour
// of the controls whose caption follows the state. The window applies the
// result after every command (frmMain::applyControlStates), in one place.

#include "base/window_state.h"

#include <QColor>
#include <QMap>
#include <QString>
#include <optional>

struct ControlState
{
    bool enabled = true;
    bool visible = true;
    std::optional<QString> caption;
    std::optional<QColor> textColour;
    std::optional<bool> checked; // a menu item with a tick
};

enum class PreviewCursor
{
    Arrow,    // no video: nothing to plot on
    Wait,     // the short pause after a move, or tracking at work
    Plotting, // the cross-hair that marks the pixel a click plots
};

struct MainControlStates
{
    // By objectName: the main window's buttons, labels, boxes and menu items.
    QMap<QString, ControlState> controls;
    PreviewCursor previewCursor = PreviewCursor::Arrow;
    bool playTimerRuns = false;
    std::optional<QPoint> kijunAt;
    // The aids for aiming on the picture: in a clicking mode the keys aim
    // and click; the magnifier shows there while the pointer is over it,
    // aimed at whole preview pixels except while a length is set (those
    // clicks keep the pointer's own place).
    bool keyboardAiming = false;
    bool magnifierShown = false;
    bool magnifierWholePixels = true;

    const ControlState &operator[](const QString &name) const;
};

MainControlStates controlStatesFor(const WindowState &state);

// Captions and label texts that follow the state.
namespace captions {
QString lengthStart();       // "長さの設定"
QString lengthAgain();       // "設定"
QString lengthFinish();      // "設定終了"
QString lengthInstruction(); // "　映像の画面から基準となる２点クリックし、長さを入力してください。"
QString lengthNotSet();      // "長さは設定されていません"
QString lengthIsSet();       // "長さは設定されています"
QString allPointsShow();     // "全打点表示"
QString allPointsStop();     // "全表示停止"
QString shakeCorrection(bool on);   // "手ぶれ補正" CR LF "ＯＮ" / "ＯＦＦ"
QString trackStart();               // "自動追跡"
QString trackStop();                // "追跡停止"
QString axesStart();                // "座標軸"
QString axesCancel();               // "中止"
QString axesOriginInstruction();    // the origin first, then the x axis' point
QString axesDirectionInstruction(); // the x axis' point
QString axesDefault();              // what the axes are without a setting
} // namespace captions
