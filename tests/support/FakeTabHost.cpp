#include "FakeTabHost.h"

#include "FakeBrowserControl.h"
#include "core/tabs/TBrowserTab.h"

using namespace Qt::StringLiterals;

FakeTabHost::FakeTabHost()
{
    services.setGlobalText(u"Blank"_s, u"(Blank page)"_s);
    services.setGlobalText(u"Loading"_s, u"Loading..."_s);
    services.setGlobalText(u"SpecialFileRefused"_s, u"Not opened: %s"_s);
    services.setGlobalText(u"StickyNameTitle"_s, u"Tab name"_s);
    services.setGlobalText(u"StickyNamePrompt"_s, u"Name of this tab:"_s);
}

FakeTabHost::~FakeTabHost()
{
    // Newest first: a tab never outlives one it was made for.
    for (qsizetype i = m_owned.size() - 1; i >= 0; --i)
        delete m_owned.at(i).data();
}

TBrowserTab* FakeTabHost::makeTab(bool hidden, bool withBrowser)
{
    auto* tab =
        new TBrowserTab(this, &services, withBrowser ? new FakeBrowserControl : nullptr, hidden);
    m_owned << tab;
    tabs << tab;
    return tab;
}

FakeBrowserControl* FakeTabHost::controlOf(const TBrowserTab* tab)
{
    return tab ? dynamic_cast<FakeBrowserControl*>(tab->Browser()) : nullptr;
}

bool FakeTabHost::IsActiveTab(const TBrowserTab* tab) const
{
    return tab && tab == activeTab;
}

void FakeTabHost::ShowAddress(const QString& url)
{
    calls << u"ShowAddress "_s + url;
    shownAddresses << url;
}

void FakeTabHost::RecordTypedAddress(const QString& url)
{
    calls << u"RecordTypedAddress "_s + url;
    typedAddresses << url;
}

void FakeTabHost::SetStatusText(const QString& text)
{
    calls << u"SetStatusText "_s + text;
    statusTexts << text;
}

void FakeTabHost::SetProgressText(const QString& text)
{
    calls << u"SetProgressText "_s + text;
    progressTexts << text;
}

void FakeTabHost::RefreshIndicators()
{
    calls << u"RefreshIndicators"_s;
    ++indicatorRefreshes;
}

void FakeTabHost::RefreshBackForward()
{
    calls << u"RefreshBackForward"_s;
    ++backForwardRefreshes;
}

TBrowserTab* FakeTabHost::AddTabPerPreference()
{
    calls << u"AddTabPerPreference"_s;
    if (failNewTabs)
        return nullptr;
    TBrowserTab* tab = makeTab(false, newTabsHaveBrowser);
    perPreferenceTabs << tab;
    if (activateNewTabs)
        activeTab = tab;
    return tab;
}

TBrowserTab* FakeTabHost::AddHiddenTab()
{
    calls << u"AddHiddenTab"_s;
    if (failNewTabs)
        return nullptr;
    TBrowserTab* tab = makeTab(true, newTabsHaveBrowser);
    hiddenTabs << tab;
    return tab;
}

bool FakeTabHost::PopupMatch(const QString& url)
{
    calls << u"PopupMatch "_s + url;
    popupQueries << url;
    return popupMatcher ? popupMatcher(url) : popupMatchAnswer;
}

void FakeTabHost::StartCloseHiddenTimer()
{
    calls << u"StartCloseHiddenTimer"_s;
    ++closeHiddenTimerStarts;
}

void FakeTabHost::CloseTabRequested(TBrowserTab* tab)
{
    calls << u"CloseTabRequested"_s;
    closeRequests << tab;
}
