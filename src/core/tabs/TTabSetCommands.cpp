#include "core/tabs/TTabSet.h"

#include "components/TQWPageControl.h"
#include "core/tabs/CloseAllTabs.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TabsMenu.h"

#include <QMenu>

// The tab set's commands: the New, Close and tab-switching actions, the tab
// context menu and the Tabs menu.

void TTabSet::actNewBlankExecute()
{
    const TBrowserTab* active = GetActivePage();
    const QString address = active ? active->GetLocationURL() : QString();
    TBrowserTab* tab = AddTab();
    switch (m_newAction)
    {
    case 0:
        tab->GoBlank();
        break;
    case 1:
        if (address.isEmpty())
            tab->GoBlank();
        else
            tab->Navigate(address);
        break;
    default:
        tab->GoHome();
        break;
    }
    emit addressBoxFocusRequested();
}

void TTabSet::actNewHomeExecute()
{
    AddTab()->GoHome();
}

void TTabSet::actNewCurrentExecute()
{
    const TBrowserTab* active = GetActivePage();
    const QString address = active ? active->GetLocationURL() : QString();
    TBrowserTab* tab = AddTab();
    if (address.isEmpty())
        tab->GoBlank();
    else
        tab->NavigateTo(address);
}

void TTabSet::actCloseExecute()
{
    if (!GroupOpening)
        CloseTab(GetActivePage());
}

void TTabSet::actCloseAllExecute()
{
    CloseAll(false);
}

void TTabSet::pmCloseAllKeepCurrentClick()
{
    CloseAllBut(GetActivePage());
}

void TTabSet::pmTabCloseAllKeepCurrentClick()
{
    if (TBrowserTab* tab = GetPopupTab())
        CloseAllBut(tab);
}

void TTabSet::CloseAllBut(TBrowserTab* keep)
{
    CloseAllTabs::closeAllBut(*this, keep);
}

void TTabSet::ActivateTab(TBrowserTab* tab)
{
    if (!Contains(tab) || !pcPage->isPageVisible(tab))
        return;
    pcPage->setActivePage(tab);
    pcPageChange();
}

void TTabSet::SelectVisibleTab(int step)
{
    const int visible = pcPage->visibleCount();
    if (visible == 0)
        return;
    const int current = pcPage->visibleIndexOf(GetActivePage());
    int next;
    if (current < 0)
        next = step > 0 ? 0 : visible - 1;
    else
        next = (current + step + visible) % visible;
    ActivateTab(qobject_cast<TBrowserTab*>(pcPage->visiblePage(next)));
}

void TTabSet::actNextBrowserTabExecute()
{
    SelectVisibleTab(1);
}

void TTabSet::actPreviousBrowserTabExecute()
{
    SelectVisibleTab(-1);
}

void TTabSet::pmTabCloseClick()
{
    if (!GroupOpening)
        CloseTab(GetPopupTab());
}

void TTabSet::pmTabStopClick()
{
    if (TBrowserTab* tab = GetPopupTab())
        tab->Stop();
}

void TTabSet::pmTabRefreshClick()
{
    if (TBrowserTab* tab = GetPopupTab())
        tab->Refresh(CompleteRefresh());
}

void TTabSet::pmTabHomeClick()
{
    TBrowserTab* tab = GetPopupTab();
    if (tab && !tab->TabHome.isEmpty())
        tab->GoTabHome();
}

void TTabSet::pmTabLockedClick(bool checked)
{
    if (TBrowserTab* tab = GetPopupTab())
        tab->SetLocked(checked);
}

void TTabSet::pmHideFromCloseAllClick(bool checked)
{
    if (TBrowserTab* tab = GetPopupTab())
        tab->HideFromCloseAll = checked;
}

void TTabSet::pmTabStickyNameClick()
{
    TBrowserTab* tab = GetPopupTab();
    if (!tab)
        return;
    if (tab->StickyName().isEmpty())
        tab->PromptStickyName();
    else
        tab->SetStickyName(QString());
}

TTabSet::TabMenuState TTabSet::pmTabPopupPopup()
{
    return TabMenuStateFor(GetPopupTab());
}

TTabSet::TabMenuState TTabSet::TabMenuStateFor(const TBrowserTab* tab) const
{
    TabMenuState state;
    state.hasTab = tab != nullptr;
    const bool named = tab && !tab->StickyName().isEmpty();
    state.stickyNameCaption = named ? GetGlobalText(QStringLiteral("StickyNameClear"))
                                    : GetGlobalText(QStringLiteral("StickyNameSet"));
    if (tab)
    {
        state.hideFromCloseAll = tab->HideFromCloseAll;
        state.locked = tab->Locked();
        state.tabHomeEnabled = !tab->TabHome.isEmpty();
    }
    return state;
}

QString TTabSet::TabsMenuText(const TBrowserTab* tab) const
{
    return TabsMenu::itemText(tab->StickyName(), tab->Hint(),
                              GetGlobalText(QStringLiteral("Blank")));
}

void TTabSet::FillTabsMenu(QMenu* menu)
{
    if (!menu)
        return;
    menu->clear();
    CloseKilledTabs();
    TabsMenu::fill(
        menu, Tabs(), [this](const TBrowserTab* tab) { return TabsMenuText(tab); },
        [this](const TBrowserTab* tab) { return TabIcon(tab); }, this,
        [this](TBrowserTab* tab)
        {
            if (Contains(tab))
                MakeMeActiveTab(pcPage->indexOf(tab));
        });
}
