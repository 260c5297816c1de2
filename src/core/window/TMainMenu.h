#pragma once

#include "core/window/MainCommand.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QActionGroup;
class QKeySequence;
class QMenu;
class QMimeData;
class QPoint;
class QToolButton;
class QWidget;
class TMenuBand;
class TPopupCapture;
class TTabSet;

// The main window's menu tree: the menu bar band with its menus, and the
// context menus of the tab strip and the close-all button. Items name a
// MainCommand, which the window runs (command()); the tab context menu's
// items act on the tab under the mouse through the tab set.
//
// Captions and hints are language keys ("__MenuFileExit") until the window
// is translated. Shortcuts are shown on the items and work while a menu is
// open; everywhere else the window's key filter decides what a key does.
class TMainMenu : public QObject
{
    Q_OBJECT
public:
    // Items of commands that available() refuses are left out of the tree.
    TMainMenu(QWidget* window, std::function<bool(MainCommand)> available);

    TMenuBand* Band() const { return tbMenu; }
    QMenu* ViewMenu() const { return pmView; }
    // Empty here; the window's Favorites fill it.
    QMenu* FavoritesMenu() const { return pmFavorites; }
    QMenu* LanguagesMenu() const { return pmMenuViewLanguages; }
    QMenu* TabsMenu() const { return pmTabs; }
    // Empty here; the window's zones fill it.
    QMenu* SecurityMenu() const { return pmSecurity; }
    QMenu* VostelGroupsMenu() const { return pmVostelGroupsPopup; }
    QMenu* TabMenu() const { return pmTab; }
    QMenu* CloseAllMenu() const { return pmCloseAll; }
    QAction* WorkOfflineItem() const { return pmWorkOffline; }
    QAction* StatusBarItem() const { return pmViewStatusBar; }
    QAction* SideBarItem() const { return pmViewVostelBar; }
    QAction* AddressBarItem() const { return pmViewAddressBar; }
    QAction* LinksBarItem() const { return pmViewLinksBar; }
    QAction* ToolbarItem() const { return pmViewToolbar; }
    QAction* MenuBarItem() const { return pmViewMenuBar; }
    // Null while full screen is not a command of the window.
    QAction* FullScreenItem() const { return pmFullScreen; }
    // The text-size submenu comes with the window's text-size part.
    void InsertFontSizeMenu(QMenu* fontSize);
    QMenu* FileMenu() const { return pmFile; }
    // The tool bar's New drop-down.
    QMenu* NewTabMenu() const { return pmNew; }
    QAction* ClearAddressesItem() const { return mnuToolsClearAddressHistory; }
    QAction* QuickSearchItem() const { return pmOptionsQuickSearch; }
    QMenu* ToolsMenu() const { return pmTools; }
    // The content switches' check items: pictures, videos, sounds, animations.
    QList<QAction*> ContentSwitchItems() const { return m_contentSwitchItems; }
    // The auto-refresh radio items; each holds its interval in ms (0 = off).
    QList<QAction*> AutoRefreshItems() const { return m_autoRefreshItems; }
    // Checks the item of interval (or Off when none matches).
    void CheckAutoRefresh(int interval);

    // The tab context menu's items act on this tab set's tab under the mouse.
    void AttachTabSet(TTabSet* tabSet, TPopupCapture* popupCapture);

    // Drops the menu of a Drop...Menu command; false when there is none.
    bool DropMenu(MainCommand command);
    QToolButton* MenuButton(MainCommand dropCommand) const;

    // New from the clipboard needs text on it.
    static bool HoldsText(const QMimeData* data);

signals:
    void command(MainCommand command);
    // An auto-refresh item was chosen: interval in ms, 0 = off.
    void autoRefreshChosen(int interval);
    // The tab menu's Add to > VostelGroup, for the tab under the mouse.
    void tabAddToVostelGroupChosen();
    // The tab menu's Add to > Favorites, for the tab under the mouse.
    void tabAddToFavoritesChosen();

private:
    QAction* AddItem(QMenu* menu, const QString& name, const QString& captionKey,
                     MainCommand command, const QKeySequence& shortcut);
    QAction* AddPlain(QMenu* menu, const QString& name, const QString& captionKey,
                      const QKeySequence& shortcut);
    QMenu* AddSubmenu(QMenu* menu, const QString& name, const QString& captionKey);
    QMenu* NewMenu(const QString& name);
    void BuildFile();
    void AddNewItems(QMenu* menu, const QString& prefix);
    void BuildEdit();
    void BuildView();
    void BuildVostelGroups();
    void BuildTools();
    void BuildHelp();
    void BuildCloseAllMenu();
    void BuildTabMenu();
    void UpdateTabMenu();
    bool Available(MainCommand command) const;

    QWidget* m_window;
    std::function<bool(MainCommand)> m_available;
    TTabSet* m_tabSet = nullptr;
    TPopupCapture* m_popupCapture = nullptr;

    TMenuBand* tbMenu = nullptr;
    QMenu* pmFile = nullptr;
    QMenu* pmEdit = nullptr;
    QMenu* pmView = nullptr;
    QMenu* pmFavorites = nullptr;
    QMenu* pmVostelGroupsPopup = nullptr;
    QMenu* pmTools = nullptr;
    QMenu* pmTabs = nullptr;
    QMenu* pmHelp = nullptr;
    QMenu* pmSecurity = nullptr;
    QMenu* pmMenuViewLanguages = nullptr;
    QMenu* pmTab = nullptr;
    QMenu* pmCloseAll = nullptr;
    QMenu* pmNew = nullptr;
    QAction* pmWorkOffline = nullptr;
    QAction* pmViewStatusBar = nullptr;
    QAction* pmViewVostelBar = nullptr;
    QAction* pmViewAddressBar = nullptr;
    QAction* pmViewLinksBar = nullptr;
    QAction* pmViewToolbar = nullptr;
    QAction* pmViewMenuBar = nullptr;
    QAction* pmFullScreen = nullptr;
    QAction* mnuToolsClearAddressHistory = nullptr;
    QAction* pmOptionsQuickSearch = nullptr;
    QList<QAction*> m_contentSwitchItems;
    QActionGroup* m_autoRefreshGroup = nullptr;
    QList<QAction*> m_autoRefreshItems;
    QAction* pmTabLocked = nullptr;
    QAction* pmStickyTitle = nullptr;
    QAction* pmTabHome = nullptr;
    QAction* pmHideFromCloseAll = nullptr;
    QHash<MainCommand, QToolButton*> m_dropButtons;
};
