#pragma once

#include "core/window/IBarsHost.h"

#include <QObject>

class MainFullScreen;
class QAction;
class QMenu;
class QWidget;
class TAddressBand;
class TBrowserTab;
class TCoolBar;
class TMenuBand;
class TQWToolBar;
class TfrmMain;

// The bars at the top of the main window: the cool bar with its four bands
// (menu bar, toolbar, address bar, links bar) beside the logo, the items of
// the View menu and of the bar context menu pmCustomize that show and hide
// them, the toolbar with its layout file and customize dialog, and the band
// layout kept in the store.
class MainBars : public QObject, public IBarsHost
{
    Q_OBJECT
public:
    enum class Bar
    {
        Menu,
        Tool,
        Address,
        Links
    };

    // The bands' contents exist; the window's settings, services and
    // command table too. logo stands right of the cool bar.
    MainBars(TfrmMain* window, TMenuBand* menuBand, TAddressBand* address, QWidget* logo);

    QWidget* Top() const { return pnlTop; }
    TCoolBar* CoolBar() const { return cbCoolbar; }
    TQWToolBar* ToolBar() const { return tbMain; }
    QMenu* CustomizeMenu() const { return pmCustomize; }

    // The links band comes with the Favorites.
    void AddLinksBand(QWidget* links);
    // Once the window's menus, tab set and parts exist: items, drop-down
    // menus and full screen.
    void Wire(MainFullScreen* fullScreen);

    bool Shown(Bar bar) const;
    // A bar switched by the user: its View item, its context-menu item and
    // its setting follow.
    void SetShown(Bar bar, bool shown);

    void LoadBandLayout();
    void SaveBandLayout() const;
    void SaveToolbarLayout();
    void CustomizeToolbar();
    // The text-size button's drop-down.
    void SetFontMenu(QMenu* menu);
    // Grey pictures that turn to colour under the mouse, or colour always.
    void SetShowColor(bool showColor);

    // Back, forward and stop follow the active tab.
    void RefreshBackForward(const TBrowserTab* tab);
    void SetSideBarShown(bool shown);

    // IBarsHost
    bool BandVisible(Band band) const override;
    void SetBandVisible(Band band, bool visible) override;
    QAction* BarItem(Item item) const override;
    void SetFullScreenButtonDown(bool down) override;
    void ApplyBandsFromViewMenu() override;

protected:
    // The side bar's button is down while the side bar is shown, however
    // it came or went.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddBands(TMenuBand* menuBand, TAddressBand* address);
    void CreateToolbar();
    void BuildCustomizeMenu();
    void WireViewMenu();
    void WireToolbarMenus();
    QWidget* BandOf(Bar bar) const;
    QAction* ViewItem(Bar bar) const;
    QAction* CustomizeItem(Bar bar) const;
    QString ToolbarFile() const;

    TfrmMain* m_window;
    MainFullScreen* m_fullScreen = nullptr;
    // Kept, not asked of the window: the side bar reports its own end after
    // the window's parts are gone.
    const QWidget* m_sideBar = nullptr;
    QWidget* pnlTop;
    TCoolBar* cbCoolbar;
    TQWToolBar* tbMain = nullptr;
    QWidget* pnlMenuBar = nullptr;
    QWidget* pnlAddress = nullptr;
    QWidget* pnlLinks = nullptr;
    QMenu* pmCustomize = nullptr;
    QMenu* pmSearch = nullptr;
    QAction* pmCustomizeViewAddressBar = nullptr;
    QAction* pmCustomizeViewToolbar = nullptr;
    QAction* pmCustomizeViewMenubar = nullptr;
    QAction* pmCustomizeLinksBar = nullptr;
    QAction* pmCustomizeToolbarDialog = nullptr;
    QAction* pmCustomizeOrganizeLinks = nullptr;
    QAction* mnuClearAddr = nullptr;
};
