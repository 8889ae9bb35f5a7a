#include "platform/qt_event_hook.h"

EventHook::EventHook(QObject *watched, Handler handler)
    : QObject(watched), m_watched(watched), m_handler(std::move(handler))
{
}

EventHook *EventHook::install(QObject *watched, Handler handler)
{
    auto *hook = new EventHook(watched, std::move(handler));
    watched->installEventFilter(hook);
    return hook;
}

bool EventHook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watched && m_handler)
        return m_handler(event);
    return QObject::eventFilter(watched, event);
}
