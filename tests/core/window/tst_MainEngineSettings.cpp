// The zones and the engine-settings dialog on a window of fake pages: what
// the Security menu and the zone panel offer for the active page's zone and
// what its commands store; where each opener puts the dialog, and that OK
// stores and clears what was chosen while Cancel leaves every store as it was.

#include "MainWindowFixture.h"

#include "chrome/EngineZonesPage.h"
#include "chrome/TIEZoneMgr.h"
#include "chrome/TfrmEngineSettings.h"
#include "components/TQWStatusBar.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/window/MainContentSwitches.h"
#include "core/window/MainZones.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressController.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

class tst_MainEngineSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> m_f;
    TfrmMain* window = nullptr;

    template <typename T> static T* child(QWidget* dialog, const char* name)
    {
        return dialog->findChild<T*>(QLatin1String(name));
    }
    QAction* menuItem(QMenu* menu, const char* name)
    {
        return menu->findChild<QAction*>(QLatin1String(name));
    }
    QAction* item(const char* name) { return menuItem(window->Zones()->SecurityMenu(), name); }
    QAction* policyMenu(const char* name)
    {
        return window->Zones()->SecurityMenu()->findChild<QMenu*>(name)->menuAction();
    }
    RegistryStore* store() { return window->Options()->Store(); }
    void openOn(const QString& url)
    {
        QVERIFY(m_f->made.last()->simulateNavigation(url));
        emit window->Zones()->SecurityMenu()->aboutToShow();
    }

