#include "core/window/MainWindowPlacement.h"

#include "core/settings/TQWOptions.h"
#include "core/window/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void MainWindowPlacement::apply(QWidget* window, const TQWOptions& options, bool fullScreen)
{
    if (options.Maximized())
    {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return;
    }
    if (fullScreen)
        return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect stored(options.Left(), options.Top(), options.Width(), options.Height());
    const QRect placed = WindowPlacement::visibleRect(stored, screens);
    window->move(placed.topLeft());
    window->resize(placed.size());
}

void MainWindowPlacement::store(const QWidget* window, TQWOptions& options, bool fullScreen)
{
    options.SetMaximized(!fullScreen && window->isMaximized());
    if (window->isMaximized() || fullScreen)
        return;
    const QRect frame =
        window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    options.SetTop(WindowPlacement::storedCoordinate(window->pos().y()));
    options.SetHeight(WindowPlacement::storedCoordinate(frame.height()));
    options.SetLeft(WindowPlacement::storedCoordinate(window->pos().x()));
    options.SetWidth(WindowPlacement::storedCoordinate(frame.width()));
}
