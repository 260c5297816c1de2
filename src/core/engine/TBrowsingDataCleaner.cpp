#include "core/engine/TBrowsingDataCleaner.h"

#include "chrome/EngineSettingsValues.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/engine/THistoryIndexReader.h"
#include "core/engine/TSitePermissions.h"
#include "core/engine/TZoneEnforcer.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

int TBrowsingDataCleaner::Clear(int items, const Targets& targets)
{
    using Values = EngineSettingsValues;
    int failed = 0;
    if (items & Values::ClearHistory)
    {
        if (!THistoryIndexReader::clear(targets.historyRoot))
            failed |= Values::ClearHistory;
        // Links of forgotten pages no longer draw as visited.
        if (targets.profile)
            targets.profile->clearAllVisitedLinks();
    }
    if ((items & Values::ClearCache) && targets.profile)
        targets.profile->clearHttpCache();
    if ((items & Values::ClearCookies) && targets.profile)
        targets.profile->cookieStore()->deleteAllCookies();
    if (items & Values::ClearPermissions)
    {
        // Both kinds of answer last for the run only: forgetting them is all
        // there is, and each site is asked again.
        TZoneEnforcer::forgetAnswers();
        TPageDialogs::sitePermissions().clear();
    }
    if ((items & Values::ClearTypedAddresses) && targets.clearTypedAddresses &&
        !targets.clearTypedAddresses())
        failed |= Values::ClearTypedAddresses;
    return failed;
}
