#include "navigation/SearchPaneRouting.h"

#include "navigation/TAddressController.h"

namespace
{
const QString MainTarget = QStringLiteral("_main");

using Outcome = SearchPaneRouting::Outcome;

// The target a link's navigation takes: its own, else the document's.
QString effectiveTarget(const ActivatedElement& element)
{
    return element.target.isEmpty() ? element.baseTarget : element.target;
}

// An address taken out of a page must not run script in another document
// (the pane's own top document, or the page in front).
Outcome leaving(Outcome::Action action, const QString& address, bool newTab = false)
{
    if (TAddressController::IsScriptAddress(address) || address.trimmed().isEmpty())
        return Outcome{Outcome::Refuse, QString(), false, false};
    return Outcome{action, address, newTab, false};
}
} // namespace

bool SearchPaneRouting::ForcesPane(const QString& address)
{
    return address.left(4).toUpper() == QLatin1String("DEF:");
}

SearchPaneRouting::Outcome SearchPaneRouting::Decide(const Input& input)
{
    if (input.pending)
        return Outcome{Outcome::Proceed, input.address, false, true};
    if (ForcesPane(input.address))
        return leaving(Outcome::LoadInPane, input.address.mid(4));

    const ActivatedElement& element = input.element;
    const bool link = element.known && element.tag == QLatin1String("A");
    // Case matters: "_MAIN" is a window of that name, not the tabs.
    if (link && (element.target == MainTarget ||
                 (element.target.isEmpty() && element.baseTarget == MainTarget)))
        return leaving(Outcome::Route, input.address, input.searchNewWin != input.shift);

    // Any other spelling of "_main" names the pane's own window, which the
    // engine, knowing no such window, would open anew.
    if (link && input.newWindow &&
        effectiveTarget(element).compare(MainTarget, Qt::CaseInsensitive) == 0)
        return leaving(Outcome::LoadInPane, input.address);
    return Outcome{Outcome::Proceed, input.address, false, false};
}
