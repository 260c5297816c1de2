#pragma once

#include "ScriptedServices.h"
#include "core/tabs/ITabHost.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class FakeBrowserControl;

// A window for browser tabs in tests: records every call a tab makes,
// answers from settings the test chooses, and makes real TBrowserTab
// objects (each with a FakeBrowserControl) when a tab asks for new tabs.
//
//   FakeTabHost host;                    // declare before the tabs
//   TBrowserTab* tab = host.makeTab();   // owned by the host
//   host.activeTab = tab;
//   FakeTabHost::controlOf(tab)->simulateNavigation("http://a.test/");
//   QCOMPARE(host.shownAddresses, QStringList{"http://a.test/"});
//
// Tabs made by the host are deleted with it; tabs a test makes itself must
// go before the host does.
class FakeTabHost : public ITabHost
{
public:
    FakeTabHost();
    ~FakeTabHost() override;

    // A tab of this host with a fresh fake control (or none, when
    // withBrowser is false). The host owns it.
    TBrowserTab* makeTab(bool hidden = false, bool withBrowser = true);
    // The fake control of a tab (null when it has another or none).
    static FakeBrowserControl* controlOf(const TBrowserTab* tab);

    // What the tabs' questions and texts go through. Distinct texts for
    // Blank, Loading, StickyNameTitle and StickyNamePrompt.
    ScriptedServices services;

    // ITabHost
    int TitleLimit() const override { return titleLimit; }
    bool WindowActive() const override { return windowActive; }
    bool IsActiveTab(const TBrowserTab* tab) const override;
    void ShowAddress(const QString& url) override;
    void RecordTypedAddress(const QString& url) override;
    void SetStatusText(const QString& text) override;
    void SetProgressText(const QString& text) override;
    void RefreshIndicators() override;
    void RefreshBackForward() override;
    TBrowserTab* AddTabPerPreference() override;
    TBrowserTab* AddHiddenTab() override;
    bool PopupMatch(const QString& url) override;
    void StartCloseHiddenTimer() override;
    void CloseTabRequested(TBrowserTab* tab) override;

    // Answers (set freely)
    int titleLimit = 0;
    bool windowActive = true;
    TBrowserTab* activeTab = nullptr;
    // PopupMatch: the predicate when set, else the fixed answer.
    bool popupMatchAnswer = false;
    std::function<bool(const QString& url)> popupMatcher;
    // New tabs: whether they get a browser, and whether the one added by
    // AddTabPerPreference becomes the active tab. failNewTabs makes both
    // Add functions return null.
    bool newTabsHaveBrowser = true;
    bool activateNewTabs = false;
    bool failNewTabs = false;

    // What the tabs asked for
    // Every call in order as "Name argument" ("ShowAddress http://a.test/",
    // "RefreshIndicators", ...), queries included.
    QStringList calls;
    QStringList shownAddresses;
    QStringList typedAddresses;
    QStringList statusTexts;
    QStringList progressTexts;
    int indicatorRefreshes = 0;
    int backForwardRefreshes = 0;
    QStringList popupQueries;
    int closeHiddenTimerStarts = 0;
    QList<TBrowserTab*> closeRequests;
    // The tabs made, in order; perPreferenceTabs and hiddenTabs say which
    // function made them.
    QList<TBrowserTab*> tabs;
    QList<TBrowserTab*> perPreferenceTabs;
    QList<TBrowserTab*> hiddenTabs;

private:
    QList<QPointer<TBrowserTab>> m_owned;
};
