// The engine's settings as stored: security zones (the zone of an address,
// the policy values both ways, sites added and removed), the content
// switches and the program's token in the user agent.

#include "TestStore.h"

#include "chrome/SettingsBroadcast.h"
#include "chrome/TIEOptions.h"
#include "chrome/TIEZoneMgr.h"
#include "chrome/TUserAgentToken.h"
#include "core/engine/TZoneEnforcer.h"
#include "core/store/RegistryKeys.h"

#include <QSignalSpy>
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
        const QList<std::tuple<int, int, QList<bool>>> rows = {
            {0, 0, {true, true, true, false}}, {2, 0, {true, false, true, true}},
            {0, 2, {true, true, false, false}}, {2, 2, {false, false, false, false}}};
        // clang-format on
        for (const auto& [persistent, session, expected] : rows)
        {
            const TZoneEnforcer::CookieRule r = TZoneEnforcer::cookieRule(persistent, session);
            QCOMPARE(
                QList<bool>({r.accept, r.keepPersistent, r.keepSession, r.persistentAsSession()}),
                expected);
        }
    }

    // Only "no", in any case and with blanks around, switches a content kind
    // off, and only the switch of that value follows it; the setters write
    // "yes" or "no", and a change is announced for the engine's whole area.
    void contentSwitches()
    {
        const QStringList names = {TIEOptions::ImagesValue, TIEOptions::VideosValue,
                                   TIEOptions::SoundsValue, TIEOptions::AnimationsValue};
        using R = RegValue;
        // clang-format off
        const QList<QPair<std::optional<RegValue>, bool>> values = {
            {std::nullopt, true}, {R::fromString("yes"), true}, {R::fromString("no"), false},
            {R::fromString("No"), false}, {R::fromString(" no "), false},
            {R::fromString("nope"), true}, {R::fromString(""), true}, {R::fromDWord(0), true}};
        // clang-format on
        for (int i = 0; i < names.size(); ++i)
            for (const auto& [value, on] : values)
            {
                TestStore test;
                if (value)
                    QVERIFY(test.store->setValue(RegistryKeys::EngineMain, names[i], *value));
                const TIEOptions::Switches read = TIEOptions(test.store.get()).ReadSwitches();
                QList<bool> expected(names.size(), true);
                expected[i] = on;
                QCOMPARE(QList<bool>({read.images, read.videos, read.sounds, read.animations}),
                         expected);
            }

        TestStore test;
        TIEOptions options(test.store.get());
        QVERIFY(options.SetLoadImages(false) && options.SetLoadVideos(false) &&
                options.SetPlaySounds(true) && options.SetPlayAnimations(false));
        QStringList texts;
        for (const QString& name : names)
            texts << test.store->value(RegistryKeys::EngineMain, name).value_or(RegValue()).text;
        QCOMPARE(texts, QStringList({"no", "no", "yes", "no"}));
        QCOMPARE(options.ReadSwitches(), (TIEOptions::Switches{false, false, true, false}));
        QSignalSpy spy(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged);
        TIEOptions::NotifySettingsChanged();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), "Software\\Microsoft\\Internet Explorer\\");
    }

    void userAgentTokenUpdate()
    {
        const QString& ours = TUserAgentToken::TokenName;
        const QString& key = RegistryKeys::UserAgentPostPlatform;
        // Values before, added (or removed at exit), values after.
        // clang-format off
        const QList<std::tuple<QList<QPair<QString, QString>>, bool, QStringList>> rows = {
            {{{"SV1", ""}, {"Quillwave 5.0", "IEAK"}, {".NET CLR 2.0.50727", ""}}, true, {"SV1", ".NET CLR 2.0.50727", ours}}, // older version replaced
            {{{ours, "IEAK"}, {"SV1", ""}}, true, {"SV1", ours}}, // left behind by a crash: deleted, then written again
            {{{"KoncoBrowse 2.1", "x"}, {"version.dll 6", "x"}, {"KoncoBrows", "x"}, {"Quillwav", "x"}, {"My Quillwave", "x"}}, true, {"KoncoBrows", "Quillwav", "My Quillwave", ours}}, // predecessors removed, short and different names kept
            {{{"SV1", ""}, {ours, "IEAK"}, {"Quillwave 5.0", "IEAK"}}, false, {"SV1"}}};
        // clang-format on
        for (const auto& [before, add, after] : rows)
        {
            TestStore test;
            for (const auto& [name, data] : before)
                QVERIFY(test.store->setString(key, name, data));
            TUserAgentToken::UpdateUserAgentToken(*test.store, add);
            QCOMPARE(TUserAgentToken::Tokens(*test.store), after);
            QCOMPARE(test.store->valueNames(key), after);
            if (add)
                QCOMPARE(test.store->value(key, ours), RegValue::fromString("IEAK"));
            // A number stored under our name is replaced by the text.
            test.store->setDWord(key, ours, 7);
            TUserAgentToken::UpdateUserAgentToken(*test.store, true);
            QCOMPARE(test.store->value(key, ours), RegValue::fromString("IEAK"));
        }
    }

    void userAgent()
    {
        const QString tail = " AppleWebKit/537.36 (KHTML, like Gecko) "
                             "QtWebEngine/6.4.2 Chrome/102.0.5005.177 Safari/537.36";
        const QString engine = "Mozilla/5.0 (X11; Linux x86_64)" + tail;
        const QString& ours = TUserAgentToken::TokenName;
        const QString withOurs = "Mozilla/5.0 (X11; Linux x86_64; " + ours + ")" + tail;
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(engine, {ours}), withOurs);
        // Tokens that would break the header are left out.
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(
                     engine, {"bad\r\nX-Injected: 1", "a)b", "c;d", "caf\u00e9", "  ", ours}),
                 withOurs);
        QCOMPARE(TUserAgentToken::UserAgentWithTokens(engine, {"Linux x86_64", "SV1", "SV1"}),
                 "Mozilla/5.0 (X11; Linux x86_64; SV1)" + tail);
        QCOMPARE(TUserAgentToken::UserAgentWithTokens("Mozilla/5.0 Gecko", {ours}),
                 "Mozilla/5.0 (" + ours + ") Gecko");
    }
};

QTEST_GUILESS_MAIN(tst_TIEZoneMgr)
#include "tst_TIEZoneMgr.moc"
