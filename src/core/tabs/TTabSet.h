#pragma once

#include "core/engine/IBrowserControl.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QSet>

#include <functional>

class ITabHost;
class QMenu;
class QTimer;
class TBrowserTab;
class TQWOptions;
class WindowServices;
class TQWPageControl;

// The tab set of the main window: adds, places, activates, cycles, lists
// and closes the browser tabs of the page control pcPage, runs the tab
// context menu's commands and the auto-refresh timer.
//
// It works on the page control it is given and never shows a window
// itself: questions and texts come from the window's services, so all of it
// runs in tests without a user.
//
// Adding a tab never runs a nested event loop: pending events are left to
// the running loop, so no other tab's events can run in the middle of an
// add and find the tab set half changed.
class TTabSet : public QObject
{
    Q_OBJECT
public:
    // The auto-refresh choices of the View menu, in menu order (0 = None).
    static const QList<int>& AutoRefreshIntervals();
    // The interval whose menu item is checked for interval: itself when it
    // is one of the choices, else 0 (the None item).
    static int AutoRefreshItemFor(int interval);

    // What the tab context menu shows for a tab.
    struct TabMenuState
    {
        bool hasTab = false;
        QString stickyNameCaption;     // StickyNameSet or StickyNameClear
        bool hideFromCloseAll = false; // check of pmHideFromCloseAll
        bool locked = false;           // check of pmTabLocked
        bool tabHomeEnabled = false;   // pmTabHome
    };

    // pcPage, host, services and options must outlive the tab set; options
    // may be null (nothing is then asked or stored). New tabs are
    // TBrowserTab(host, services, factory(pcPage), hidden).
    TTabSet(TQWPageControl* pcPage, ITabHost* host, WindowServices* services,
            BrowserControlFactory factory, TQWOptions* options, QObject* parent = nullptr);
    ~TTabSet() override;

    TQWPageControl* PageControl() const { return pcPage; }
    int Count() const;
    TBrowserTab* Tab(int index) const;

    // State of the main window's tab set.
    bool OpenNewAtEnd = false;
    bool OpenNewInForeground = false;
    bool GroupOpening = false;
    // Visible index of the tab under the last right-button press, -1 none.
    int PopupTabIndex = -1;
    // What New opens: 0 blank, 1 the active tab's page, 2 the home page.
    int NewAction() const { return m_newAction; }
    void SetNewAction(int action);

    // The tab image list of pcPage; the Tabs menu shows the same images.
    void SetImages(const QList<QIcon>& images);
    // The image a tab shows: its state image, else its page icon.
    QIcon TabIcon(const TBrowserTab* tab) const;

    // Operations
    TBrowserTab* GetActivePage() const;
    TBrowserTab* AddTab();
    TBrowserTab* AddTabPerPreference();
    TBrowserTab* AddHiddenTab();
    // A visible tab placed as AddTab would place it if after were the
    // active tab, left in the background. Restoring many tabs this way keeps
    // the engine from drawing every page once on its way to the last.
    TBrowserTab* AddBackgroundTab(TBrowserTab* after);
    // A visible, active tab at visibleIndex among the visible tabs, or
    // after the last one when there are not that many.
    TBrowserTab* AddTabAt(int visibleIndex);
    // Tabs that load when first shown (the setting LoadTabsOnShow, read
    // now; off without a store).
    bool LoadTabsOnShow() const;
    // A tab placed as AddBackgroundTab places it that stands for url and
    // loads it only when it is first shown (TBrowserTab::LoadOnShow): it
    // gets its browser control only then.
    TBrowserTab* AddUnloadedTab(TBrowserTab* after, const QString& url);
    // Makes tab stand for url until it is first shown.
    void LoadWhenShown(TBrowserTab* tab, const QString& url);
    // The titles unloaded tabs show for their addresses (empty: none known).
    void SetKnownTitles(std::function<QString(const QString& url)> knownTitle);
    // Loads the tab in front when it has not loaded its page yet.
    void LoadActiveTab();
    void ActivateTab(TBrowserTab* tab);
    void CloseTab(TBrowserTab* tab);
    void CloseKilledTabs();
    void CloseAll(bool silent);
    TBrowserTab* GetPopupTab();
    void StopAll();
    void RefreshAll();
    void SetAutoRefresh(int interval);
    int AutoRefreshInterval() const { return m_autoRefreshInterval; }
    QTimer* RefreshTimer() const { return tmrRefresh; }
    void SetTitleLimit(int limit);
    int TitleLimit() const { return m_titleLimit; }

