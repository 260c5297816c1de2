#include "chrome/EngineSettingsValues.h"

#include "chrome/TIEZoneMgr.h"

#include <algorithm>

EngineSettingsValues EngineSettingsValues::ReadZones(const TIEZoneMgr& zones)
{
    EngineSettingsValues values;
    for (const int zone : SiteZones)
        values.Sites.insert(zone, zones.Sites(zone));
    for (const ZoneRules::Action action : ZoneRules::Actions)
        values.Policies.insert(action, zones.GetPolicy(action));
    return values;
}

void EngineSettingsValues::StoreZones(TIEZoneMgr& zones, const EngineSettingsValues& before) const
{
    // Removals first: a site moved from one zone to another is then added
    // to its new zone last, whichever order the zones come in.
    for (const int zone : SiteZones)
    {
        const QStringList now = Sites.value(zone);
        for (const QString& pattern : before.Sites.value(zone))
            if (!now.contains(pattern) && ZoneOfSite(pattern) == ZoneRules::NoZone)
                zones.RemoveSite(pattern, zone);
    }
    for (const int zone : SiteZones)
    {
        const QStringList was = before.Sites.value(zone);
        for (const QString& pattern : Sites.value(zone))
            if (!was.contains(pattern))
                zones.AddSite(pattern, zone);
    }
    for (const ZoneRules::Action action : ZoneRules::Actions)
    {
        const int value = Policies.value(action, ZoneRules::Allow);
        if (value != before.Policies.value(action, -1))
            zones.SetPolicy(action, value);
    }
}

QString EngineSettingsValues::AddSite(const QString& address, int zone)
{
    const QString pattern = ZoneRules::sitePattern(address);
    if (pattern.isEmpty() || std::find(SiteZones.begin(), SiteZones.end(), zone) == SiteZones.end())
        return QString();
    for (const int other : SiteZones)
        if (other != zone)
            Sites[other].removeAll(pattern);
    if (!Sites[zone].contains(pattern))
        Sites[zone].append(pattern);
    return pattern;
}

int EngineSettingsValues::ZoneOfSite(const QString& pattern) const
{
    for (auto it = Sites.constBegin(); it != Sites.constEnd(); ++it)
        if (it.value().contains(pattern))
            return it.key();
    return ZoneRules::NoZone;
}
