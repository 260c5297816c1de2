#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>

// Where a navigation of the search pane goes. The pane keeps the user's
// searching while result pages open among the tabs: a link whose target is
// "_main" (or whose document's base target is, when the link has none) is
// opened as a tab, and everything else stays in the pane. A search page
// forces an address into the pane by writing "DEF:" in front of it.
class SearchPaneRouting
{
public:
    struct Input
    {
        // The program started this navigation: it is not routed.
        bool pending = false;
        QString address;
        ActivatedElement element;
        // The engine asks for a window for it rather than a load in the pane.
        bool newWindow = false;
        bool shift = false;
        bool searchNewWin = true;
    };

    struct Outcome
    {
        enum Action
        {
            Proceed,    // as the engine asked: in the pane, or as a window
            Route,      // cancelled; address opens in the tabs
            LoadInPane, // cancelled; address loads in the pane
            Refuse      // cancelled; nothing loads
        };
        Action action = Proceed;
        QString address;
        bool newTab = false; // Route: a new tab rather than the one in front
        // The program's pending mark was used up.
        bool pendingConsumed = false;
        bool operator==(const Outcome&) const = default;
    };

    static Outcome Decide(const Input& input);

    // "DEF:" written in any letter case.
    static bool ForcesPane(const QString& address);
};
