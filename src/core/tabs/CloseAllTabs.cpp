#include "core/tabs/CloseAllTabs.h"

#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"

#include <QPointer>

void CloseAllTabs::closeAll(TTabSet& set, bool silent)
{
    // Asking first and refusing afterwards would ignore the user's answer.
    if (set.GroupOpening)
        return;
    if (!silent && set.m_options && set.m_options->ConfirmCloseAll())
    {
        const ConfirmResult answer = set.m_services->confirm(
            set.GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("CloseAll")), false,
            set.GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("CloseAllPrompt")),
            set.GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("Proceed")),
            set.GetGlobalText(QStringLiteral("Yes")), set.GetGlobalText(QStringLiteral("No")),
            set.GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("DontAsk")));
        if (answer.checked)
            set.m_options->SetConfirmCloseAll(false);
        if (!answer.ok)
            return;
    }
    if (set.GroupOpening)
        return;
    set.CloseKilledTabs();

    TBrowserTab* keep = nullptr;
    for (TBrowserTab* tab : set.Tabs())
    {
        if (tab->HideFromCloseAll && set.pcPage->isPageVisible(tab))
        {
            keep = tab;
            break;
        }
    }
    const bool resetKeep = !keep;
    if (!keep)
        keep = qobject_cast<TBrowserTab*>(set.pcPage->visiblePage(0));
    if (keep)
        set.pcPage->setActivePage(keep);

    for (int i = set.Count() - 1; i >= 0; --i)
    {
        TBrowserTab* tab = set.Tab(i);
        if (tab && !tab->HideFromCloseAll && set.Count() > 1)
            set.CloseTab(tab);
    }
    // The first tab's page goes last, as the walk ends there: reopened
    // first, it comes back at the front.
    if (resetKeep && set.Contains(keep))
    {
        emit set.tabClosing(keep);
        set.ResetTab(keep, false);
    }
    set.pcPageChange();
}

void CloseAllTabs::closeAllBut(TTabSet& set, TBrowserTab* keep)
{
    if (set.GroupOpening)
        return;
    // The confirmation runs a modal loop in which the tab may go away.
    const QPointer<TBrowserTab> current = keep;
    const bool wasHidden = current && current->HideFromCloseAll;
    if (current)
        current->HideFromCloseAll = true;
    closeAll(set, false);
    if (current)
    {
        current->HideFromCloseAll = wasHidden;
        if (set.Contains(current))
            set.ActivateTab(current);
    }
}
