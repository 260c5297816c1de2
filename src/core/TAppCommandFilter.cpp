#include "core/TAppCommandFilter.h"

#include <QKeyEvent>
#include <QMouseEvent>

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

bool TAppCommandFilter::eventFilter(QObject* watched, QEvent* event)
{
    AppCommand found = None;
    if (event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        found = commandForKey(key->key(), key->modifiers());
    }
    else if (event->type() == QEvent::MouseButtonPress)
        found = commandForMouseButton(static_cast<QMouseEvent*>(event)->button());

    if (found != None && event != m_lastEvent)
    {
        m_lastEvent = event;
        emit command(found);
    }
    return QObject::eventFilter(watched, event);
}
