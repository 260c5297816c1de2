#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{
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
    std::unique_ptr<TestStore> store;
    TQWOptions* options = nullptr;
    std::unique_ptr<ScriptedServices> services;
    std::unique_ptr<FakeTabHost> host;

    std::unique_ptr<TPopupCapture> makeCapture()
    {
        auto capture = std::make_unique<TPopupCapture>(options, services.get());
        capture->LoadPopupList();
        return capture;
    }
    // A tab whose pop-up address (when given) or current address is url.
    TBrowserTab* tabAt(const QString& url, bool asPopup = true)
    {
        TBrowserTab* tab = host->makeTab();
        if (asPopup)
            tab->PopupOriginalUrl = url;
        else
            FakeTabHost::controlOf(tab)->locationUrl = url;
        return tab;
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        options = store->options.get();
        services = std::make_unique<ScriptedServices>();
        services->confirmAnswer = {};
        services->textFn = [](const QString&, const QString& key) { return '<' + key + '>'; };
        host = std::make_unique<FakeTabHost>();
    }
    void cleanup()
    {
        host.reset();
        store.reset();
    }

    void noticeOnCaptureUntilTheBoxIsChecked()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        QVERIFY(!capture->PopupMatch("http://ok.test/"));
        QVERIFY(services->confirmCalls.isEmpty());
        QVERIFY(capture->PopupMatch("http://ads.test/x"));
        QCOMPARE(services->confirmCalls.size(), 1);
        QCOMPARE(services->confirmCalls.first().prompt, QStringLiteral("http://ads.test/x"));
        QVERIFY(options->PopupVostelNotify());

        // Whatever the user answers, the pop-up stays captured.
        services->confirmAnswer = {false, true};
        QVERIFY(capture->PopupMatch("http://ads.test/y"));
        QVERIFY(!options->PopupVostelNotify());
        QVERIFY(capture->PopupMatch("http://ads.test/z"));
        QCOMPARE(services->confirmCalls.size(), 2);
        QVERIFY(!makeCapture()->PopupVostelNotify());
    }

    void noticeOpensThePopupOnceOnRequest()
    {
        options->WritePopupVostel({"http://ads.test/"});
        auto capture = makeCapture();
        QSignalSpy opened(capture.get(), &TPopupCapture::openOnceRequested);
        services->confirmAnswer = {true, false};
        QVERIFY(capture->PopupMatch("http://ads.test/x")); // captured all the same
        QVERIFY(opened.isEmpty()); // not inside the engine's question
        services->confirmAnswer = {};
        QVERIFY(capture->PopupMatch("http://ads.test/y"));
        QCoreApplication::processEvents();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.first().first(), QVariant("http://ads.test/x"));
        QCOMPARE(options->ReadPopupVostel(), QStringList{"http://ads.test/"});
        QVERIFY(!services->confirmCalls.first().okDefault); // Enter does not open it
    }

    void addProposesTheAddressAndClosesTheTab()
    {
        TBrowserTab* tab = tabAt("http://ads.test/banner?id=7", false);
        options->WritePopupVostel({"http://z.test/"});
        auto capture = makeCapture();
        QSignalSpy closes(capture.get(), &TPopupCapture::closeTabRequested);
        // Written behind the capture's back (another copy's options dialog).
        options->WritePopupVostel({"http://z.test/", "http://other.test/"});

        capture->AddToPopupList(tab);
        QCOMPARE(services->inputQueries.size(), 1);
        QCOMPARE(services->inputQueries.first().proposed, QStringLiteral("http://ads.test/banner"));
        const QStringList list{"http://ads.test/banner", "http://other.test/", "http://z.test/"};
        QCOMPARE(options->ReadPopupVostel(), list);
        QCOMPARE(capture->PopupList(), list);
        QCOMPARE(closes.size(), 1);
        QCOMPARE(closes.first().first().value<TBrowserTab*>(), tab);
    }

    void writtenBackOnlyWhenLoaded()
    {
        options->WritePopupVostel({"http://a.test/"});
        {
            TPopupCapture neverLoaded(options, services.get());
            options->WritePopupVostel({"http://b.test/"});
        }
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
        {
            auto capture = makeCapture();
            options->WritePopupVostel({"http://c.test/"});
        }
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://b.test/"}));
    }

    void capturedPopupIsClosedByTheTimer()
    {
        options->WritePopupVostel({"http://ads.test/"});
        options->SetPopupVostelNotify(false);
        auto capture = makeCapture();
        CaptureHost host;
        TQWPageControl pc;
        QList<FakeBrowserControl*> made;
        TTabSet tabSet(&pc, &host, &host.services, FakeBrowserControl::factory(&made), options);
        host.capture = capture.get();
        host.tabSet = &tabSet;
        connect(capture.get(), &TPopupCapture::closeKilledTabsRequested, &tabSet,
                &TTabSet::CloseKilledTabs);
        QSignalSpy due(capture.get(), &TPopupCapture::closeKilledTabsRequested);
        TBrowserTab* page = tabSet.AddTab();

        QVERIFY(FakeTabHost::controlOf(page)->fireNewWindow("http://ads.test/x"));
        FakeBrowserControl* popup = made.last();
        // A blank first document decides nothing.
        QVERIFY(popup->fireBeforeNavigate("about:blank"));
        QVERIFY(!capture->CloseHiddenTimer()->isActive());
        QVERIFY(!popup->fireBeforeNavigate("http://ads.test/x"));
        QVERIFY(capture->CloseHiddenTimer()->isActive());
        QVERIFY(tabSet.Tab(1)->Killed);
        QCOMPARE(pc.visibleCount(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(tabSet.Count(), 1, 10000);
        QCOMPARE(tabSet.Tab(0), page);
        QCOMPARE(due.size(), 1);
        QVERIFY(!capture->CloseHiddenTimer()->isActive());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(tst_TPopupCapture)
#include "tst_TPopupCapture.moc"