private slots:
    void init()
    {
        m_f = std::make_unique<MainWindowFixture>();
        m_f->expectDialogs();
        window = m_f->create();
        window->Zones()->ZoneMgr().AddSite("https://bank.test/", ZoneRules::Trusted);
        store()->setString(RegistryKeys::TypedUrls, "url1", "http://typed.test/");
        window->Address()->LoadTypedUrls();
        QCOMPARE(window->Address()->TypedUrls().Items().size(), 1);
        QVERIFY(THistoryIndex::recordVisit("http://visited.test/", "visited"));
    }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void menuFollowsTheZone_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("zoneName");
        QTest::addColumn<bool>("adds");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("policies");
        // clang-format off
        QTest::newRow("internet")    << "http://example.org/a" << "Internet"         << true  << false << true;
        QTest::newRow("blank")       << "about:blank"          << "Internet"         << false << false << true;
        QTest::newRow("trusted")     << "https://bank.example/" << "Trusted sites"   << false << true  << false;
        QTest::newRow("intranet")    << "http://wiki/"         << "Local intranet"   << false << true  << false;
        QTest::newRow("own machine") << "file:///tmp/a.html"   << "This computer"    << false << false << false;
        // clang-format on
    }
    void menuFollowsTheZone()
    {
        QFETCH(QString, url);
        QFETCH(QString, zoneName);
        store()->setString(RegistryKeys::Zones, "https://bank.example", "2");
        openOn(url);
        QCOMPARE(item("pmSecurityCurrent")->text(), "Zone: " + zoneName);
        QCOMPARE(window->StatusBar()->panelText(3), zoneName);
        for (const char* add :
             {"pmSecurityAddIntra", "pmSecurityAddRestricted", "pmSecurityAddTrusted"})
            QTEST(item(add)->isVisible(), "adds");
        QTEST(item("pmSecurityRemove")->isVisible(), "remove");
        for (const char* menu : {"pmSecurityScripting", "pmSecurityCookies",
                                 "pmSecuritySessionCookies", "pmSecurityActiveX"})
            QTEST(policyMenu(menu)->isVisible(), "policies");
    }

    void addAndRemoveTheActiveSite()
    {
        openOn("http://shop.example/cart?id=1");
        QCOMPARE(item("pmSecurityAddRestricted")->text(), QString("Add Site to Restricted sites"));
        item("pmSecurityAddRestricted")->trigger();
        QCOMPARE(window->StatusBar()->panelText(3), QString("Restricted sites"));

        openOn("http://shop.example/other");
        QCOMPARE(item("pmSecurityRemove")->text(), QString("Remove Site from Restricted sites"));
        item("pmSecurityRemove")->trigger();
        QCOMPARE(window->StatusBar()->panelText(3), QString("Internet"));
        QVERIFY(!store()->value(RegistryKeys::Zones, "http://shop.example"));
    }

    void policyItemsShowAndSetTheStoredPolicy()
    {
        store()->setString(RegistryKeys::ZonePolicies, "1A02", "1");
        openOn("http://example.org/");
        QCOMPARE(policyMenu("pmSecurityCookies")->text(), QString("Cookies: Prompt"));
        QVERIFY(item("pmSecurityCookiesQuery")->isChecked());
        item("pmSecurityCookiesDisallow")->trigger();
        QCOMPARE(store()->value(RegistryKeys::ZonePolicies, "1A02")->text, QString("3"));
    }

    // Each opener shows its page; the Tools item the page last shown.
    void openers()
    {
        QList<int> pages;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* tabs = child<QTabWidget>(dialog, "pcSettings");
                pages << tabs->currentIndex();
                tabs->setCurrentIndex(TfrmEngineSettings::PrivacyPage);
                child<QPushButton>(dialog, "cmdCancel")->click();
            });
        emit window->Zones()->SecurityMenu()->aboutToShow();
        QAction* settings = menuItem(window->Zones()->SecurityMenu(), "pmSecuritySettings");
        QVERIFY(settings->isVisible());
        menuItem(window->MainMenu()->ToolsMenu(), "pmOptionsEngine")->trigger();
        settings->trigger();
        QLabel* zonePanel = window->StatusBar()->panel(3);
        QTest::mouseDClick(zonePanel, Qt::LeftButton);
        window->RunCommand(MainCommand::InternetOptions);
        QCOMPARE(pages,
                 (QList<int>{TfrmEngineSettings::ZonesPage, TfrmEngineSettings::ZonesPage,
                             TfrmEngineSettings::ZonesPage, TfrmEngineSettings::PrivacyPage}));
    }

    void okAppliesCancelLeaves_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("applied");
        QTest::newRow("OK") << "cmdOK" << true;
        QTest::newRow("Cancel") << "cmdCancel" << false;
    }
    void okAppliesCancelLeaves()
    {
        QFETCH(QString, button);
        QFETCH(bool, applied);
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* zones = dialog->findChild<EngineZonesPage*>();
                if (!zones) // the question before clearing
                    return child<QPushButton>(dialog, "cmdOK")->click();
                zones->ShowZone(ZoneRules::Trusted);
                zones->lstSites->item(0)->setSelected(true);
                zones->cmdRemoveSite->click();
                zones->ShowZone(ZoneRules::Restricted);
                zones->edtSite->setText("http://ads.test/banner");
                zones->cmdAddSite->click();
                child<QRadioButton>(dialog, "rdoCookiesPrompt")->click();
                child<QCheckBox>(dialog, "chkLoadImages")->click();
                child<QCheckBox>(dialog, "chkClearHistory")->click();
                child<QCheckBox>(dialog, "chkClearTypedAddresses")->click();
                // Queued: the question it may ask is answered by this same answerer.
                QMetaObject::invokeMethod(child<QPushButton>(dialog, qPrintable(button)), "click",
                                          Qt::QueuedConnection);
            });
        window->RunCommand(MainCommand::InternetOptions);
        QCOMPARE(answerer.count(), applied ? 2 : 1);

        TIEZoneMgr& zones = window->Zones()->ZoneMgr();
        QCOMPARE(zones.Sites(ZoneRules::Trusted).isEmpty(), applied);
        QCOMPARE(zones.Sites(ZoneRules::Restricted).contains("http://ads.test"), applied);
        QCOMPARE(zones.GetPolicy(ZoneRules::Cookies),
                 int(applied ? ZoneRules::Prompt : ZoneRules::Allow));
        QCOMPARE(window->ContentSwitches()->IsOn(MainContentSwitches::Images), !applied);
        QCOMPARE(window->MainMenu()->ContentSwitchItems().first()->isChecked(), !applied);
        QCOMPARE(window->Address()->TypedUrls().Items().isEmpty(), applied);
        QCOMPARE(THistoryIndexReader::allEntries(THistoryIndex::defaultRoot()).isEmpty(), applied);
    }
};

QTEST_MAIN(tst_MainEngineSettings)
#include "tst_MainEngineSettings.moc"
