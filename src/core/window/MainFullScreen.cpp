#include "core/window/MainFullScreen.h"

#include "core/settings/TQWOptions.h"
#include "core/window/MainViewSettings.h"
#include "core/window/MainWindowPlacement.h"
#include "core/window/WindowPlacement.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <QWindow>
#include <QWindowStateChangeEvent>

MainFullScreen::MainFullScreen(QMainWindow* window, TQWOptions* options,
                               MainViewSettings* viewSettings, IBarsHost* bars)
    : QObject(window), m_window(window), m_options(options), m_viewSettings(viewSettings),
      m_bars(bars)
{
    m_window->installEventFilter(this);
}

bool MainFullScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Show)
        WatchWindowSystem();
    else if (watched == m_watched && event->type() == QEvent::WindowStateChange &&
             event->spontaneous())
        WindowSystemStateChanged(m_watched->windowStates());
    return QObject::eventFilter(watched, event);
}

void MainFullScreen::WatchWindowSystem()
{
    QWindow* handle = m_window->windowHandle();
    if (!handle || handle == m_watched)
        return;
    m_watched = handle;
    handle->installEventFilter(this);
}

void MainFullScreen::WindowSystemStateChanged(Qt::WindowStates states)
{
    if (!IsFullScreen())
        return;
    if (states & Qt::WindowFullScreen)
        m_shownFullScreen = true;
    else if (m_shownFullScreen && !(states & Qt::WindowMinimized))
        SetFullScreen(false);
}

WindowView MainFullScreen::CurrentView() const
{
    WindowView view;
    view.maximized = m_window->isMaximized();
    view.normalGeometry = view.maximized && m_window->normalGeometry().isValid()
                              ? m_window->normalGeometry()
                              : m_window->geometry();
    view.framePosition = view.maximized ? view.normalGeometry.topLeft() : m_window->pos();
    view.statusBar = !m_window->statusBar()->isHidden();
    view.menuBand = m_bars->BandVisible(IBarsHost::MenuBand);
    view.toolBand = m_bars->BandVisible(IBarsHost::ToolBand);
    return view;
}

void MainFullScreen::SetFullScreen(bool on)
{
    if (m_viewSettings->FullScreen() != on)
        m_viewSettings->SetFullScreen(on);
    const std::optional<FullScreenChange> change =
        on ? m_state.Enter(CurrentView(), m_options->FullscreenStatusBar(),
                           m_options->FullscreenMenuBar())
           : m_state.Leave(CurrentView());
    if (change)
    {
        m_shownFullScreen = false;
        WatchWindowSystem();
        Apply(*change);
        return;
    }
    // Already so: only the item and the button may have been clicked out of step.
    SetItemChecked(IBarsHost::FullScreenItem, on);
    m_bars->SetFullScreenButtonDown(on);
}

void MainFullScreen::Toggle()
{
    SetFullScreen(!IsFullScreen());
}

void MainFullScreen::ShowStatusBar(bool on)
{
    m_window->statusBar()->setVisible(on);
    SetItemChecked(IBarsHost::ViewStatusBarItem, on);
    if (const std::optional<bool> write = m_state.SettingForToggle(on))
        m_options->SetFullscreenStatusBar(*write);
}

void MainFullScreen::MenuBarToggled(bool on)
{
    m_bars->SetBandVisible(IBarsHost::MenuBand, on);
    SetItemChecked(IBarsHost::ViewMenuBarItem, on);
    SetItemChecked(IBarsHost::CustomizeViewMenubarItem, on);
    if (const std::optional<bool> write = m_state.SettingForToggle(on))
        m_options->SetFullscreenMenuBar(*write);
}

void MainFullScreen::Apply(const FullScreenChange& change)
{
    if (change.writeFullscreenStatusBar)
        m_options->SetFullscreenStatusBar(*change.writeFullscreenStatusBar);
    if (change.writeFullscreenMenuBar)
        m_options->SetFullscreenMenuBar(*change.writeFullscreenMenuBar);

    const bool updates = m_window->updatesEnabled();
    m_window->setUpdatesEnabled(false);
    SetItem(IBarsHost::ViewToolbarItem, change.toolbarItemsVisible, change.toolbarItemsChecked);
    SetItem(IBarsHost::CustomizeViewToolbarItem, change.toolbarItemsVisible,
            change.toolbarItemsChecked);
    SetItem(IBarsHost::ViewMenuBarItem, change.viewMenuBarVisible, change.menuBarItemsChecked);
    SetItem(IBarsHost::CustomizeViewMenubarItem, change.customizeMenubarVisible,
            change.menuBarItemsChecked);
    m_window->statusBar()->setVisible(change.statusBar);
    SetItemChecked(IBarsHost::ViewStatusBarItem, change.statusBar);
    m_bars->SetBandVisible(IBarsHost::MenuBand, change.menuBand);
    m_bars->SetBandVisible(IBarsHost::ToolBand, change.toolBand);
    SetItemChecked(IBarsHost::FullScreenItem, change.fullScreenChecked);
    m_bars->SetFullScreenButtonDown(change.fullScreenChecked);
    ApplyWindowMode(change);
    if (change.reapplyBands)
        m_bars->ApplyBandsFromViewMenu();
    m_window->setUpdatesEnabled(updates);
}

void MainFullScreen::ApplyWindowMode(const FullScreenChange& change)
{
    // A minimized window keeps that bit: it comes back in the new mode.
    const Qt::WindowStates kept = m_window->windowState() & Qt::WindowMinimized;
    switch (change.mode)
    {
    case FullScreenChange::FullScreen:
        m_window->setWindowState(kept | Qt::WindowFullScreen);
        break;
    case FullScreenChange::Maximized:
        m_window->setWindowState(kept | Qt::WindowMaximized);
        break;
    case FullScreenChange::Normal:
        m_window->setWindowState(kept);
        if (change.geometry.isValid())
            m_window->setGeometry(change.geometry);
        break;
    }
}

void MainFullScreen::SetItem(IBarsHost::Item item, bool visible, bool checked)
{
    if (QAction* action = m_bars->BarItem(item))
    {
        action->setVisible(visible);
        action->setChecked(checked);
    }
}

void MainFullScreen::SetItemChecked(IBarsHost::Item item, bool checked)
{
    if (QAction* action = m_bars->BarItem(item))
        action->setChecked(checked);
}

void MainFullScreen::StoreWindowState(TQWOptions& options) const
{
    if (!IsFullScreen())
    {
        MainWindowPlacement::store(m_window, options, false);
        options.SetViewStatusBar(!m_window->statusBar()->isHidden());
        return;
    }
    const WindowView& before = m_state.Remembered();
    options.SetMaximized(before.maximized);
    options.SetViewStatusBar(before.statusBar);
    if (before.maximized || !before.normalGeometry.isValid())
        return;
    options.SetTop(WindowPlacement::storedCoordinate(before.framePosition.y()));
    options.SetHeight(WindowPlacement::storedCoordinate(before.normalGeometry.height()));
    options.SetLeft(WindowPlacement::storedCoordinate(before.framePosition.x()));
    options.SetWidth(WindowPlacement::storedCoordinate(before.normalGeometry.width()));
}
