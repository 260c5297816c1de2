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
    void zoneOf_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("zone");
        QTest::newRow("file") << "file:///home/a/page.html" << 0;
        QTest::newRow("own pages") << "quillwave:start" << 0;
        QTest::newRow("mapped trusted") << "https://bank.example/login?x=1" << 2;
        QTest::newRow("mapped, any case") << "HTTPS://Bank.Example/" << 2;
        QTest::newRow("other scheme, same host") << "http://bank.example/" << 3;
        QTest::newRow("mapped restricted") << "http://bad.example:8080/x" << 4;
        QTest::newRow("mapped intranet host with dots") << "http://wiki.corp.example/" << 1;
        QTest::newRow("dotless host") << "http://intranet/page" << 1;
        QTest::newRow("localhost") << "http://localhost:8080/" << 1;
        QTest::newRow("ip address") << "http://127.0.0.1/" << 3;
        QTest::newRow("ipv6 address") << "http://[::1]/" << 3;
        QTest::newRow("internet") << "https://example.org/" << 3;
        QTest::newRow("blank page") << "about:blank" << 3;
        QTest::newRow("not an address") << "no address" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void zoneOf()
    {
        QFETCH(QString, address);
        QFETCH(int, zone);
        ZoneRules rules;
        rules.sites = {{"https://bank.example", 2},
                       {"http://bad.example", 4},
                       {"http://wiki.corp.example", 1}};
        QCOMPARE(rules.zoneOf(address), zone);
    }

    void policyValues_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<int>("program");
        QTest::addColumn<QString>("writtenBack");
        QTest::newRow("allow") << "0" << 0 << "0";
        QTest::newRow("prompt") << "1" << 1 << "1";
        QTest::newRow("disallow") << "3" << 2 << "3";
        QTest::newRow("other system value") << "2" << 0 << "0";
        QTest::newRow("junk") << "yes" << 0 << "0";
    }
    void policyValues()
    {
        QFETCH(QString, system);
        QFETCH(int, program);
        QFETCH(QString, writtenBack);
        QCOMPARE(ZoneRules::policyFromSystem(system), program);
        QCOMPARE(ZoneRules::systemFromPolicy(program), writtenBack);
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

    void cookieRule_data()
    {
        QTest::addColumn<int>("persistent");
        QTest::addColumn<int>("session");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("keepPersistent");
        QTest::addColumn<bool>("keepSession");
        QTest::addColumn<bool>("asSession");
        QTest::newRow("both allowed") << 0 << 0 << true << true << true << false;
        QTest::newRow("session only") << 2 << 0 << true << false << true << true;
        QTest::newRow("persistent only") << 0 << 2 << true << true << false << false;
        QTest::newRow("none") << 2 << 2 << false << false << false << false;
    }
    void cookieRule()
    {
        QFETCH(int, persistent);
        QFETCH(int, session);
        const TZoneEnforcer::CookieRule rule = TZoneEnforcer::cookieRule(persistent, session);
        QTEST(rule.accept, "accept");
        QTEST(rule.keepPersistent, "keepPersistent");
        QTEST(rule.keepSession, "keepSession");
        QTEST(rule.persistentAsSession(), "asSession");
    }
};

QTEST_GUILESS_MAIN(tst_TIEZoneMgr)
#include "tst_TIEZoneMgr.moc"
