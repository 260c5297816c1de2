#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>

// A locked tab keeps its page: a navigation that would leave it opens in a
// new tab instead.
class LockedTabRule
{
public:
    // Whether request, asked of a locked tab showing currentUrl, goes to a
    // new tab.
    static bool divertsToNewTab(const NavigationRequest& request, const QString& currentUrl);
};
