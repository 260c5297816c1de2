#include "core/window/TKeyDecision.h"

namespace
{
using Outcome = TKeyDecision::Outcome;

constexpr Outcome NotHandled{false, MainCommand::None};
constexpr Outcome Swallowed{true, MainCommand::None};

bool isAvailable(const TKeyDecision::WindowState& state, MainCommand command)
{
    return command == MainCommand::None || !state.available || state.available(command);
}

// A command that exists takes the key; one that does not leaves it alone.
Outcome run(const TKeyDecision::WindowState& state, MainCommand command)
{
    return isAvailable(state, command) ? Outcome{true, command} : NotHandled;
}

bool isDown(TKeyDecision::Kind kind)
{
    return kind == TKeyDecision::KeyDown || kind == TKeyDecision::SysKeyDown;
}

// Alt plus one of these belongs to the window unless Alt shortcuts are off.
MainCommand altCommand(int key, bool* inSet)
{
    *inSet = true;
    switch (key)
    {
    case Qt::Key_Home:
        return MainCommand::Home;
    case Qt::Key_D:
        return MainCommand::FocusAddressBox;
    case Qt::Key_F:
        return MainCommand::DropFileMenu;
    case Qt::Key_E:
        return MainCommand::DropEditMenu;
    case Qt::Key_V:
        return MainCommand::DropViewMenu;
    case Qt::Key_A:
        return MainCommand::DropFavoritesMenu;
    case Qt::Key_C:
        return MainCommand::DropVostelGroupsMenu;
    case Qt::Key_T:
        return MainCommand::DropToolsMenu;
    case Qt::Key_R:
        return MainCommand::DropSecurityMenu;
    case Qt::Key_H:
        return MainCommand::DropHelpMenu;
    case Qt::Key_S:
        return MainCommand::DropTabsMenu;
    case Qt::Key_G:
    case Qt::Key_X:
        return MainCommand::None;
    default:
        *inSet = false;
        return MainCommand::None;
    }
}

// The Ctrl table; None with inTable false for keys it does not list.
MainCommand ctrlCommand(int key, bool shift, bool* inTable)
{
    *inTable = true;
    switch (key)
    {
    case Qt::Key_Insert:
    case Qt::Key_C:
        return MainCommand::Copy;
    case Qt::Key_A:
        return MainCommand::SelectAll;
    case Qt::Key_B:
        return MainCommand::OrganizeFavorites;
    case Qt::Key_E:
        return MainCommand::SideBarSearch;
    case Qt::Key_F:
        return MainCommand::Find;
    case Qt::Key_G:
        return MainCommand::SideBarVostelGroups;
    case Qt::Key_H:
        return shift ? MainCommand::NewHomeTab : MainCommand::SideBarHistory;
    case Qt::Key_I:
        return MainCommand::SideBarFavorites;
    case Qt::Key_J:
        return MainCommand::Downloads;
    case Qt::Key_L:
    case Qt::Key_O:
        return MainCommand::OpenDialog;
    case Qt::Key_N:
        return MainCommand::NewTab;
    case Qt::Key_P:
        return MainCommand::Print;
    case Qt::Key_R:
        return MainCommand::RefreshBypassCache;
    case Qt::Key_S:
        return shift ? MainCommand::SaveAs : MainCommand::SideBarSearch;
    case Qt::Key_T:
        // Ctrl+T alone is not the window's.
        *inTable = shift;
        return shift ? MainCommand::ReopenClosedTab : MainCommand::None;
    case Qt::Key_V:
        return MainCommand::Paste;
    case Qt::Key_X:
        return MainCommand::Cut;
    case Qt::Key_W:
    case Qt::Key_F4:
        return shift ? MainCommand::CloseAll : MainCommand::CloseTab;
    case Qt::Key_F3:
        return MainCommand::FollowNextLink;
    default:
        *inTable = false;
        return MainCommand::None;
    }
}

bool isEditCommand(MainCommand command)
{
    return command == MainCommand::Cut || command == MainCommand::Copy ||
           command == MainCommand::Paste || command == MainCommand::SelectAll;
}

// The function-key table (F10 is not in it).
Outcome functionKey(int key, bool ctrl, bool shift, const TKeyDecision::WindowState& state)
{
    switch (key)
    {
    case Qt::Key_F1:
        if (ctrl)
            return state.partnerBandPresent ? run(state, MainCommand::PartnerLink) : Swallowed;
        return run(state, MainCommand::HelpTopics);
    case Qt::Key_F2:
        if (state.favoritesTreeRenaming)
            return NotHandled;
        return run(state, MainCommand::PreviousTab);
    case Qt::Key_F3:
        return run(state, MainCommand::NextTab);
    case Qt::Key_F4:
        return run(state, MainCommand::ToggleSideBar);
    case Qt::Key_F5:
        if (shift)
            return run(state, MainCommand::RefreshAll);
        return run(state, ctrl ? MainCommand::RefreshBypassCache : MainCommand::Refresh);
    case Qt::Key_F6:
        return run(state, MainCommand::AddToVostelGroup);
    case Qt::Key_F7:
        return run(state, MainCommand::SaveTabsAsVostelGroup);
    case Qt::Key_F8:
        return run(state, MainCommand::AddToPopupList);
    case Qt::Key_F9:
        return run(state, MainCommand::StickyTitle);
    case Qt::Key_F11:
        return run(state, MainCommand::FullScreen);
    case Qt::Key_F12:
        return run(state, ctrl ? MainCommand::FlipOpenInForeground : MainCommand::ToggleLock);
    default:
        return NotHandled;
    }
}
} // namespace

