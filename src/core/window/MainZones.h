#pragma once

#include "chrome/TIEZoneMgr.h"

#include <QHash>
#include <QIcon>
#include <QObject>

class QAction;
class QLabel;
class QMenu;
class TBrowserTab;
class TfrmMain;

// The window's security zones: the status bar's zone panel, the Security
// menu pmSecurity (on the menu bar and the toolbar), and the menu's
// commands that put the active page's site in a zone, take it out again
// and set the Internet zone's policies.
class MainZones : public QObject
{
    Q_OBJECT
public:
    // The window's menus, bars and status bar exist.
    explicit MainZones(TfrmMain* window);

    TIEZoneMgr& ZoneMgr() { return m_zones; }
    QMenu* SecurityMenu() const { return pmSecurity; }

    // The active tab's zone, recomputed, in the zone panel.
    void RefreshIndicators();
    // The same for a window whose zones may not be made yet.
    static void RefreshIn(MainZones* zones)
    {
        if (zones)
            zones->RefreshIndicators();
    }
    // Zones or policies were changed (here, in a dialog or by another
    // copy): every tab's zone is recomputed and pages load by the new rules.
    void SettingsChanged();

    // The picture of a zone (NoZone: none).
    static QIcon ZoneIcon(int zone);

    void pmSecurityPopup();
    void AddSiteTo(int zone);
    void RemoveSite();
    void ChangePolicy(ZoneRules::Action action, int value);

signals:
    // The zones' settings were asked for (the menu's Settings item, a
    // double click on the zone panel). While nothing listens, the item is
    // not offered.
    void settingsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    QAction* AddItem(const QString& name, const QString& captionKey);
    QMenu* AddPolicyMenu(const QString& name, ZoneRules::Action action);
    int ActiveZone();
    QString Text(const QString& key) const;

    TfrmMain* m_window;
    TIEZoneMgr m_zones;
    QLabel* m_zoneIcon = nullptr;
    QMenu* pmSecurity;
    QAction* pmSecurityCurrent = nullptr;
    QAction* pmSecurityAddIntra = nullptr;
    QAction* pmSecurityAddRestricted = nullptr;
    QAction* pmSecurityAddTrusted = nullptr;
    QAction* pmSecurityRemove = nullptr;
    QAction* pmSecuritySettings = nullptr;
    // The four policy submenus by their action, with their items in the
    // order of the program's values (allow, prompt, disallow).
    QHash<ZoneRules::Action, QMenu*> m_policyMenus;
    QHash<ZoneRules::Action, QList<QAction*>> m_policyItems;
};
