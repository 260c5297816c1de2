#include "core/window/TAppCommandFilter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

TAppCommandFilter::TAppCommandFilter(QObject* parent) : QObject(parent) {}

TAppCommandFilter::AppCommand TAppCommandFilter::commandForKey(int key,
                                                               Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return None;
    switch (key)
    {
    case Qt::Key_Back:
        return Back;
    case Qt::Key_Forward:
        return Forward;
    case Qt::Key_Refresh:
        return Refresh;
    case Qt::Key_Search:
        return Search;
    case Qt::Key_Favorites:
        return Favorites;
    case Qt::Key_HomePage:
        return Home;
    default:
        return None;
    }
}

TAppCommandFilter::AppCommand TAppCommandFilter::commandForMouseButton(Qt::MouseButton button)
{
    switch (button)
    {
    case Qt::BackButton:
        return Back;
    case Qt::ForwardButton:
        return Forward;
    default:
        return None;
    }
}

bool TAppCommandFilter::continuesLastDelivery(const QObject* watched, const QEvent* event) const
{
    if (!m_last.receiver || event->type() != m_last.type)
        return false;
    const auto* input = static_cast<const QInputEvent*>(event);
    if (input->timestamp() != m_last.timestamp)
        return false;
    // A key event travels as one object; a mouse event is copied per step.
    if (event->type() == QEvent::KeyPress)
    {
        if (event != m_last.event ||
            static_cast<const QKeyEvent*>(event)->key() != m_last.keyOrButton)
            return false;
    }
    else if (int(static_cast<const QMouseEvent*>(event)->button()) != m_last.keyOrButton)
        return false;

    // Every press starts at a window or a widget; only widgets continue one.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget)
        return false;
    if (const auto* window = qobject_cast<const QWindow*>(m_last.receiver.data()))
        return widget->window()->windowHandle() == window;
    const auto* previous = qobject_cast<const QWidget*>(m_last.receiver.data());
    return previous && widget != previous && widget->isAncestorOf(previous);
}

bool TAppCommandFilter::eventFilter(QObject* watched, QEvent* event)
{
    AppCommand found = None;
    int keyOrButton = 0;
    if (event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        found = commandForKey(key->key(), key->modifiers());
        keyOrButton = key->key();
    }
    else if (event->type() == QEvent::MouseButtonPress)
    {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        found = commandForMouseButton(mouse->button());
        keyOrButton = int(mouse->button());
    }
    else
        return QObject::eventFilter(watched, event);

    const bool continued = continuesLastDelivery(watched, event);
    m_last = {event, event->type(), static_cast<QInputEvent*>(event)->timestamp(), keyOrButton,
              watched};
    if (found != None && !continued)
        emit command(found);
    return QObject::eventFilter(watched, event);
}
