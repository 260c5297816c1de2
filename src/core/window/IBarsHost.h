#pragma once

class QAction;

// What full screen needs of the window's bars: the menu-bar and toolbar
// bands, the items that show and hide them, the full-screen item and
// button. The main window answers it from its bands and menus.
class IBarsHost
{
public:
    enum Band
    {
        MenuBand,
        ToolBand
    };
    enum Item
    {
        ViewToolbarItem,          // pmViewToolbar
        CustomizeViewToolbarItem, // pmCustomizeViewToolbar
        ViewMenuBarItem,          // pmViewMenuBar
        CustomizeViewMenubarItem, // pmCustomizeViewMenubar
        ViewStatusBarItem,        // pmViewStatusBar
        FullScreenItem            // pmFullScreen
    };

    virtual ~IBarsHost() = default;

    // Whether the band is shown (as the user set it, whatever the window's
    // own visibility).
    virtual bool BandVisible(Band band) const = 0;
    virtual void SetBandVisible(Band band, bool visible) = 0;
    // Null when the window has no such item.
    virtual QAction* BarItem(Item item) const = 0;
    // tbFullScreen, when the toolbar has it.
    virtual void SetFullScreenButtonDown(bool down) = 0;
    // Shows the toolbar, address and links bands after the View menu's
    // check marks.
    virtual void ApplyBandsFromViewMenu() = 0;
};
