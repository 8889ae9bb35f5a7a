#pragma once
// A small event filter that hands a widget's events to a function, for the
// few controls whose keys or clicks the main window handles itself. The hook
// is a child of the watched object and goes with it.

#include <QObject>
#include <functional>

class QEvent;

class EventHook : public QObject
{
public:
    // Returns true from `handler` to swallow the event.
    using Handler = std::function<bool(QEvent *)>;

    static EventHook *install(QObject *watched, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EventHook(QObject *watched, Handler handler);
    QObject *m_watched;
    Handler m_handler;
};
