#include "core/tabs/TabAddressRule.h"

QString TabAddressRule::remembered(const QString& shown, bool busy, const QString& pending,
                                   bool restoring, const QString& tabHome)
{
    if (!shown.isEmpty() && shown != QLatin1String("about:blank"))
        return shown;
    // A tab whose first page is still on its way has no address of its own
    // yet; what it is loading is what the user will see there.
    if (busy && !pending.isEmpty())
        return pending;
    // A restored tab that has not reached its page yet (the program ends
    // early, or the site cannot be reached) still stands for that page:
    // remembering it blank would lose the user's tab.
    if (restoring && !tabHome.isEmpty())
        return tabHome;
    return shown;
}
