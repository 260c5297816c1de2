#include "core/window/MainZones.h"

#include "chrome/TQWToolBar.h"
#include "chrome/ToolbarButtonTable.h"
#include "components/TQWStatusBar.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TZoneEnforcer.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"

#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMetaMethod>

namespace
{
constexpr int ZonePanel = 3;
// The zone's name stands right of its picture.
constexpr int ZoneTextIndent = 19;
const QString Main = QStringLiteral("MAIN");
} // namespace

MainZones::MainZones(TfrmMain* window)
    : QObject(window), m_window(window), m_zones(window->Options()->Store(), window->Services()),
      pmSecurity(window->MainMenu()->SecurityMenu())
{
    BuildMenu();
    window->Bars()->ToolBar()->SetDropDownMenu(ToolbarButtonTable::SecurityButton, pmSecurity);

    QLabel* panel = window->StatusBar()->panel(ZonePanel);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setIndent(ZoneTextIndent);
    m_zoneIcon = new QLabel(panel);
    m_zoneIcon->setObjectName(QStringLiteral("imgZone"));
    m_zoneIcon->setGeometry(2, 1, 16, 16);
    panel->installEventFilter(this);
    RefreshIndicators();
}

QAction* MainZones::AddItem(const QString& name, const QString& captionKey)
{
    auto* item = new QAction(captionKey, pmSecurity);
    item->setObjectName(name);
    pmSecurity->addAction(item);
    return item;
}

QMenu* MainZones::AddPolicyMenu(const QString& name, ZoneRules::Action action)
{
    auto* menu = new QMenu(pmSecurity);
    menu->setObjectName(name);
    menu->menuAction()->setStatusTip(QStringLiteral("__%1Hint").arg(name.mid(2)));
    auto* group = new QActionGroup(menu);
    // Menu order disallow, allow, prompt; kept by the program's values.
    const struct
    {
        const char* key;
        int value;
    } items[] = {{"SecurityDisallow", ZoneRules::Disallow},
                 {"SecurityAllow", ZoneRules::Allow},
                 {"SecurityQuery", ZoneRules::Prompt}};
    QList<QAction*> byValue(3);
    for (const auto& entry : items)
    {
        const QString key = QString::fromLatin1(entry.key);
        auto* item = new QAction(QStringLiteral("__") + key, group);
        item->setObjectName(name + key.mid(8));
        item->setStatusTip(QStringLiteral("__%1Hint").arg(key));
        item->setCheckable(true);
        menu->addAction(item);
        const int value = entry.value;
        connect(item, &QAction::triggered, this,
                [this, action, value] { ChangePolicy(action, value); });
        byValue[value] = item;
    }
    pmSecurity->addMenu(menu);
    m_policyMenus.insert(action, menu);
    m_policyItems.insert(action, byValue);
    return menu;
}

void MainZones::BuildMenu()
{
    pmSecurityCurrent = AddItem(QStringLiteral("pmSecurityCurrent"), QString());
    pmSecurityCurrent->setStatusTip(QStringLiteral("__SecurityCurrentHint"));
    pmSecurity->setDefaultAction(pmSecurityCurrent);
    AddPolicyMenu(QStringLiteral("pmSecurityScripting"), ZoneRules::Scripting);
    AddPolicyMenu(QStringLiteral("pmSecurityCookies"), ZoneRules::Cookies);
    AddPolicyMenu(QStringLiteral("pmSecuritySessionCookies"), ZoneRules::SessionCookies);
    AddPolicyMenu(QStringLiteral("pmSecurityActiveX"), ZoneRules::ActiveX);
    pmSecurity->addSeparator();
    pmSecurityAddIntra = AddItem(QStringLiteral("pmSecurityAddIntra"), QString());
    pmSecurityAddRestricted = AddItem(QStringLiteral("pmSecurityAddRestricted"), QString());
    pmSecurityAddTrusted = AddItem(QStringLiteral("pmSecurityAddTrusted"), QString());
    pmSecurity->addSeparator();
    pmSecurityRemove = AddItem(QStringLiteral("pmSecurityRemove"), QString());
    pmSecurity->addSeparator();
    pmSecuritySettings =
        AddItem(QStringLiteral("pmSecuritySettings"), QStringLiteral("__SecuritySettings"));
    pmSecuritySettings->setStatusTip(QStringLiteral("__SecuritySettingsHint"));

    connect(pmSecurityAddIntra, &QAction::triggered, this,
            [this] { AddSiteTo(ZoneRules::Intranet); });
    connect(pmSecurityAddRestricted, &QAction::triggered, this,
            [this] { AddSiteTo(ZoneRules::Restricted); });
    connect(pmSecurityAddTrusted, &QAction::triggered, this,
            [this] { AddSiteTo(ZoneRules::Trusted); });
    connect(pmSecurityRemove, &QAction::triggered, this, &MainZones::RemoveSite);
    connect(pmSecuritySettings, &QAction::triggered, this, &MainZones::settingsRequested);
    connect(pmSecurity, &QMenu::aboutToShow, this, &MainZones::pmSecurityPopup);
}

