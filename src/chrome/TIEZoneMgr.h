#pragma once

#include "chrome/ZoneRules.h"

#include <QString>
#include <QStringList>

class RegistryStore;
class WindowServices;

// The security zones as the store keeps them: the site mappings under
// "Zones" (value name the site pattern, data the zone's number) and the
// policies under "Zone Policies" (value names "1A02" and so on, data the
// system's values). Nothing is cached: every call reads the store, so a
// change made with the registry tool or by another copy counts at once.
class TIEZoneMgr
{
public:
    // services gives the zone names and policy texts; without it they are
    // their language keys.
    explicit TIEZoneMgr(RegistryStore* store, const WindowServices* services = nullptr);

    // Everything the zones decide, read now.
    ZoneRules Rules() const;
    static ZoneRules ReadRules(RegistryStore& store);

    int MapUrlToZone(const QString& url) const;
    // Empty for NoZone.
    QString GetZoneName(int zone) const;
    // Maps the address's site (scheme and host) to zone, moving it from any
    // zone it had; 0 on success, -1 when the address has no site or zone
    // is not one a site can be put in.
    int AddSite(const QString& url, int zone);
    // Removes the mapping of the address's site when it puts the site in
    // zone; 0 on success, -1 when there is no such mapping.
    int RemoveSite(const QString& url, int zone);
    // The patterns mapped to zone, in the order they were added.
    QStringList Sites(int zone) const;

    // Program values (ZoneRules::Policy); the Internet zone unless told.
    int GetPolicy(ZoneRules::Action action, int zone = ZoneRules::Internet) const;
    void SetPolicy(ZoneRules::Action action, int value, int zone = ZoneRules::Internet);
    // The allow, prompt or disallow text; empty for other values.
    QString PolicyText(int value) const;

    // The key that holds a zone's policies.
    static QString PolicyKey(int zone);

private:
    QString Text(const QString& key) const;

    RegistryStore* m_store;
    const WindowServices* m_services;
};
