#pragma once

#include "core/tabs/TClosedTabs.h"

#include <QObject>
#include <QPointer>

class QMenu;
class QTimer;
class TBrowserTab;
class TQWOptions;
class TTabSet;
class WindowServices;

// Brings closed tabs back: keeps the tabs the user closes (TClosedTabs),
// reopens them at their old places with their names, locks and histories,
// and fills the Tabs menu's "Recently closed" submenu.
//
// In "Last" mode the list is kept in a file and survives a restart; it is
// written soon after every change, so a program that is killed keeps it
// too. In every other mode the file is removed and nothing survives.
class TTabReopener : public QObject
{
    Q_OBJECT
public:
    // tabs, options and services must outlive the reopener; storePath is the
    // file the list is kept in (read here when in "Last" mode).
    TTabReopener(TTabSet* tabs, TQWOptions* options, WindowServices* services,
                 const QString& storePath, QObject* parent = nullptr);
    ~TTabReopener() override;

    const TClosedTabs& ClosedTabs() const { return m_closed; }

    // A tab is closing: it is kept unless it is a pop-up not shown yet, a
    // captured one, or has no page worth going back to.
    void Remember(TBrowserTab* tab);
    // The most recent closed tab comes back; null when there is none.
    TBrowserTab* ReopenClosedTab() { return Reopen(0); }
    // Entry i (0 = the most recent) comes back, at its old place among the
    // visible tabs (the end when there are fewer now) and active.
    TBrowserTab* Reopen(int i);

    // The "Recently closed" submenu goes at the end of tabsMenu each time
    // that menu has been filled; it shows the closed tabs, most recent first.
    void AttachTabsMenu(QMenu* tabsMenu);
    QMenu* RecentlyClosedMenu() const;
    void FillRecentlyClosedMenu();

    // Writes what is waiting to be written now.
    void Flush();

private:
    // A lone blank tab that the reopened page may take over.
    TBrowserTab* ReusableTab() const;
    bool InLastMode() const;
    void ScheduleSave();

    TTabSet* m_tabs;
    TQWOptions* m_options;
    WindowServices* m_services;
    QString m_storePath;
    TClosedTabs m_closed;
    QTimer* m_saveTimer;
    // Whether the waiting write keeps the list or removes it: decided when
    // the list changed, as the settings may be gone when it is flushed.
    bool m_keepOnSave = false;
    QPointer<QMenu> m_tabsMenu;
    QPointer<QMenu> pmRecentlyClosed;
};
