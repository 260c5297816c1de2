#pragma once

#include "FakeTabHost.h"
#include "core/tabs/TTabSet.h"

// A window for tests that forwards what its tabs ask to a real tab set and
// records the rest as FakeTabHost does.
class TabSetHost : public FakeTabHost
{
public:
    TTabSet* tabSet = nullptr;

    int TitleLimit() const override { return tabSet ? tabSet->TitleLimit() : 0; }
    bool IsActiveTab(const TBrowserTab* tab) const override
    {
        return tabSet && tab && tabSet->GetActivePage() == tab;
    }
    TBrowserTab* AddTabPerPreference() override { return tabSet->AddTabPerPreference(); }
    TBrowserTab* AddHiddenTab() override { return tabSet->AddHiddenTab(); }
    void CloseTabRequested(TBrowserTab* tab) override { tabSet->CloseTab(tab); }
};
