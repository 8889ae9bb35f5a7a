#pragma once
// The main window's axes setting: "座標軸" (or 設定 → 座標軸の設定) starts
// it, a click on the picture puts the origin and a second one a point on the
// positive x axis; Esc or "中止" ends it without new axes, and
// "座標軸を元に戻す" goes back to the default axes. Set axes are drawn over
// the picture.

#include "digitize/axes_setting.h"

#include <QObject>

class PreviewWidget;
class QAbstractButton;
class QAction;
class QShortcut;
class QWidget;
class VideoPart;
struct WindowState;

struct AxesControls
{
    QWidget *window = nullptr; // where Esc is taken
    PreviewWidget *preview = nullptr;
    QAbstractButton *axesButton = nullptr;
    QAction *setCommand = nullptr;
    QAction *resetCommand = nullptr;
};

class AxesPart : public QObject
{
    Q_OBJECT
public:
    AxesPart(WindowState &state, VideoPart &video, const AxesControls &controls,
             QObject *parent = nullptr);

    void start();
    void cancel();
    void reset();
    // The setting's dot and band, and the set axes, over the frame on show.
    void paint(QPainter &painter) const;

signals:
    void changed();

private:
    void click(QPointF position);
    QPointF offset() const;

    WindowState &m_state;
    VideoPart &m_video;
    AxesControls m_c;
    AxesSetting m_setting;
    QShortcut *m_escape = nullptr;
};
