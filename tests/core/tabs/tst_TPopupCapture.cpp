#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "components/TQWPageControl.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace
{
using ConfirmCall = ScriptedServices::ConfirmCall;

// A window that wires tabs to the capture and the tab set, as the main
// window does.
class CaptureHost : public FakeTabHost
{
public:
    TPopupCapture* capture = nullptr;
    TTabSet* tabSet = nullptr;

    bool IsActiveTab(const TBrowserTab* tab) const override
    {
        return tab && tabSet->GetActivePage() == tab;
    }
    TBrowserTab* AddHiddenTab() override { return tabSet->AddHiddenTab(); }
    bool PopupMatch(const QString& url) override { return capture->PopupMatch(url); }
    void StartCloseHiddenTimer() override { capture->StartCloseHiddenTimer(); }
};
} // namespace

class tst_TPopupCapture : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<RegistryStore> store;
    std::unique_ptr<TQWOptions> options;

    // What the fake dialogs answer, and what they were asked.
    std::unique_ptr<ScriptedServices> services;

    std::unique_ptr<TPopupCapture> makeCapture()
    {
        auto capture = std::make_unique<TPopupCapture>(options.get(), services.get());
        capture->LoadPopupList();
        return capture;
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QFile::remove(dir.filePath("settings.sqlite"));
        store = std::make_unique<RegistryStore>(dir.filePath("settings.sqlite"));
        options = std::make_unique<TQWOptions>(store.get());
        services = std::make_unique<ScriptedServices>();
        services->confirmAnswer = {};
        services->textFn = [](const QString&, const QString& key)
        { return QStringLiteral("<%1>").arg(key); };
    }
    void cleanup()
    {
        options.reset();
        store.reset();
    }

    void matchRules_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("captured");

        const QStringList ads = {"http://ads.test/"};
        QTest::newRow("begins with a plain pattern") << ads << "http://ads.test/b?x=1" << true;
        QTest::newRow("contains a plain pattern further on")
            << ads << "http://x.test/?r=http://ads.test/" << false;
        const QStringList word = {"*popup*"};
        QTest::newRow("word inside") << word << "http://a.test/popup.html" << true;
        QTest::newRow("word inside, other case") << word << "http://a.test/PopUp.html" << false;
        const QStringList question = {"http://a?.test/"};
        QTest::newRow("question takes one") << question << "http://ab.test/x" << true;
        QTest::newRow("question never none") << question << "http://a.test/x" << false;
        QTest::newRow("a later pattern matches")
            << QStringList{"http://a.test/", "http://b.test/"} << "http://b.test/1" << true;
        QTest::newRow("star alone captures everything") << QStringList{"*"} << "about:x" << true;
        QTest::newRow("empty list") << QStringList{} << "http://ads.test/" << false;
    }
    void matchRules()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, url);
        QFETCH(bool, captured);
        options->WritePopupVostel(list);
        options->SetPopupVostelNotify(false);
        auto capture = makeCapture();
        QCOMPARE(capture->PopupMatch(url), captured);
        QVERIFY(services->confirmCalls.isEmpty());
    }

    void switchedOffCapturesNothing()
    {
        options->WritePopupVostel({"*"});
        options->SetUsePopupVostel(false);
        auto capture = makeCapture();
        QVERIFY(!capture->UsePopupVostel());
        QVERIFY(!capture->PopupMatch("http://ads.test/"));
        capture->SetUsePopupVostel(true);
        QVERIFY(capture->PopupMatch("http://ads.test/"));
    }

    void firstPatternInListOrderWins()
    {
        // Stored out of order: the list is read sorted without regard to case.
        options->WritePopupVostel({"http://b*", "http://A*"});
        auto capture = makeCapture();
        QCOMPARE(capture->PopupList(), QStringList({"http://A*", "http://b*"}));
        QCOMPARE(capture->MatchingPattern("http://Ab"), QStringLiteral("http://A*"));
    }

    void noticeShownOnCapture()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        QVERIFY(capture->PopupMatch("http://ads.test/x"));
        QCOMPARE(services->confirmCalls.size(), 1);
        const ConfirmCall call = services->confirmCalls.first();
        QCOMPARE(call.caption, QStringLiteral("<PopupNotifyCaption>"));
        QCOMPARE(call.title, QStringLiteral("<PopupNotifyMessage>"));
        QCOMPARE(call.prompt, QStringLiteral("http://ads.test/x"));
        QVERIFY(call.okText.isEmpty());
        QCOMPARE(call.cancelText, QStringLiteral("<OK>"));
        QCOMPARE(call.checkText, QStringLiteral("<PopupNotifyDontAsk>"));
        QVERIFY(!call.checked);
        // Left unchecked, the notice keeps coming.
        QVERIFY(options->PopupVostelNotify());
        QVERIFY(capture->PopupMatch("http://ads.test/y"));
        QCOMPARE(services->confirmCalls.size(), 2);
    }

    void noNoticeWithoutCapture()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        QVERIFY(!capture->PopupMatch("http://ok.test/"));
        QVERIFY(services->confirmCalls.isEmpty());
    }

    void checkedBoxStopsNotices()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        services->confirmAnswer = {false, true};
        // Whatever the user answers, the pop-up stays captured.
        QVERIFY(capture->PopupMatch("http://ads.test/x"));
        QVERIFY(!options->PopupVostelNotify());
        QVERIFY(!capture->PopupVostelNotify());
        QVERIFY(capture->PopupMatch("http://ads.test/y"));
        QCOMPARE(services->confirmCalls.size(), 1);
        // A later run reads the stored switch.
        QVERIFY(!makeCapture()->PopupVostelNotify());
    }

    void proposedEntry_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("pop-up address first") << "http://p.test/a?b=1"
                                              << "http://c.test/"
                                              << "http://p.test/a";
        QTest::newRow("current address otherwise") << ""
                                                   << "http://c.test/x?y"
                                                   << "http://c.test/x";
        QTest::newRow("cut at the first question mark") << ""
                                                        << "http://c.test/?a?b"
                                                        << "http://c.test/";
        QTest::newRow("no query") << ""
                                  << "http://c.test/x"
                                  << "http://c.test/x";
    }
    void proposedEntry()
    {
        QFETCH(QString, original);
        QFETCH(QString, current);
        QFETCH(QString, proposed);
        QCOMPARE(TPopupCapture::ProposedEntry(original, current), proposed);
    }

    void addProposesAddressBeforeQueryAndClosesTab()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        FakeTabHost::controlOf(tab)->locationUrl = "http://ads.test/banner?id=7";
        options->WritePopupVostel({"http://z.test/"});
        auto capture = makeCapture();
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);

        capture->AddToPopupList(tab);

        QCOMPARE(services->inputQueries.size(), 1);
        QCOMPARE(services->inputQueries.first().caption, QStringLiteral("<PopupVostel>"));
        QCOMPARE(services->inputQueries.first().prompt, QStringLiteral("<PopupVostelUrl>"));
        QCOMPARE(services->inputQueries.first().proposed, QStringLiteral("http://ads.test/banner"));
        QCOMPARE(options->ReadPopupVostel(),
                 QStringList({"http://ads.test/banner", "http://z.test/"}));
        QCOMPARE(capture->PopupList(), options->ReadPopupVostel());
        QCOMPARE(closes.size(), 1);
        QCOMPARE(closes.first().first().value<TBrowserTab*>(), tab);
    }

    void addReadsTheStoredListAfresh()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        tab->PopupOriginalUrl = "http://p.test/";
        auto capture = makeCapture();
        // Written behind the capture's back (another copy's options dialog).
        options->WritePopupVostel({"http://other.test/"});
        capture->AddToPopupList(tab);
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://other.test/", "http://p.test/"}));
    }

    void duplicateInOtherCaseLeavesListAndClosesTab()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        tab->PopupOriginalUrl = "http://ads.test/x";
        options->WritePopupVostel({"HTTP://ADS.TEST/X"});
        auto capture = makeCapture();
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);
        capture->AddToPopupList(tab);
        QCOMPARE(options->ReadPopupVostel(), QStringList({"HTTP://ADS.TEST/X"}));
        QCOMPARE(closes.size(), 1);
    }

    void cancelledAddChangesNothingButReloads()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        tab->PopupOriginalUrl = "http://p.test/";
        auto capture = makeCapture();
        options->WritePopupVostel({"http://reloaded.test/"});
        services->inputAccepted = false;
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);
        capture->AddToPopupList(tab);
        QCOMPARE(closes.size(), 0);
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://reloaded.test/"}));
        QCOMPARE(capture->PopupList(), QStringList({"http://reloaded.test/"}));
    }

    void editedAndEmptyEntries()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab();
        tab->PopupOriginalUrl = "http://p.test/";
        auto capture = makeCapture();
        services->inputAnswer = QStringLiteral("  http://edited.test/  ");
        capture->AddToPopupList(tab);
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://edited.test/"}));

        // Nothing to add: the list stays as it was, the tab still goes.
        services->inputAnswer = QString();
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);
        capture->AddToPopupList(tab);
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://edited.test/"}));
        QCOMPARE(closes.size(), 1);
    }

    void writtenBackWhenLoaded()
    {
        options->WritePopupVostel({"http://a.test/"});
        {
            TPopupCapture neverLoaded(options.get(), services.get());
            options->WritePopupVostel({"http://b.test/"});
        }
        // Not loaded: the stored list is left alone.
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
        {
            auto capture = makeCapture();
            options->WritePopupVostel({"http://c.test/"});
        }
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
    }

    void timerAsksOnceForKilledTabsToClose()
    {
        auto capture = makeCapture();
        QTimer* timer = capture->CloseHiddenTimer();
        QCOMPARE(timer->objectName(), QStringLiteral("tmrCloseHidden"));
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(!timer->isActive());
        QSignalSpy due(capture.get(), &TPopupCapture::closeKilledTabsRequested);
        capture->StartCloseHiddenTimer();
        QVERIFY(timer->isActive());
        QVERIFY(due.wait(10000));
        QCOMPARE(due.size(), 1);
        QVERIFY(!timer->isActive());
    }

    void capturedPopupIsClosedByTheTimer()
    {
        options->WritePopupVostel({"http://ads.test/"});
        options->SetPopupVostelNotify(false);
        auto capture = makeCapture();
        CaptureHost host;
        TQWPageControl pc;
        QList<FakeBrowserControl*> made;
        TTabSet tabSet(&pc, &host, &host.services, FakeBrowserControl::factory(&made),
                       options.get());
        host.capture = capture.get();
        host.tabSet = &tabSet;
        connect(capture.get(), &TPopupCapture::closeKilledTabsRequested, &tabSet,
                &TTabSet::CloseKilledTabs);
        TBrowserTab* page = tabSet.AddTab();

        QVERIFY(FakeTabHost::controlOf(page)->fireNewWindow("http://ads.test/x"));
        FakeBrowserControl* popup = made.last();
        // A blank first document decides nothing.
        QVERIFY(popup->fireBeforeNavigate("about:blank"));
        QVERIFY(!capture->CloseHiddenTimer()->isActive());
        QVERIFY(!popup->fireBeforeNavigate("http://ads.test/x"));
        QCOMPARE(tabSet.Count(), 2);
        QVERIFY(tabSet.Tab(1)->Killed);
        QCOMPARE(pc.visibleCount(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(tabSet.Count(), 1, 10000);
        QCOMPARE(tabSet.Tab(0), page);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(tst_TPopupCapture)
#include "tst_TPopupCapture.moc"
