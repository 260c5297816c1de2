#include "core/engine/TPageFullScreen.h"

#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

namespace
{
struct Saved
{
    QPointer<QWidget> window;
    Qt::WindowStates previous;
    QPointer<QShortcut> escape;
    QMetaObject::Connection viewGone;
};

QHash<const QWidget*, Saved>& saved()
{
    static QHash<const QWidget*, Saved> windows;
    // A window that went away while full screen leaves nothing to restore.
    for (auto it = windows.begin(); it != windows.end();)
    {
        if (it->window.isNull())
            it = windows.erase(it);
        else
            ++it;
    }
    return windows;
}

void restore(QWidget* window)
{
    auto& windows = saved();
    const auto it = windows.find(window);
    if (it == windows.end())
        return;
    const Saved state = *it;
    windows.erase(it);
    QObject::disconnect(state.viewGone);
    delete state.escape.data();
    window->setWindowState(state.previous);
    window->show();
}
} // namespace

void TPageFullScreen::enter(QWidget* view, std::function<void()> exitRequest)
{
    if (!view)
        return;
    QWidget* window = view->window();
    auto& windows = saved();
    if (windows.contains(window))
        return;

    Saved state;
    state.window = window;
    state.previous = window->windowState();
    state.escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    state.escape->setContext(Qt::WindowShortcut);
    QPointer<QWidget> viewGuard(view);
    QObject::connect(state.escape, &QShortcut::activated, window,
                     [window, viewGuard, exitRequest]
                     {
                         if (exitRequest)
                             exitRequest();
                         else if (viewGuard)
                             leave(viewGuard);
                         else
                             restore(window);
                     });
    // Queued: the view may be going because its window is being destroyed,
    // and a window being destroyed drops the queued call with its events.
    state.viewGone =
        QObject::connect(view, &QObject::destroyed, window,
                         [window]
                         {
                             QMetaObject::invokeMethod(
                                 window, [window] { restore(window); }, Qt::QueuedConnection);
                         });
    windows.insert(window, state);
    window->setWindowState((state.previous & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                           Qt::WindowFullScreen);
    window->show();
}

void TPageFullScreen::leave(QWidget* view)
{
    if (view)
        restore(view->window());
}

bool TPageFullScreen::isActive(const QWidget* window)
{
    return saved().contains(window);
}
