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
    void addSite()
    {
        const QString listed = "https://bank.test https://mail.test";
        // Typed, the trusted and restricted lists afterwards, refused.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, bool>> rows = {
            {" https://WWW.Shop.test/a/b?c ", listed + " https://www.shop.test", "http://ads.test", false},
            {"https://bank.test/login", listed, "http://ads.test", false}, // already listed
            {"http://ads.test/banner", listed + " http://ads.test", "", false}, // moved between zones
            {"www.shop.test", listed, "http://ads.test", true}, // no scheme
            {"file:///etc/passwd", listed, "http://ads.test", true}, // no host
            {"javascript:alert(1)", listed, "http://ads.test", true}};
        // clang-format on
        for (const auto& [typed, trusted, restricted, refused] : rows)
        {
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
            QCOMPARE(values.Sites.value(ZoneRules::Trusted).join(' '), trusted);
            QCOMPARE(values.Sites.value(ZoneRules::Restricted).join(' '), restricted);
            QCOMPARE(page->lstSites->count(), int(values.Sites.value(ZoneRules::Trusted).size()));
        }
    }

    void policies()
    {
        const QList<std::tuple<ZoneRules::Action, int, QString>> rows = {
            {ZoneRules::Cookies, ZoneRules::Prompt, "rdoCookiesPrompt"},
            {ZoneRules::SessionCookies, ZoneRules::Disallow, "rdoSessionCookiesDisallow"},
            {ZoneRules::Scripting, ZoneRules::Allow, "rdoScriptingAllow"},
            {ZoneRules::ActiveX, ZoneRules::Disallow, "rdoActiveXDisallow"}};
        for (const auto& [action, policy, button] : rows)
        {
            ScriptedServices services;
            TfrmEngineSettings dialog(someValues(), &services);
            QVERIFY(dialog.findChild<QRadioButton*>("rdoScriptingPrompt")->isChecked());
            auto* choice = dialog.findChild<QRadioButton*>(button);
            QVERIFY2(choice, qPrintable(button));
            choice->click();
            EngineSettingsValues expected = someValues();
            expected.Policies[action] = policy;
            QCOMPARE(dialog.Values().Policies, expected.Policies);
        }
    }

    // OK asks before clearing data; declining keeps the dialog on its page.
    void okAsksBeforeClearing()
    {
        // Clear, agree, questions asked, result.
        const QList<std::tuple<bool, bool, int, int>> rows = {{false, false, 0, QDialog::Accepted},
                                                              {true, true, 1, QDialog::Accepted},
                                                              {true, false, 1, QDialog::Rejected}};
        for (const auto& [clear, agree, questions, result] : rows)
        {
            ScriptedServices services;
            services.confirmAnswer = {agree, false};
            TfrmEngineSettings dialog(someValues(), &services);
            dialog.ShowPage(TfrmEngineSettings::ContentPage);
            dialog.tsPrivacy->Box(EngineSettingsValues::ClearCookies)->setChecked(clear);
            dialog.tsPrivacy->Box(EngineSettingsValues::ClearCache)->setChecked(clear);
            dialog.cmdOK->click();
            QCOMPARE(int(services.confirmCalls.size()), questions);
            QCOMPARE(dialog.result(), result);
            if (clear)
                QCOMPARE(services.confirmCalls.first().prompt.count(QLatin1Char('\n')), 3);
            if (clear && !agree)
                QCOMPARE(dialog.CurrentPage(), TfrmEngineSettings::PrivacyPage);
        }
    }
};

QTEST_MAIN(tst_TfrmEngineSettings)
#include "tst_TfrmEngineSettings.moc"
