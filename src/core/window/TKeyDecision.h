#pragma once

#include "core/window/MainCommand.h"

#include <Qt>

#include <functional>

// What one key stroke does in the main window, decided before the widget
// with the focus (usually a page) sees it. A pure function of the stroke
// and the window's state, so that every rule can be checked in a table.
//
// The tests run in a fixed order and the first that applies decides:
// another window in front, Alt shortcuts, Ctrl+Tab, Shift+Ins/Del, Esc,
// Alt+Left/Right, the Ctrl table, the function-key table. A stroke no test
// takes goes to its widget as usual; this is also what becomes of the keys
// a page must handle itself (Tab, Backspace, Enter, the arrows, F10).
class TKeyDecision
{
public:
    // How the stroke arrives. A press with Alt held (and Ctrl not) is a
    // system key-down; its release a system key-up.
    enum Kind
    {
        KeyDown,
        KeyUp,
        SysKeyDown,
        SysKeyUp
    };

    struct Stroke
    {
        int key = 0; // Qt::Key; Backtab is given as Tab with Shift
        Qt::KeyboardModifiers modifiers;
        Kind kind = KeyDown;
    };

    struct WindowState
    {
        // The main window is the active window, with no menu or dialog open.
        bool mainWindowInFront = true;
        bool altShortcutsDisabled = false;
        bool hasActiveTab = true;
        // The focus is in one of the window's own text boxes, which cuts,
        // copies and pastes by itself.
        bool textBoxFocused = false;
        // A page shows itself full screen: Esc leaves that first.
        bool pageFullScreen = false;
        // The focus is in the find bar, which Esc closes.
        bool findBarFocused = false;
        // The Favorites tree of the side bar is renaming an item.
        bool favoritesTreeRenaming = false;
        bool partnerBandPresent = false;
        // Whether the window can carry out a command. A key whose command
        // is not available is left to its widget.
        std::function<bool(MainCommand)> available;
    };

    struct Outcome
    {
        // Handled strokes are dropped: the focused widget never sees them.
        bool handled = false;
        MainCommand command = MainCommand::None;
        bool operator==(const Outcome& other) const
        {
            return handled == other.handled && command == other.command;
        }
    };

    static Outcome Decide(const Stroke& stroke, const WindowState& state);
};
