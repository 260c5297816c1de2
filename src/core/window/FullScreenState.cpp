#include "core/window/FullScreenState.h"

std::optional<FullScreenChange>
FullScreenState::Enter(const WindowView& current, bool fullscreenStatusBar, bool fullscreenMenuBar)
{
    if (m_fullScreen)
        return std::nullopt;
    m_fullScreen = true;
    m_remembered = current;

    FullScreenChange change;
    change.mode = FullScreenChange::FullScreen;
    change.statusBar = fullscreenStatusBar;
    change.menuBand = fullscreenMenuBar;
    // The toolbar is the way out of full screen: always there, never offered.
    change.toolBand = true;
    change.toolbarItemsVisible = false;
    change.toolbarItemsChecked = true;
    change.viewMenuBarVisible = true;
    change.customizeMenubarVisible = true;
    // The items say what the band shows, so the first click does what it says.
    change.menuBarItemsChecked = fullscreenMenuBar;
    change.fullScreenChecked = true;
    return change;
}

std::optional<FullScreenChange> FullScreenState::Leave(const WindowView& current)
{
    if (!m_fullScreen)
        return std::nullopt;
    m_fullScreen = false;

    FullScreenChange change;
    change.writeFullscreenStatusBar = current.statusBar;
    change.writeFullscreenMenuBar = current.menuBand;
    change.mode = m_remembered.maximized ? FullScreenChange::Maximized : FullScreenChange::Normal;
    change.geometry = m_remembered.normalGeometry;
    change.statusBar = m_remembered.statusBar;
    change.menuBand = true;
    change.toolBand = m_remembered.toolBand;
    change.toolbarItemsVisible = true;
    change.toolbarItemsChecked = m_remembered.toolBand;
    // Once full screen has been used, the View menu offers hiding the menu bar.
    change.viewMenuBarVisible = true;
    change.customizeMenubarVisible = false;
    change.menuBarItemsChecked = true;
    change.fullScreenChecked = false;
    change.reapplyBands = true;
    return change;
}
