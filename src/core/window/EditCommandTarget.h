#pragma once

#include "core/engine/IBrowserControl.h"

// Where Cut, Copy, Paste and Select All act, whether chosen from the menu or
// pressed: the text box with the focus edits its own text (the address box
// first of all); else the side bar's search pane when it has the focus;
// else the active tab's page, which gets the focus first (a paste also
// brings the page forward, as the text goes where the page's focus is).
class EditCommandTarget
{
public:
    enum Target
    {
        Nothing,
        TextBox,
        SearchPane,
        Page
    };

    struct State
    {
        bool textBoxFocused = false;
        bool searchPaneFocused = false;
        bool hasPage = false;
    };

    struct Decision
    {
        Target target = Nothing;
        bool activatePageFirst = false;
        bool operator==(const Decision& other) const
        {
            return target == other.target && activatePageFirst == other.activatePageFirst;
        }
    };

    static Decision Decide(EditCommand command, const State& state);
};