QString MainZones::Text(const QString& key) const
{
    return m_window->Services()->GetLangText(Main, key);
}

QIcon MainZones::ZoneIcon(int zone)
{
    switch (zone)
    {
    case ZoneRules::LocalMachine:
        return ThemeIcon(QStringLiteral("computer"), QStyle::SP_ComputerIcon);
    case ZoneRules::Intranet:
        return ThemeIcon(QStringLiteral("network-workgroup"), QStyle::SP_DriveNetIcon);
    case ZoneRules::Trusted:
        return ThemeIcon(QStringLiteral("security-high"), QStyle::SP_DialogApplyButton);
    case ZoneRules::Internet:
        return ThemeIcon(QStringLiteral("applications-internet"), QStyle::SP_DirHomeIcon);
    case ZoneRules::Restricted:
        return ThemeIcon(QStringLiteral("security-low"), QStyle::SP_MessageBoxWarning);
    default:
        return QIcon();
    }
}

int MainZones::ActiveZone()
{
    TBrowserTab* tab = m_window->GetActivePage();
    if (!tab)
        return ZoneRules::NoZone;
    tab->Zone = m_zones.MapUrlToZone(tab->GetLocationURL());
    return tab->Zone;
}

void MainZones::RefreshIndicators()
{
    const int zone = ActiveZone();
    const QIcon icon = ZoneIcon(zone);
    m_zoneIcon->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(16, 16));
    m_window->StatusBar()->setPanelText(ZonePanel, m_zones.GetZoneName(zone));
}

void MainZones::SettingsChanged()
{
    TZoneEnforcer::SettingsChanged();
    const TTabSet* tabs = m_window->TabSet();
    for (int i = tabs->Count() - 1; i >= 0; --i)
        if (TBrowserTab* tab = tabs->Tab(i))
            tab->Zone = m_zones.MapUrlToZone(tab->GetLocationURL());
    RefreshIndicators();
}

void MainZones::pmSecurityPopup()
{
    const int zone = ActiveZone();
    const QString name = m_zones.GetZoneName(zone);
    pmSecurityCurrent->setText(Text(QStringLiteral("SecurityCurrentZone")).arg(name));
    pmSecurityCurrent->setIcon(ZoneIcon(zone));

    const TBrowserTab* tab = m_window->GetActivePage();
    const bool addable =
        zone == ZoneRules::Internet && tab && tab->GetLocationURL() != QLatin1String("about:blank");
    const struct
    {
        QAction* item;
        int zone;
    } adds[] = {{pmSecurityAddTrusted, ZoneRules::Trusted},
                {pmSecurityAddIntra, ZoneRules::Intranet},
                {pmSecurityAddRestricted, ZoneRules::Restricted}};
    for (const auto& add : adds)
    {
        const QString target = m_zones.GetZoneName(add.zone);
        add.item->setText(Text(QStringLiteral("SecurityAdd")).arg(target));
        add.item->setStatusTip(Text(QStringLiteral("SecurityAddHint")).arg(target));
        add.item->setIcon(ZoneIcon(add.zone));
        add.item->setVisible(addable);
    }

    pmSecurityRemove->setText(Text(QStringLiteral("SecurityRemove")).arg(name));
    pmSecurityRemove->setStatusTip(Text(QStringLiteral("SecurityRemoveHint")).arg(name));
    pmSecurityRemove->setVisible(zone != ZoneRules::LocalMachine && zone != ZoneRules::Internet);

    for (const ZoneRules::Action action : ZoneRules::Actions)
    {
        QMenu* menu = m_policyMenus.value(action);
        menu->menuAction()->setVisible(zone == ZoneRules::Internet);
        if (zone != ZoneRules::Internet)
            continue;
        const int value = m_zones.GetPolicy(action);
        const QString key = menu->objectName().mid(2);
        menu->setTitle(Text(key).arg(m_zones.PolicyText(value)));
        m_policyItems.value(action).at(value)->setChecked(true);
    }
    pmSecuritySettings->setVisible(
        isSignalConnected(QMetaMethod::fromSignal(&MainZones::settingsRequested)));
}

void MainZones::AddSiteTo(int zone)
{
    const TBrowserTab* tab = m_window->GetActivePage();
    if (!tab)
        return;
    m_zones.AddSite(tab->Browser()->LocationURL(), zone);
    SettingsChanged();
}

void MainZones::RemoveSite()
{
    TBrowserTab* tab = m_window->GetActivePage();
    if (!tab)
        return;
    m_zones.RemoveSite(tab->Browser()->LocationURL(), ActiveZone());
    SettingsChanged();
}

void MainZones::ChangePolicy(ZoneRules::Action action, int value)
{
    m_zones.SetPolicy(action, value);
    TZoneEnforcer::SettingsChanged();
}

bool MainZones::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        emit settingsRequested();
    return QObject::eventFilter(watched, event);
}
