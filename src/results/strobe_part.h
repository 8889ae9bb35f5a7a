#pragma once
// The main window's "ストロボ写真(&T)": a strobe picture window for the open
// video and the plotted points, with a frame source of its own on the same
// file. Each opening makes a fresh window; the part closes it when the video
// or the measurement it was made from goes.

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;
class VideoPart;
struct WindowState;

struct StrobeControls
{
    QWidget *window = nullptr; // the strobe window's owner
    QAction *command = nullptr;
};

class StrobePart : public QObject
{
    Q_OBJECT
public:
    StrobePart(WindowState &state, VideoPart &video, const StrobeControls &controls,
               QObject *parent = nullptr);

    void showStrobe();
    void closeWindow();
    QPointer<QWidget> &strobeWindow() { return m_window; }

signals:
    void changed();

private:
    WindowState &m_state;
    VideoPart &m_video;
    StrobeControls m_c;
    QPointer<QWidget> m_window;
};