TKeyDecision::Outcome TKeyDecision::Decide(const Stroke& stroke, const WindowState& state)
{
    const bool alt = stroke.modifiers.testFlag(Qt::AltModifier);
    const bool ctrl = stroke.modifiers.testFlag(Qt::ControlModifier);
    const bool shift = stroke.modifiers.testFlag(Qt::ShiftModifier);
    const int key = stroke.key;

    // Menus and dialogs take their own keys.
    if (!state.mainWindowInFront)
        return NotHandled;

    // Alt shortcuts: every kind of stroke with the key is the window's; the
    // command runs once, on the press.
    if (alt && !state.altShortcutsDisabled)
    {
        bool inSet = false;
        const MainCommand command = altCommand(key, &inSet);
        if (inSet)
        {
            if (!isAvailable(state, command))
                return NotHandled;
            return isDown(stroke.kind) ? Outcome{true, command} : Swallowed;
        }
    }

    // Only presses and plain releases go further.
    if (stroke.kind == SysKeyUp)
        return NotHandled;
    const bool keyDown = stroke.kind == KeyDown;

    if (keyDown && key == Qt::Key_Tab && ctrl)
        return run(state, shift ? MainCommand::PreviousTab : MainCommand::NextTab);

    if (!state.hasActiveTab)
        return NotHandled;

    if (keyDown && shift && (key == Qt::Key_Insert || key == Qt::Key_Delete))
    {
        // A text box of the window edits its own text.
        if (state.textBoxFocused)
            return NotHandled;
        return run(state, key == Qt::Key_Insert ? MainCommand::Paste : MainCommand::Cut);
    }

    if (keyDown && key == Qt::Key_Escape)
    {
        // Esc first brings a full-screen page back into its tab, or closes
        // the find bar that has the focus.
        if (state.pageFullScreen || state.findBarFocused)
            return NotHandled;
        return run(state, shift ? MainCommand::StopAll : MainCommand::Stop);
    }

    if (stroke.kind == SysKeyDown && !state.altShortcutsDisabled &&
        (key == Qt::Key_Left || key == Qt::Key_Right))
    {
        // Swallowed even when the tab cannot go: the page must not take the
        // stroke as its own either.
        const Outcome go =
            run(state, key == Qt::Key_Left ? MainCommand::Back : MainCommand::Forward);
        return go.handled ? go : Swallowed;
    }

    // Ctrl+Alt+O would otherwise be Ctrl+O of the table below.
    if (keyDown && ctrl && alt && key == Qt::Key_O)
        return run(state, MainCommand::Options);

    if (keyDown && ctrl)
    {
        bool inTable = false;
        const MainCommand command = ctrlCommand(key, shift, &inTable);
        if (inTable)
        {
            if (state.textBoxFocused && isEditCommand(command))
                return NotHandled;
            return run(state, command);
        }
    }

    if (keyDown && key >= Qt::Key_F1 && key <= Qt::Key_F12 && key != Qt::Key_F10)
        return functionKey(key, ctrl, shift, state);

    return NotHandled;
}
