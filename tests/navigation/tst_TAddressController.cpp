// The address band and its controller over a real tab set of scripted
// browser controls: from key strokes in the box to the address a tab opens.

#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "navigation/IAddressHost.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSHAutoComplete.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

namespace
{
// The window: tabs ask it what the tab set and the address band answer.
class Host : public FakeTabHost, public IAddressHost
{
public:
    TTabSet* tabSet = nullptr;
    TAddressController* address = nullptr;

    bool IsActiveTab(const TBrowserTab* tab) const override
    {
        return tabSet && tab && tabSet->GetActivePage() == tab;
    }
    TBrowserTab* AddTabPerPreference() override { return tabSet->AddTabPerPreference(); }
    TBrowserTab* AddHiddenTab() override { return tabSet->AddHiddenTab(); }
    void ShowAddress(const QString& url) override
    {
        FakeTabHost::ShowAddress(url);
        address->ShowAddress(url);
    }
    void RecordTypedAddress(const QString& url) override
    {
        FakeTabHost::RecordTypedAddress(url);
        address->RecordTypedAddress(url);
    }
    void SetStatusText(const QString& text) override { FakeTabHost::SetStatusText(text); }

    // IAddressHost
    TBrowserTab* GetActivePage() const override { return tabSet->GetActivePage(); }
    bool ShiftDown() const override
    {
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    }
};

// How Enter is pressed and where the typed word opens.
struct Enter
{
    QString typed;
    Qt::KeyboardModifiers modifiers;
    bool addressNewWin, foreground;
    QString opened;
    bool newTab;
};
} // namespace

class tst_TAddressController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> test;
    RegistryStore* store = nullptr;
    TQWOptions* options = nullptr;
    std::unique_ptr<Host> host;
    std::unique_ptr<QWidget> window;
    TAddressBand* band = nullptr;
    std::unique_ptr<TTabSet> set;
    std::unique_ptr<TAddressController> controller;

    QLineEdit* edit() const { return band->cboAddress->lineEdit(); }
    // The first tab, showing a page.
    TBrowserTab* firstTab()
    {
        TBrowserTab* tab = set->AddTab();
        FakeTabHost::controlOf(tab)->simulateNavigation(QStringLiteral("http://start.test/"));
        return tab;
    }
    // Keys go where the window sends them: to the box, which has the focus.
    void typeOnly(const QString& text)
    {
        band->cboAddress->setFocus();
        edit()->clear();
        QTest::keyClicks(band->cboAddress, text);
    }
    void type(const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        typeOnly(text);
        QTest::keyClick(band->cboAddress, Qt::Key_Return, modifiers);
    }
    void storeTypedUrls(const QStringList& urls)
    {
        for (int i = 0; i < urls.size(); ++i)
            store->setString(RegistryKeys::TypedUrls, QStringLiteral("url%1").arg(i + 1), urls[i]);
        controller->LoadTypedUrls();
    }
    static QStringList navigations(TBrowserTab* tab)
    {
        return FakeTabHost::controlOf(tab)->navigations;
    }

