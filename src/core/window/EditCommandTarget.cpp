#include "core/window/EditCommandTarget.h"

EditCommandTarget::Decision EditCommandTarget::Decide(EditCommand command, const State& state)
{
    if (state.textBoxFocused)
        return {TextBox, false};
    if (state.searchPaneFocused)
        return {SearchPane, false};
    if (state.hasPage)
        return {Page, command == EditPaste};
    return {};
}
