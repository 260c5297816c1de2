#pragma once

#include <QRect>

#include <optional>

// What of the main window full screen takes over and gives back.
struct WindowView
{
    bool maximized = false;
    // The window's rectangle when it is neither maximized nor full screen.
    QRect normalGeometry;
    // Where its frame stands then, as the stored place counts it.
    QPoint framePosition;
    bool statusBar = true;
    bool menuBand = true;
    bool toolBand = true;
};

// The window's whole look after entering or leaving full screen, and the
// settings that are to be written with it.
struct FullScreenChange
{
    enum Mode
    {
        FullScreen,
        Maximized,
        Normal
    };
    Mode mode = Normal;
    QRect geometry; // for Normal: the rectangle to give back
    bool statusBar = true;
    bool menuBand = true;
    bool toolBand = true;
    // pmViewToolbar and pmCustomizeViewToolbar share visibility and check.
    bool toolbarItemsVisible = true;
    bool toolbarItemsChecked = true;
    bool viewMenuBarVisible = false;      // pmViewMenuBar
    bool customizeMenubarVisible = false; // pmCustomizeViewMenubar
    bool menuBarItemsChecked = true;
    bool fullScreenChecked = false; // pmFullScreen and tbFullScreen
    // The toolbar, address and links bands follow the View menu again.
    bool reapplyBands = false;
    // FullscreenStatusBar and FullscreenMenuBar, when they are to be written.
    std::optional<bool> writeFullscreenStatusBar;
    std::optional<bool> writeFullscreenMenuBar;
};

// The rules of full screen as data: full screen shows the toolbar and the
// bars the user chose for it, and leaving gives back exactly what the
// window had, maximized or its own rectangle, while the bars chosen in
// full screen are kept for the next time.
class FullScreenState
{
public:
    bool IsFullScreen() const { return m_fullScreen; }
    // What the window had before full screen; meaningful only in it.
    const WindowView& Remembered() const { return m_remembered; }

    // current: the window as it is now; the Fullscreen* settings decide the
    // status bar and the menu bar. Nothing to do when already full screen:
    // the window's look before it is kept.
    std::optional<FullScreenChange> Enter(const WindowView& current, bool fullscreenStatusBar,
                                          bool fullscreenMenuBar);
    // Nothing to do when not in full screen: there is nothing to give back.
    std::optional<FullScreenChange> Leave(const WindowView& current);

    // A bar switched on or off by the user: in full screen the choice is
    // the Fullscreen* setting of that bar, written at once.
    std::optional<bool> SettingForToggle(bool on) const
    {
        return m_fullScreen ? std::optional<bool>(on) : std::nullopt;
    }

private:
    bool m_fullScreen = false;
    WindowView m_remembered;
};
