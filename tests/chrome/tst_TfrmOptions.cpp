// The options dialogs, the program's and the engine's, through their
// controls.

#include "ScriptedServices.h"
#include "chrome/EnginePrivacyPage.h"
#include "chrome/EngineZonesPage.h"
#include "chrome/IOptionsHost.h"
#include "chrome/TfrmEngineSettings.h"
#include "chrome/TfrmOptions.h"
#include "components/TQWPageControl.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace
{
class FakeHost : public IOptionsHost
{
public:
    using Rows = QList<OptionsValues::DefaultBrowserRow>;
    OptionsValues values;
    QList<Rows> browserCalls;
    QList<OptionsValues> applied; // the values handed back

    OptionsValues CurrentOptions() const override { return values; }
    void ApplyDefaultBrowser(const Rows& rows) override { browserCalls << rows; }
    void ApplyOptions(const OptionsValues&, const OptionsValues& b) override { applied << b; }
    QString VostelGroupsFolder() const override { return QStringLiteral("/groups"); }
};

QLineEdit* openEditor(const QTreeWidget* list)
{
    for (QLineEdit* editor : list->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible())
            return editor;
    return nullptr;
}
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

class tst_TfrmOptions : public QObject
{
    Q_OBJECT

    QWidget m_window;
    ScriptedServices* m_services = new ScriptedServices(nullptr, &m_window);
    FakeHost m_host;
    QTemporaryDir m_dir;
    std::unique_ptr<TfrmOptions> m_dialog;

    // A dialog over values; the last one opened is the one tested.
    TfrmOptions& open(const OptionsValues& values = {})
    {
        m_host.values = values;
        m_host.browserCalls.clear();
        m_host.applied.clear();
        m_services->confirmCalls.clear();
        m_dialog = std::make_unique<TfrmOptions>(&m_host, nullptr, &m_window);
        return *m_dialog;
    }
    template <typename T = QWidget> T* get(const QString& name)
    {
        T* found = m_dialog->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    OptionsValues ok()
    {
        get<QPushButton>("cmdOK")->click();
        return m_host.applied.isEmpty() ? OptionsValues() : m_host.applied.last();
    }

private slots:
    void initTestCase()
    {
        m_services->setGlobalText("StartupVostelGroup", "no such group");
        QFile file(m_dir.filePath("a.vgp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void okHandsBackWhatCameInCancelNothing()
    {
        OptionsValues v;
        v.AllowMultiInstance = v.VBAutoExpand = v.LoadBHOs = v.TabsDown = v.UseCustomIcons = true;
        v.VersionCheck = v.ShowGo = v.ConfirmShutdown = false;
        v.ShowOpenAllFavorites = v.BreakFavorites = true;
        v.LimitTitleLength = 12;
        v.NewAction = 2;
        v.AutoCompleteStyle = 1;
        v.NewTabs = {true, false, true, false, true, true};
        v.StartupMode = "Last";
        v.CtrlPre = "www.";
        v.CtrlShiftPost = ".org";
        v.PopupPatterns = QStringList{"*a*", "*b*"};
        v.DefaultBrowserRows = {{"http", "Web", true}, {"htm", "Pages", false}};
        open(v);
        QCOMPARE(ok(), v);
        QCOMPARE(m_host.browserCalls, QList<FakeHost::Rows>{v.DefaultBrowserRows});
        QCOMPARE(m_dialog->result(), QDialog::Accepted);

        open(v);
        get<QPushButton>("cmdCancel")->click();
        QCOMPARE(m_dialog->result(), QDialog::Rejected);
        QVERIFY(m_host.browserCalls.isEmpty() && m_host.applied.isEmpty());
    }

    void treeDrivesPagesAndHiddenOptions()
    {
        open({.TrayAvailable = false, .BreakFavoritesShown = false});
        auto* tree = get<QTreeWidget>("tvOptions");
        tree->setCurrentItem(tree->topLevelItem(1)->child(1));
        QCOMPARE(get<QStackedWidget>("pgOptions")->currentWidget()->objectName(),
                 "tsNewBrowserTabs");
        QVERIFY(!get("chkMinToTray")->isEnabled());
        QVERIFY(get("chkBreakFavorites")->isHidden());
        get<QCheckBox>("chkBreakFavorites")->setChecked(true);
        QCOMPARE(ok().BreakFavorites, false);
    }

    void limitTitle()
    {
        const int def = TfrmOptions::DefaultTitleLimit;
        // Stored limit, box clicked, limit on, spin value, limit handed back.
        // clang-format off
        const QList<std::tuple<int, bool, bool, int, int>> rows = {
            {0, false, false, def, 0}, {0, true, true, def, def}, {37, false, true, 37, 37},
            {37, true, false, 37, 0}, {150, false, true, 100, 100}, {-5, false, false, def, 0}};
        // clang-format on
        for (const auto& [stored, click, enabled, spinValue, after] : rows)
        {
            open({.LimitTitleLength = stored});
            if (click)
                get<QCheckBox>("chkLimitTitles")->click();
            QCOMPARE(get("spnMaxTitle")->isEnabled(), enabled);
            QCOMPARE(get<QCheckBox>("chkLimitTitles")->isChecked(), enabled);
            QCOMPARE(get<QSpinBox>("spnMaxTitle")->value(), spinValue);
            QCOMPARE(ok().LimitTitleLength, after);
        }
    }

    void colorScheme()
    {
        const QColor stored(1, 2, 3), design(0xAA, 0xAA, 0xAA);
        const QColor face = QApplication::palette().color(QPalette::Button);
        const QColor reverse =
            QApplication::palette().color(QPalette::Inactive, QPalette::Highlight);
        // Stored scheme, radio clicked, radio checked, panel and preview
        // colours, scheme and colour handed back.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, QColor, QColor, QString, QColor>> rows = {
            {"std", "", "radColorStandard", design, face, "std", stored},
            {"rev", "", "radColorReverse", design, reverse, "rev", stored},
            {"custom", "", "radColorCustom", stored, stored, "custom", stored},
            {"junk", "", "radColorReverse", design, reverse, "rev", stored},
            {"rev", "radColorCustom", "radColorCustom", design, design, "custom", design},
            {"custom", "radColorStandard", "radColorStandard", stored, face, "std", stored}};
        // clang-format on
        for (const auto& [scheme, click, checked, panel, preview, after, afterColor] : rows)
        {
            open({.TabColorScheme = scheme, .InactiveTabColor = stored});
            if (!click.isEmpty())
                get<QRadioButton>(click)->click();
            QVERIFY(get<QRadioButton>(checked)->isChecked());
            QCOMPARE(get("pnlCustomColors")->isHidden(), checked != "radColorCustom");
            QCOMPARE(get("pnlTabColor")->palette().color(QPalette::Window), panel);
            QCOMPARE(get<TQWPageControl>("pg")->InactiveTabColor(), preview);
            const OptionsValues values = ok();
            QCOMPARE(values.TabColorScheme, after);
            QCOMPARE(values.InactiveTabColor, afterColor);
        }
    }

    void startup()
    {
        // Stored mode and group, radio clicked, group editable, accepted, mode
        // handed back; an unusable group is refused and asked about.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, bool, bool, QString>> rows = {
            {"Home", "", "", false, true, "Home"},
            {"VostelGroup", "a.vgp", "", true, true, "VostelGroup"},
            {"Junk", "a.vgp", "", true, true, "VostelGroup"}, // junk is a group
            {"VostelGroup", "none.vgp", "", true, false, ""}, // group missing
            {"VostelGroup", ".", "", true, false, ""}, // group is a folder
            {"Home", "a.vgp", "rdoStartupKoncoGroup", true, false, ""}, // home to an empty group
            {"VostelGroup", "none.vgp", "rdoStartupHome", false, true, "Home"}};
        // clang-format on
        for (const auto& [mode, group, click, editEnabled, accepted, afterMode] : rows)
        {
            open({.StartupMode = mode,
                  .StartupVostelGroup = QDir(m_dir.path()).filePath(group),
                  .DefaultBrowserRows = {{"http", "Web", true}}});
            if (!click.isEmpty())
                get<QRadioButton>(click)->click();
            auto* edit = get("edtStartupKoncoGroup");
            QCOMPARE(edit->isEnabled(), editEnabled);
            QCOMPARE(get("cmdStartKoncoGroup")->isEnabled(), editEnabled);
            const OptionsValues after = ok();
            QCOMPARE(m_host.applied.isEmpty() ? QString() : after.StartupMode, afterMode);
            QCOMPARE(m_host.browserCalls.size(), 1);
            QCOMPARE(m_dialog->result(), accepted ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(m_services->confirmCalls.size(), accepted ? 0 : 1);
            if (!accepted)
            {
                QCOMPARE(m_services->confirmCalls[0].prompt, "no such group");
                QCOMPARE(get<QStackedWidget>("pgOptions")->currentWidget()->objectName(),
                         "tsStartup");
                QCOMPARE(m_dialog->focusWidget(), edit);
            }
        }
    }

    void browseFillsTheGroup()
    {
        m_services->openFileAnswer = "/groups/b.vgp";
        open();
        get<QRadioButton>("rdoStartupKoncoGroup")->click();
        get<QPushButton>("cmdStartKoncoGroup")->click();
        QCOMPARE(m_services->openFileRequests.last(),
                 "__ChooseStartupVostelGroup|/groups|__VostelGroupFilter");
        QCOMPARE(get<QLineEdit>("edtStartupKoncoGroup")->text(), "/groups/b.vgp");
    }

    // The address-bar row of the list and its own box are one setting.
    void addressRowMirrorsTheBox()
    {
        for (const bool stored : {false, true})
            for (const bool viaBox : {true, false})
            {
                OptionsValues v;
                v.NewTabs[OptionsValues::NewFromAddress] = stored;
                open(v);
                auto* box = get<QCheckBox>("chkAddressNewWin");
                QListWidgetItem* row = get<QListWidget>("clbNewTabs")->item(4);
                QCOMPARE(box->isChecked(), stored);
                if (viaBox)
                    box->click();
                else
                    row->setCheckState(stored ? Qt::Unchecked : Qt::Checked);
                QCOMPARE(box->isChecked(), !stored);
                QCOMPARE(row->checkState() == Qt::Checked, !stored);
                QCOMPARE(ok().NewTabs[OptionsValues::NewFromAddress], !stored);
            }
    }

    void patternsAreEditedInPlace()
    {
        open({.PopupPatterns = {"*m*", "*b*", "*x*"}}).show();
        m_dialog->ShowPage(TfrmOptions::PagePopupVostel);
        auto* list = get<QTreeWidget>("lvPopupVostel");
        QCOMPARE(list->topLevelItem(0)->text(0), "*b*");
        get<QPushButton>("btnInsert")->click();
        QTRY_VERIFY(openEditor(list));
        QLineEdit* editor = openEditor(list);
        QCOMPARE(editor->text(), "~~NewItem");
        editor->setText("*c*");
        QTest::keyClick(editor, Qt::Key_Return); // commits, and must not close the dialog
        QTRY_COMPARE(list->topLevelItem(1)->text(0), "*c*");
        QVERIFY(m_dialog->isVisible() && !openEditor(list));
        list->setCurrentItem(list->topLevelItem(3));
        get<QPushButton>("btnDelete")->click();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Space);
        QTRY_VERIFY(openEditor(list));
        QTest::keyClick(openEditor(list), Qt::Key_Escape);
        QVERIFY(!openEditor(list));
        QCOMPARE(ok().PopupPatterns, QStringList({"*b*", "*c*", "*m*"}));
    }

    // The engine-settings dialog: sites typed into a zone, policies chosen,
    // and OK, which asks before data is cleared.
    void engineSitesAdded()
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
            auto* page = dialog.tsZones;
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

    void enginePolicies()
    {
        ScriptedServices services;
        TfrmEngineSettings dialog(someValues(), &services);
        QVERIFY(dialog.findChild<QRadioButton*>("rdoScriptingPrompt")->isChecked());
        for (const char* name : {"rdoSessionCookiesDisallow", "rdoScriptingAllow"})
            dialog.findChild<QRadioButton*>(name)->click();
        EngineSettingsValues expected = someValues();
        expected.Policies[ZoneRules::SessionCookies] = ZoneRules::Disallow;
        expected.Policies[ZoneRules::Scripting] = ZoneRules::Allow;
        QCOMPARE(dialog.Values().Policies, expected.Policies);
    }

    // OK asks before clearing data; declining keeps the dialog on its page.
    void engineOkAsksBeforeClearing()
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

QTEST_MAIN(tst_TfrmOptions)
#include "tst_TfrmOptions.moc"
