#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"

#include <QTest>

#include <memory>

namespace
{
// A window's tab set with its first tab.
struct Window
{
    TabSetHost host;
    TQWPageControl pc;
    TTabSet set;
    QList<FakeBrowserControl*> controls;

    // loads: whether the pages arrive at once; else the tabs wait for them,
    // showing shownMeanwhile.
    explicit Window(TQWOptions* options, bool loads = true, const QString& shownMeanwhile = {})
        : set(
              &pc, &host, &host.services,
              [this, loads, shownMeanwhile](QWidget* parent) -> IBrowserControl*
              {
                  auto* control = new FakeBrowserControl(parent);
                  control->runNavigations = loads;
                  control->locationUrl = shownMeanwhile;
                  controls << control;
                  return control;
              },
              options)
    {
        host.tabSet = &set;
        set.AddTab();
    }
    QList<TBrowserTab*> tabs() const
    {
        QList<TBrowserTab*> result;
        for (int i = 0; i < set.Count(); ++i)
            result << set.Tab(i);
        return result;
    }
    QStringList addresses() const
    {
        QStringList result;
        for (const TBrowserTab* tab : tabs())
            result << tab->GetLocationURL();
        return result;
    }
    int activeIndex() const { return pc.indexOf(set.GetActivePage()); }
};

const QStringList ThreeSites{"url3=http://c.test/", "url2=http://b.test/", "url1=http://a.test/"};
} // namespace

class tst_TStartupLoader : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    TQWOptions* options = nullptr;

    QStringList storedSites() const
    {
        return options->ReadListSection(RegistryKeys::LastOpenSites);
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        options = store->options.get();
    }
    void cleanup()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        store.reset();
    }

    void modes()
    {
        const QString home = TBrowserTab::HomeUrl();
        const struct
        {
            QString mode, startupPage, commandLine;
            QStringList stored, addresses; // stored: the remembered tabs, last first
            int active;
        } rows[] = {
            // clang-format off
            {"Home", "", "http://given.test/", {}, {home, "http://given.test/"}, 1},
            {"Blank", "http://once.test/", "", {}, {"http://once.test/", "about:blank"}, 1},
            {"Last", "", "", ThreeSites, {"http://a.test/", "http://b.test/", "http://c.test/"}, 2},
            {"Last", "", "", {}, {""}, 0},
            {"VostelGroup", "", "http://only.test/", {}, {"http://only.test/"}, 0}, // no group
            // clang-format on
        };
        for (const auto& r : rows)
        {
            options->SetStartupMode(r.mode);
            options->SetStartupPage(r.startupPage);
            options->SetCommandLine(r.commandLine);
            options->WriteListSection(RegistryKeys::LastOpenSites, r.stored);
            {
                Window w(options);
                TStartupLoader(&w.set, options).Run();
                QCOMPARE(w.addresses(), r.addresses);
                QCOMPARE(w.activeIndex(), r.active);
                // Each tab started its own page at most once.
                for (const FakeBrowserControl* control : w.controls)
                    QVERIFY(control->navigations.size() + control->blankPages.size() <= 1);
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            // The start page and the command line are used once.
            QCOMPARE(options->StartupPage(), QString());
            QCOMPARE(options->CommandLine(), QString());
        }
    }

    void rememberedSitesOrderAndSkips()
    {
        Window w(options);
        w.set.GetActivePage()->Navigate("http://one.test/");
        w.set.AddTab(); // never navigated: not remembered
        w.set.AddTab()->Navigate("http://three.test/");
        TBrowserTab* killed = w.set.AddTab();
        killed->Navigate("http://killed.test/");
        killed->Killed = true;

        const QStringList expected{"url3=http://three.test/", "url1=http://one.test/"};
        QCOMPARE(TStartupLoader::RememberedSites(w.tabs()), expected);
        options->SetStartupMode("Last");
        TStartupLoader::WriteRememberedSites(*options, w.tabs());
        QCOMPARE(storedSites(), expected);

        // Other modes keep no list.
        options->SetStartupMode("Home");
        TStartupLoader::WriteRememberedSites(*options, w.tabs());
        QVERIFY(
            !store->store->keyExists(RegistryKeys::ValueKey + '\\' + RegistryKeys::LastOpenSites));
    }

    void restoredTabsKeepAddressesNotYetReached()
    {
        // Nothing shown yet, or the engine's blank document.
        for (const QString& shownMeanwhile : {QString(), QStringLiteral("about:blank")})
        {
            options->SetStartupMode("Last");
            options->WriteListSection(RegistryKeys::LastOpenSites, ThreeSites);
            Window w(options, false, shownMeanwhile);
            TStartupLoader(&w.set, options).Run();
            QCOMPARE(w.set.Count(), 3);
            // The program ends before any page has arrived.
            TStartupLoader::WriteRememberedSites(*options, w.tabs());
            QCOMPARE(storedSites(), ThreeSites);
        }
    }
};

QTEST_MAIN(tst_TStartupLoader)
#include "tst_TStartupLoader.moc"
