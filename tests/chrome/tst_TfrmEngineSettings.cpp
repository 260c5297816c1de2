// The engine-settings dialog through its controls: sites typed into a zone,
// policies chosen, and OK, which asks before data is cleared.

#include "ScriptedServices.h"

#include "chrome/EnginePrivacyPage.h"
#include "chrome/EngineZonesPage.h"
#include "chrome/TfrmEngineSettings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{
EngineSettingsValues someValues()
{
    EngineSettingsValues values;
    values.Sites = {{ZoneRules::Intranet, {}},
                    {ZoneRules::Trusted, {"https://bank.test", "https://mail.test"}},
                    {ZoneRules::Restricted, {"http://ads.test"}}};
    for (const ZoneRules::Action action : ZoneRules::Actions)
        values.Policies.insert(action, ZoneRules::Allow);
    values.Policies[ZoneRules::Scripting] = ZoneRules::Prompt;
    return values;
}
} // namespace

class tst_TfrmEngineSettings : public QObject
{
    Q_OBJECT

private slots:
    void addSite_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("trusted"); // the trusted list afterwards
        QTest::addColumn<QString>("restricted");
        QTest::addColumn<bool>("refused");
        // clang-format off
        QTest::newRow("address")    << " https://WWW.Shop.test/a/b?c " << "https://bank.test https://mail.test https://www.shop.test" << "http://ads.test" << false;
        QTest::newRow("listed")     << "https://bank.test/login"      << "https://bank.test https://mail.test" << "http://ads.test" << false;
        QTest::newRow("moved")      << "http://ads.test/banner"       << "https://bank.test https://mail.test http://ads.test" << "" << false;
        QTest::newRow("no scheme")  << "www.shop.test"                << "https://bank.test https://mail.test" << "http://ads.test" << true;
        QTest::newRow("no host")    << "file:///etc/passwd"           << "https://bank.test https://mail.test" << "http://ads.test" << true;
        QTest::newRow("script")     << "javascript:alert(1)"          << "https://bank.test https://mail.test" << "http://ads.test" << true;
        // clang-format on
    }
    void addSite()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        ScriptedServices services;
        TfrmEngineSettings dialog(someValues(), &services);
        EngineZonesPage* page = dialog.tsZones;
        page->ShowZone(ZoneRules::Trusted);
        page->edtSite->setText(typed);
        QTest::keyClick(page->edtSite, Qt::Key_Return);
        QCOMPARE(dialog.result(), 0); // Enter added; it did not press OK
        QCOMPARE(services.errors.size(), int(refused));
        // A refused text stays to be mended.
        QCOMPARE(page->edtSite->text(), refused ? typed : QString());
        const EngineSettingsValues values = dialog.Values();
        QTEST(values.Sites.value(ZoneRules::Trusted).join(' '), "trusted");
        QTEST(values.Sites.value(ZoneRules::Restricted).join(' '), "restricted");
        QCOMPARE(page->lstSites->count(), int(values.Sites.value(ZoneRules::Trusted).size()));
    }

    void policies_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("policy");
        QTest::addColumn<QString>("button");
        // clang-format off
        QTest::newRow("cookies prompt")    << int(ZoneRules::Cookies)        << int(ZoneRules::Prompt)   << "rdoCookiesPrompt";
        QTest::newRow("session disallow")  << int(ZoneRules::SessionCookies) << int(ZoneRules::Disallow) << "rdoSessionCookiesDisallow";
        QTest::newRow("scripting allow")   << int(ZoneRules::Scripting)      << int(ZoneRules::Allow)    << "rdoScriptingAllow";
        QTest::newRow("plug-ins disallow") << int(ZoneRules::ActiveX)        << int(ZoneRules::Disallow) << "rdoActiveXDisallow";
        // clang-format on
    }
    void policies()
    {
        QFETCH(int, action);
        QFETCH(int, policy);
        QFETCH(QString, button);
        ScriptedServices services;
        TfrmEngineSettings dialog(someValues(), &services);
        QVERIFY(dialog.findChild<QRadioButton*>("rdoScriptingPrompt")->isChecked());
        auto* choice = dialog.findChild<QRadioButton*>(button);
        QVERIFY(choice);
        choice->click();
        EngineSettingsValues expected = someValues();
        expected.Policies[ZoneRules::Action(action)] = policy;
        QCOMPARE(dialog.Values().Policies, expected.Policies);
    }

    void okAsksBeforeClearing_data()
    {
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("agree");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("result");
        QTest::newRow("nothing to clear") << false << false << 0 << int(QDialog::Accepted);
        QTest::newRow("agreed") << true << true << 1 << int(QDialog::Accepted);
        QTest::newRow("declined") << true << false << 1 << int(QDialog::Rejected);
    }
    void okAsksBeforeClearing()
    {
        QFETCH(bool, clear);
        QFETCH(bool, agree);
        ScriptedServices services;
        services.confirmAnswer = {agree, false};
        TfrmEngineSettings dialog(someValues(), &services);
        dialog.ShowPage(TfrmEngineSettings::ContentPage);
        dialog.tsPrivacy->Box(EngineSettingsValues::ClearCookies)->setChecked(clear);
        dialog.tsPrivacy->Box(EngineSettingsValues::ClearCache)->setChecked(clear);
        dialog.cmdOK->click();
        QTEST(int(services.confirmCalls.size()), "questions");
        QTEST(dialog.result(), "result");
        if (clear)
            QCOMPARE(services.confirmCalls.first().prompt.count(QLatin1Char('\n')), 3);
        if (clear && !agree)
            QCOMPARE(dialog.CurrentPage(), TfrmEngineSettings::PrivacyPage);
    }
};

QTEST_MAIN(tst_TfrmEngineSettings)
#include "tst_TfrmEngineSettings.moc"
