#include "groups/VostelGroupTabs.h"

#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "navigation/TAddressController.h"

#include <QScopeGuard>

namespace
{
const QChar LockedMarker = QLatin1Char('*');
} // namespace

QString VostelGroupTabs::stickyNameOf(const QString& entryName)
{
    // Case matters here: a tab the user named "Blank7" keeps its name.
    return entryName.startsWith(QLatin1String("blank")) ? QString() : entryName;
}

VostelGroupTabs::Opened VostelGroupTabs::open(TTabSet& tabs, const QString& path, bool closeFirst,
                                              bool startup)
{
    Opened opened;
    // The group's order is the file's order, whatever the user's placing of
    // new tabs.
    const bool openNewAtEnd = std::exchange(tabs.OpenNewAtEnd, true);
    const auto restore = qScopeGuard(
        [&tabs, openNewAtEnd]
        {
            tabs.GroupOpening = false;
            tabs.OpenNewAtEnd = openNewAtEnd;
        });

    const TVostelGroup group(nullptr, path);
    if (group.isEmpty())
        return opened;
    if (closeFirst)
        tabs.CloseAll(true);
    tabs.GroupOpening = true;

    bool reuseActive = closeFirst;
    TBrowserTab* lastNew = nullptr;
    // With tabs that load when shown, every page waits, and the one that
    // ends up in front loads last.
    const bool waitForShow = tabs.LoadTabsOnShow();
    for (qsizetype i = 0; i < group.size(); ++i)
    {
        QString address = group.Value(i);
        const bool locked = address.startsWith(LockedMarker);
        if (locked)
            address.remove(0, 1);
        // A group file can come from anywhere; a script address would run in
        // whatever page its tab shows, the kept tab of a close-first above all.
        if (TAddressController::IsScriptAddress(address))
        {
            ++opened.refused;
            continue;
        }
        TBrowserTab* tab = nullptr;
        if (std::exchange(reuseActive, false))
        {
            tab = tabs.GetActivePage();
            // A tab the user keeps through Close All keeps its page too.
            if (tab && tab->HideFromCloseAll)
                tab = nullptr;
        }
        // New tabs stay in the background until the last is made: a tab
        // brought to the front on the way would make the engine set up and
        // draw its page once for nothing, at a cost in time and memory per
        // page. The end is what bringing each to the front would leave.
        if (!tab && waitForShow)
            tab = lastNew = tabs.AddUnloadedTab(tabs.GetActivePage(), address);
        else if (!tab)
            tab = lastNew = tabs.AddBackgroundTab(tabs.GetActivePage());
        if (!tab)
            continue;
        if (startup)
            tab->Restoring = true;
        if (const QString name = stickyNameOf(group.Name(i)); !name.isEmpty())
            tab->SetStickyName(name);
        if (locked)
            tab->LockAfterLoad = true;
        if (address.isEmpty())
            tab->GoBlank();
        else if (waitForShow)
            tabs.LoadWhenShown(tab, address);
        else
            tab->NavigateTo(address);
        ++opened.pages;
    }
    if (lastNew && tabs.OpenNewInForeground)
        tabs.ActivateTab(lastNew);
    tabs.LoadActiveTab();
    return opened;
}

TVostelGroup VostelGroupTabs::ofTabs(TTabSet& tabs, WindowServices* owner)
{
    tabs.CloseKilledTabs();
    TVostelGroup group(owner, QString());
    for (int i = 0; i < tabs.Count(); ++i)
        if (const TBrowserTab* tab = tabs.Tab(i); tab && !tab->Hidden && !tab->Killed)
            addTab(group, *tab);
    return group;
}

QString VostelGroupTabs::uniqueName(const TVostelGroup& group, const QString& name)
{
    // Names are keys of the file: a second page of the same name would
    // replace the first one there, and the user would lose a page.
    const auto taken = [&group](const QString& candidate)
    {
        QString key = candidate;
        key.remove(QLatin1Char('='));
        for (qsizetype i = 0; i < group.size(); ++i)
            if (group.Name(i).compare(key, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (name.isEmpty())
    {
        // An edited group may already hold the number this page would get.
        qsizetype number = group.size() + 1;
        while (taken(QStringLiteral("blank%1").arg(number)))
            ++number;
        return QStringLiteral("blank%1").arg(number);
    }
    QString candidate = name;
    for (int number = 2; taken(candidate); ++number)
        candidate = QStringLiteral("%1 (%2)").arg(name, QString::number(number));
    return candidate;
}

void VostelGroupTabs::addTab(TVostelGroup& group, const TBrowserTab& tab)
{
    // A tab still on its way to its first page is saved with that page, and
    // locked when it is to be locked once the page arrives.
    group.AddSite(uniqueName(group, tab.StickyName()), tab.RememberedAddress(),
                  tab.Locked() || tab.LockAfterLoad);
}
