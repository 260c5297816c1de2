#pragma once

#include "chrome/ZoneRules.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

class TIEZoneMgr;

// Everything the engine-settings dialog shows and edits, as one value: read
// when the dialog opens, handed back on OK. The dialog never touches a store
// itself, so tests drive it over plain values.
struct EngineSettingsValues
{
    // The zones the user can put a site in, in the order the dialog offers them.
    static constexpr std::array<int, 3> SiteZones = {ZoneRules::Intranet, ZoneRules::Trusted,
                                                     ZoneRules::Restricted};

    // The content switches, in the order of MainContentSwitches::Switch.
    enum ContentSwitch
    {
        Images,
        Videos,
        Sounds,
        Animations,
        ContentSwitchCount
    };

    // What the privacy page clears; flags.
    enum ClearItem
    {
        ClearHistory = 0x01,
        ClearCache = 0x02,
        ClearCookies = 0x04,
        ClearPermissions = 0x08,
        ClearTypedAddresses = 0x10,
    };
    static constexpr std::array<ClearItem, 5> ClearItems = {ClearHistory, ClearCache, ClearCookies,
                                                            ClearPermissions, ClearTypedAddresses};

    // Site patterns ("https://host") of each of SiteZones.
    QMap<int, QStringList> Sites;
    // The Internet zone's policies (ZoneRules::Policy) by action.
    QHash<ZoneRules::Action, int> Policies;
    std::array<bool, ContentSwitchCount> Content = {true, true, true, true};
    // ClearItem flags chosen on the privacy page; nothing is chosen when the
    // dialog opens.
    int Clear = 0;

    bool operator==(const EngineSettingsValues&) const = default;

    // The zones' sites and the Internet zone's policies as stored now.
    static EngineSettingsValues ReadZones(const TIEZoneMgr& zones);
    // Stores what differs from before: sites taken out of a zone, sites put
    // in one, policies changed.
    void StoreZones(TIEZoneMgr& zones, const EngineSettingsValues& before) const;

    // Puts the site of address in zone (one of SiteZones), taking it out of
    // the other zones, as storing a site does. Its pattern; empty (and
    // nothing changed) when the address names no site.
    QString AddSite(const QString& address, int zone);
    // The zone a pattern is listed in; ZoneRules::NoZone when in none.
    int ZoneOfSite(const QString& pattern) const;
};
