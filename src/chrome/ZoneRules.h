#pragma once

#include <QHash>
#include <QString>
#include <QUrl>

#include <array>

// The security zones as plain values: which zone an address belongs to,
// the site pattern a mapping is kept under, and what each zone allows.
// Everything here is decided from the values it holds; TIEZoneMgr reads
// them from the store.
class ZoneRules
{
public:
    enum Zone
    {
        NoZone = -1,
        LocalMachine = 0,
        Intranet = 1,
        Trusted = 2,
        Internet = 3,
        Restricted = 4
    };
    static constexpr int ZoneCount = 5;

    // The four actions the program edits, with the system's numbers.
    enum Action
    {
        Cookies = 0x1A02,
        SessionCookies = 0x1A03,
        Scripting = 0x1400,
        ActiveX = 0x1200
    };
    static constexpr std::array<Action, 4> Actions = {Cookies, SessionCookies, Scripting, ActiveX};

    // The program's own policy values.
    enum Policy
    {
        Allow = 0,
        Prompt = 1,
        Disallow = 2
    };

    // Site patterns (scheme "://" host, lower case) to their zones.
    QHash<QString, int> sites;

    // The zone of address; NoZone when it is not an address at all.
    int zoneOf(const QString& address) const;
    int zoneOf(const QUrl& url) const;

    int policy(int zone, Action action) const;
    void setPolicy(int zone, Action action, int value);

    // "http://example.org" for any address on that site; empty when the
    // address has no scheme and host to make one of.
    static QString sitePattern(const QString& address);
    static QString sitePattern(const QUrl& url);

    // What a zone allows when nothing is stored for it: restricted sites
    // nothing, every other zone everything.
    static int defaultPolicy(int zone);
    // The store's value name of an action ("1A02") and back.
    static QString actionName(Action action);
    // The system's policy values ("0", "1", "3") and the program's.
    static int policyFromSystem(const QString& data);
    static QString systemFromPolicy(int policy);
    static bool validZone(int zone) { return zone >= LocalMachine && zone <= Restricted; }

private:
    static int actionIndex(Action action);
    // Filled with each zone's default until set.
    std::array<std::array<int, 4>, ZoneCount> m_policies = defaults();
    static std::array<std::array<int, 4>, ZoneCount> defaults();
};