    // Commands
    void actNewBlankExecute();
    void actNewHomeExecute();
    void actNewCurrentExecute();
    void actCloseExecute();
    void actCloseAllExecute();
    void pmCloseAllKeepCurrentClick();
    // The same for the tab under the mouse (the tab context menu's item).
    void pmTabCloseAllKeepCurrentClick();
    void actNextBrowserTabExecute();
    void actPreviousBrowserTabExecute();
    void pmTabCloseClick();
    void pmTabStopClick();
    void pmTabRefreshClick();
    void pmTabHomeClick();
    // checked: the item's check after the click.
    void pmTabLockedClick(bool checked);
    void pmHideFromCloseAllClick(bool checked);
    // The sticky-name item: clears a tab's name, or asks for one.
    void pmTabStickyNameClick();

    // The tab context menu is opening: its items for GetPopupTab().
    TabMenuState pmTabPopupPopup();
    TabMenuState TabMenuStateFor(const TBrowserTab* tab) const;

    // The Tabs menu: rebuilt each time it opens.
    void FillTabsMenu(QMenu* menu);
    // The text the Tabs menu and the close-all list show for a tab.
    QString TabsMenuText(const TBrowserTab* tab) const;
    // A Tabs-menu item was chosen: index is its position (the tab index).
    void MakeMeActiveTab(int index);

    // The user selected another tab, or the tab set did.
    void pcPageChange();
    void pcPageMouseDown(Qt::MouseButton button, int visibleIndex);

signals:
    // After New: the window gives the address box the focus when its band
    // is visible.
    void addressBoxFocusRequested();
    // A tab was added, closed or moved, or something of a tab changed that
    // comes with a navigation (its look, its visibility): the list of open
    // pages may be different now.
    void tabsChanged();
    // A tab the user closes (or that is reset as the last one) is about to
    // go; it is still whole.
    void tabClosing(TBrowserTab* tab);
    // A tab's page asked to be printed.
    void printRequested(TBrowserTab* tab);

private:
    // The refresh command bypasses the cache while Ctrl is held.
    static bool CompleteRefresh();
    friend class CloseAllTabs;

    TBrowserTab* CreateTab(bool hidden);
    TBrowserTab* CreateTabAfter(bool hidden, TBrowserTab* previous, bool withControl = true);
    TBrowserTab* CreateTabAt(bool hidden, int index, bool withControl = true);
    void AttachTab(TBrowserTab* tab);
    void SyncAppearance(TBrowserTab* tab);
    // Closes every tab but keep (and those kept on Close All); keep comes to the front.
    void CloseAllBut(TBrowserTab* keep);
    void TabShown(TBrowserTab* tab);
    void ResetTab(TBrowserTab* tab, bool clearTabHome);
    void SelectVisibleTab(int step);
    QList<TBrowserTab*> Tabs() const;
    bool Contains(const TBrowserTab* tab) const;
    QString GetGlobalText(const QString& key) const;
    QString GetLangText(const QString& section, const QString& key) const;

    TQWPageControl* pcPage;
    ITabHost* m_host;
    WindowServices* m_services;
    BrowserControlFactory m_factory;
    TQWOptions* m_options;
    QList<QIcon> m_images;
    std::function<QString(const QString&)> m_knownTitle;
    // Pop-ups added while new tabs open in front come to the front when shown.
    QSet<TBrowserTab*> m_foregroundWhenShown;
    int m_newAction = 2;
    int m_titleLimit = 0;
    int m_autoRefreshInterval = 0;
    QTimer* tmrRefresh;
};
