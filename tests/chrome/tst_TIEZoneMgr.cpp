// Security zones: the zone of an address, the policy values both ways, and
// sites added and removed through the store.

#include "TestStore.h"

#include "chrome/TIEZoneMgr.h"
#include "core/engine/TZoneEnforcer.h"
#include "core/store/RegistryKeys.h"

#include <QTest>

class tst_TIEZoneMgr : public QObject
{
    Q_OBJECT

private slots:
    void zoneOf()
    {
        ZoneRules rules;
        rules.sites = {{"https://bank.example", 2},
                       {"http://bad.example", 4},
                       {"http://wiki.corp.example", 1}};
        // clang-format off
        const QList<QPair<QString, int>> rows = {
            {"file:///home/a/page.html", 0}, {"quillwave:start", 0},
            {"https://bank.example/login?x=1", 2}, {"HTTPS://Bank.Example/", 2},
            {"http://bank.example/", 3}, // other scheme, same host
            {"http://bad.example:8080/x", 4}, {"http://wiki.corp.example/", 1},
            {"http://intranet/page", 1}, {"http://localhost:8080/", 1},
            {"http://127.0.0.1/", 3}, {"http://[::1]/", 3}, {"https://example.org/", 3},
            {"about:blank", 3}, {"no address", -1}, {"", -1}};
        // clang-format on
        for (const auto& [address, zone] : rows)
            QVERIFY2(rules.zoneOf(address) == zone,
                     qPrintable(address + " -> " + QString::number(rules.zoneOf(address))));
    }

    void policyValues()
    {
        // System value, program value, system value written back.
        // clang-format off
        const QList<std::tuple<QString, int, QString>> rows = {
            {"0", 0, "0"}, {"1", 1, "1"}, {"3", 2, "3"}, {"2", 0, "0"}, {"yes", 0, "0"}};
        // clang-format on
        for (const auto& [system, program, writtenBack] : rows)
        {
            QCOMPARE(ZoneRules::policyFromSystem(system), program);
            QCOMPARE(ZoneRules::systemFromPolicy(program), writtenBack);
        }
    }

    void storedPoliciesAndDefaults()
    {
        TestStore t;
        TIEZoneMgr zones(t.store.get());
        // Restricted sites may do nothing, every other zone everything.
        QCOMPARE(zones.GetPolicy(ZoneRules::Scripting), int(ZoneRules::Allow));
        QCOMPARE(zones.GetPolicy(ZoneRules::Scripting, ZoneRules::Restricted),
                 int(ZoneRules::Disallow));
        QCOMPARE(zones.GetPolicy(ZoneRules::Cookies, ZoneRules::Trusted), int(ZoneRules::Allow));

        zones.SetPolicy(ZoneRules::SessionCookies, ZoneRules::Disallow);
        QCOMPARE(t.store->value(RegistryKeys::ZonePolicies, "1A03")->text, QString("3"));
        // A value set by hand, even of the other type, counts.
        t.store->setDWord(RegistryKeys::ZonePolicies, "1400", 1);
        QCOMPARE(zones.GetPolicy(ZoneRules::Scripting), int(ZoneRules::Prompt));
        QCOMPARE(zones.GetPolicy(ZoneRules::SessionCookies), int(ZoneRules::Disallow));
        QCOMPARE(zones.GetPolicy(ZoneRules::SessionCookies, ZoneRules::Trusted),
                 int(ZoneRules::Allow));
    }

    void addAndRemoveSites()
    {
        TestStore t;
        TIEZoneMgr zones(t.store.get());
        const QString page = "https://Shop.Example/cart/item?id=4#top";
        QCOMPARE(zones.AddSite(page, ZoneRules::Restricted), 0);
        QCOMPARE(t.store->value(RegistryKeys::Zones, "https://shop.example")->text, QString("4"));
        QCOMPARE(zones.MapUrlToZone("https://shop.example/other"), 4);
        QCOMPARE(zones.Sites(ZoneRules::Restricted), QStringList{"https://shop.example"});

        QCOMPARE(zones.AddSite("not an address", ZoneRules::Trusted), -1);
        QCOMPARE(zones.AddSite(page, ZoneRules::Internet), -1);

        // Removal finds the mapping from any page of the site, in its zone only.
        QCOMPARE(zones.RemoveSite("https://shop.example/elsewhere", ZoneRules::Trusted), -1);
        QCOMPARE(zones.RemoveSite("https://shop.example/elsewhere", ZoneRules::Restricted), 0);
        QCOMPARE(zones.MapUrlToZone(page), 3);
        QCOMPARE(zones.RemoveSite(page, ZoneRules::Restricted), -1);
    }

    void mappingsTheProgramCannotMakeAreIgnored()
    {
        TestStore t;
        t.store->setString(RegistryKeys::Zones, "http://a.example", "9");
        t.store->setString(RegistryKeys::Zones, "http://b.example/path", "4");
        t.store->setDWord(RegistryKeys::Zones, "http://c.example", 2);
        const ZoneRules rules = TIEZoneMgr::ReadRules(*t.store);
        QCOMPARE(rules.sites, (QHash<QString, int>{{"http://c.example", 2}}));
    }

    void cookieRule()
    {
        // Persistent and session policy; accept, keep persistent, keep session,
        // persistent kept as session.
        // clang-format off
        const QList<std::tuple<int, int, bool, bool, bool, bool>> rows = {
            {0, 0, true, true, true, false}, {2, 0, true, false, true, true},
            {0, 2, true, true, false, false}, {2, 2, false, false, false, false}};
        // clang-format on
        for (const auto& [persistent, session, accept, keepPersistent, keepSession, asSession] :
             rows)
        {
            const TZoneEnforcer::CookieRule rule = TZoneEnforcer::cookieRule(persistent, session);
            QCOMPARE(rule.accept, accept);
            QCOMPARE(rule.keepPersistent, keepPersistent);
            QCOMPARE(rule.keepSession, keepSession);
            QCOMPARE(rule.persistentAsSession(), asSession);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TIEZoneMgr)
#include "tst_TIEZoneMgr.moc"
