// The window's zones on fake pages: what the Security menu offers for the
// active page's zone, the zone panel, and the menu's commands.

#include "MainWindowFixture.h"

#include "components/TQWStatusBar.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/window/MainZones.h"
#include "core/window/TfrmMain.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

class tst_MainZones : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> fixture;
    TfrmMain* window = nullptr;

    QAction* item(const QString& name)
    {
        return window->Zones()->SecurityMenu()->findChild<QAction*>(name);
    }
    QAction* policyMenu(const QString& name)
    {
        return window->Zones()->SecurityMenu()->findChild<QMenu*>(name)->menuAction();
    }
    void openOn(const QString& url)
    {
        QVERIFY(fixture->made.last()->simulateNavigation(url));
        emit window->Zones()->SecurityMenu()->aboutToShow();
    }

private slots:
    void init()
    {
        fixture = std::make_unique<MainWindowFixture>();
        window = fixture->create();
        RegistryStore* store = window->Options()->Store();
        store->setString(RegistryKeys::Zones, "https://bank.example", "2");
    }
    void cleanup() { QW_FINISH_MAIN_WINDOW(fixture); }

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
        QVERIFY(!window->Options()->Store()->value(RegistryKeys::Zones, "http://shop.example"));
    }

    void policyItemsShowAndSetTheStoredPolicy()
    {
        window->Options()->Store()->setString(RegistryKeys::ZonePolicies, "1A02", "1");
        openOn("http://example.org/");
        QCOMPARE(policyMenu("pmSecurityCookies")->text(), QString("Cookies: Prompt"));
        QVERIFY(item("pmSecurityCookiesQuery")->isChecked());
        item("pmSecurityCookiesDisallow")->trigger();
        QCOMPARE(window->Options()->Store()->value(RegistryKeys::ZonePolicies, "1A02")->text,
                 QString("3"));
    }
};

QTEST_MAIN(tst_MainZones)
#include "tst_MainZones.moc"