private slots:
    void init()
    {
        test = std::make_unique<TestStore>();
        store = test->store.get();
        options = test->options.get();
        host = std::make_unique<Host>();
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        band = new TAddressBand(test->dir.filePath(QStringLiteral("History")), window.get());
        auto* pc = new TQWPageControl(window.get());
        layout->addWidget(band);
        layout->addWidget(pc);
        host->services.textFn = [](const QString& section, const QString& key)
        {
            if (key == QLatin1String("QuickSearchBadTemplate"))
                return QStringLiteral("Bad template for %1.");
            return section + QLatin1Char('>') + key;
        };
        set = std::make_unique<TTabSet>(
            pc, host.get(), &host->services,
            [](QWidget* parent) -> IBrowserControl*
            {
                auto* control = new FakeBrowserControl(parent);
                control->runNavigations = true;
                return control;
            },
            options);
        set->OpenNewInForeground = true;
        host->tabSet = set.get();
        controller = std::make_unique<TAddressController>(band, host.get(), &host->services, store);
        host->address = controller.get();
        controller->LoadAddressCompletion(*options);
        options->WriteListSection(RegistryKeys::QuickSearch,
                                  {QStringLiteral("k=http://k.test/?q=%s"),
                                   QStringLiteral("bad=http://k.test/?q=%s&n=%d")});
        controller->ReadQuickSearchList(*options);
        controller->AddressNewWin = false;
        controller->QuickSearchNewWin = true;
        window->resize(640, 400);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // No modifier left over from an earlier test.
        QTest::keyClick(band->cboAddress, Qt::Key_Shift);
    }

    void cleanup()
    {
        controller.reset();
        set.reset();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.reset();
        test.reset();
    }

    void enterWithModifiers_data()
    {
        QTest::addColumn<Enter>("row");
        // clang-format off
        QTest::newRow("enter") << Enter{"word", Qt::NoModifier, false, true, "word", false};
        QTest::newRow("shift+enter flips to a new tab") << Enter{"word", Qt::ShiftModifier, false, true, "http://www.word.net", true};
        QTest::newRow("opened behind the active tab") << Enter{"word", Qt::NoModifier, true, false, "word", true};
        QTest::newRow("shift+enter flips to the current tab") << Enter{"word", Qt::ShiftModifier, true, true, "http://www.word.net", false};
        QTest::newRow("quick search, keyword in other case") << Enter{"K two words", Qt::NoModifier, false, true, "http://k.test/?q=two%20words", true};
        // clang-format on
    }

    void enterWithModifiers()
    {
        QFETCH(Enter, row);
        TBrowserTab* first = firstTab();
        controller->AddressNewWin = row.addressNewWin;
        set->OpenNewInForeground = row.foreground;

        type(row.typed, row.modifiers);

        QCOMPARE(set->Count(), row.newTab ? 2 : 1);
        QCOMPARE(set->GetActivePage(), row.newTab && row.foreground ? set->Tab(1) : first);
        QCOMPARE(navigations(row.newTab ? set->Tab(1) : first), QStringList{row.opened});
        if (row.foreground)
            QCOMPARE(edit()->text(), row.opened);
        // Typed, so the address went into the list when the tab began loading it.
        QCOMPARE(band->cboAddress->Items(), QStringList{row.opened});
        // The first tab's next page was not typed.
        FakeTabHost::controlOf(first)->simulateNavigation(QStringLiteral("http://link.test/"));
        QCOMPARE(controller->TypedUrls().Items(), QStringList{row.opened});
    }

    // An idle blank tab is reused for a new one; a blank tab that is loading is not.
    void whereAnAddressOpens()
    {
        TBrowserTab* blank = set->AddTab();
        for (const bool loading : {false, true})
        {
            FakeTabHost::controlOf(blank)->locationUrl = QStringLiteral("about:blank");
            blank->Busy = loading;
            const QString address = loading ? "http://b.test/" : "http://a.test/";
            controller->OpenAddress(address, true);
            QCOMPARE(set->Count(), loading ? 2 : 1);
            TBrowserTab* opened = set->Tab(set->Count() - 1);
            QCOMPARE(navigations(opened), QStringList{address});
            QCOMPARE(opened->TabHome, address);
            QCOMPARE(navigations(blank), QStringList{"http://a.test/"});
        }
    }

    void badQuickSearchTemplateOpensNothing()
    {
        TBrowserTab* first = firstTab();
        type(QStringLiteral("bad words"));
        QCOMPARE(set->Count(), 1);
        QVERIFY(navigations(first).isEmpty());
        QCOMPARE(host->services.errors.size(), 1);
        QVERIFY(host->services.errors.first().contains(
            QStringLiteral("GLOBAL>QuickSearchStrayPercent")));
    }

    void choosingFromTheListOpensWithoutMovingIt()
    {
        TBrowserTab* first = firstTab();
        storeTypedUrls({"http://a.test/", "http://b.test/"});
        QCOMPARE(band->cboAddress->Items(), QStringList({"http://a.test/", "http://b.test/"}));

        band->cboAddress->showPopup();
        QAbstractItemView* view = band->cboAddress->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_Return);

        QCOMPARE(navigations(first), QStringList{"http://b.test/"});
        QCOMPARE(controller->TypedUrls().Items(),
                 QStringList({"http://a.test/", "http://b.test/"}));
    }

    void emptySubmissionKeepsTheTypedFlagForTheNextNavigation()
    {
        TBrowserTab* first = firstTab();
        FakeTabHost::controlOf(first)->simulateNavigation(QStringLiteral("http://link.test/"));
        QVERIFY(controller->TypedUrls().IsEmpty());
        type(QString());
        QCOMPARE(navigations(first), QStringList());
        QVERIFY(controller->AddressTyped());
        FakeTabHost::controlOf(first)->simulateNavigation(QStringLiteral("http://clicked.test/"));
        QCOMPARE(controller->TypedUrls().Items(), QStringList{"http://clicked.test/"});
        QVERIFY(!controller->AddressTyped());
    }

    void dropped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        // clang-format off
        QTest::newRow("address") << "http://dropped.test/" << true;
        QTest::newRow("script in disguise") << " \n JavaScript:alert(1)" << false;
        // clang-format on
    }

    void dropped()
    {
        QFETCH(QString, text);
        QFETCH(bool, opens);
        TBrowserTab* first = firstTab();
        edit()->setText(QStringLiteral("typed before"));
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(edit(), &drop);

        QCOMPARE(navigations(first), opens ? QStringList{text} : QStringList());
        QCOMPARE(controller->TypedUrls().Items(), opens ? QStringList{text} : QStringList());
        if (!opens)
        {
            QCOMPARE(host->statusTexts.last(), QStringLiteral("GLOBAL>ScriptAddressRefused"));
            QCOMPARE(edit()->text(), QStringLiteral("typed before"));
            QVERIFY(!controller->AddressTyped());
        }
    }

    void inlineCompletionWhileTyping()
    {
        firstTab();
        controller->SetAutoCompleteStyle(1);
        storeTypedUrls({"http://example.test/page"});
        typeOnly(QStringLiteral("ex"));
        QCOMPARE(edit()->text(), QStringLiteral("example.test/page"));
        QCOMPARE(edit()->selectedText(), QStringLiteral("ample.test/page"));
        // Typing on replaces the completed part.
        QTest::keyClicks(band->cboAddress, QStringLiteral("z"));
        QCOMPARE(edit()->text(), QStringLiteral("exz"));
        // A page that loads meanwhile leaves the typing alone.
        FakeTabHost::controlOf(set->Tab(0))
            ->simulateNavigation(QStringLiteral("http://late.test/"));
        QCOMPARE(edit()->text(), QStringLiteral("exz"));
    }

    void clearingTheList_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("asked"); // title|prompt
        QTest::newRow("yes, style 2")
            << 2 << true << "GLOBAL>ClearAddressHistory|GLOBAL>ClearAddressHistoryNote";
        QTest::newRow("no") << 0 << false << "|GLOBAL>ClearAddressHistory";
    }

    void clearingTheList()
    {
        QFETCH(int, style);
        QFETCH(bool, yes);
        TBrowserTab* first = firstTab();
        controller->SetAutoCompleteStyle(style);
        type(QStringLiteral("http://a.test/"));
        QVERIFY(controller->SaveTypedUrls());
        edit()->setText(QStringLiteral("half typed"));
        host->services.confirmAnswer = {yes, false};

        controller->mnuToolsFavsClick();

        QCOMPARE(host->services.confirmCalls.size(), 1);
        const auto& call = host->services.confirmCalls.first();
        QTEST(call.title + '|' + call.prompt, "asked");
        QCOMPARE(band->cboAddress->count(), yes ? 0 : 1);
        QCOMPARE(store->valueNames(RegistryKeys::TypedUrls).isEmpty(), yes);
        QCOMPARE(edit()->text(), yes ? first->GetLocationURL() : QStringLiteral("half typed"));
    }
};

QTEST_MAIN(tst_TAddressController)
#include "tst_TAddressController.moc"
