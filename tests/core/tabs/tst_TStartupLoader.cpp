#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "TabSetHost.h"
#include "components/TQWPageControl.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

// A window's tab set with its first tab; every control loads at once.
struct Window
{
    TabSetHost host;
    TQWPageControl pc;
    TTabSet set;
    QList<FakeBrowserControl*> controls;
    QList<TBrowserTab*> activated;

    // loads: whether the pages arrive at once; else the tabs wait for them.
    explicit Window(TQWOptions* options, bool loads = true, const QString& shownMeanwhile = {})
        : set(&pc, &host, &host.services, makeFactory(loads, shownMeanwhile), options)
    {
        host.tabSet = &set;
        set.AddTab();
    }
    BrowserControlFactory makeFactory(bool loads, const QString& shownMeanwhile)
    {
        return [this, loads, shownMeanwhile](QWidget* parent) -> IBrowserControl*
        {
            auto* control = new FakeBrowserControl(parent);
            control->runNavigations = loads;
            control->locationUrl = shownMeanwhile;
            controls << control;
            return control;
        };
    }
    QStringList addresses() const
    {
        QStringList result;
        for (int i = 0; i < set.Count(); ++i)
            result << set.Tab(i)->GetLocationURL();
        return result;
    }
    int activeIndex() const { return pc.indexOf(set.GetActivePage()); }
};

// Which tabs got shown on screen.
class ShowCounter : public QObject
{
public:
    QSet<QObject*> tabs;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<TBrowserTab*>(watched))
            tabs.insert(watched);
        return false;
    }
};
} // namespace

class tst_TStartupLoader : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void homeThenCommandLine();
    void blankWithStartupPageIsShownOnce();
    void lastRestoresInOrderWithTheLastActive();
    void lastRestoreNeverBringsEarlierTabsToTheFront();
    void emptyLastListOpensNothing();
    void groupModeWithoutGroupOpensOnlyTheCommandLine();
    void rememberedSitesOrderAndSkips();
    void restoredTabsKeepAddressesNotYetReached_data();
    void restoredTabsKeepAddressesNotYetReached();
    void otherModesRemoveTheList();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<RegistryStore> m_store;
    std::unique_ptr<TQWOptions> m_options;
};

void tst_TStartupLoader::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<RegistryStore>(m_home->filePath(QStringLiteral("settings.sqlite")));
    m_options = std::make_unique<TQWOptions>(m_store.get());
}

void tst_TStartupLoader::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_options.reset();
    m_store.reset();
    m_home.reset();
}

void tst_TStartupLoader::homeThenCommandLine()
{
    m_options->SetStartupMode(QStringLiteral("Home"));
    m_options->SetCommandLine(QStringLiteral("http://given.test/"));
    Window w(m_options.get());
    TStartupLoader(&w.set, m_options.get()).Run();

    QCOMPARE(w.addresses(),
             QStringList({TBrowserTab::HomeUrl(), QStringLiteral("http://given.test/")}));
    QCOMPARE(w.activeIndex(), 1);
    QCOMPARE(m_options->CommandLine(), QString()); // consumed
}

void tst_TStartupLoader::blankWithStartupPageIsShownOnce()
{
    m_options->SetStartupMode(QStringLiteral("Blank"));
    m_options->SetStartupPage(QStringLiteral("http://once.test/"));
    {
        Window w(m_options.get());
        TStartupLoader(&w.set, m_options.get()).Run();
        QCOMPARE(w.addresses(),
                 QStringList({QStringLiteral("http://once.test/"), QStringLiteral("about:blank")}));
        QCOMPARE(w.controls.at(1)->blankPages.size(), 1);
    }
    QCOMPARE(m_options->StartupPage(), QString());
    Window next(m_options.get());
    TStartupLoader(&next.set, m_options.get()).Run();
    QCOMPARE(next.addresses(), QStringList({QStringLiteral("about:blank")}));
}

void tst_TStartupLoader::lastRestoresInOrderWithTheLastActive()
{
    m_options->SetStartupMode(QStringLiteral("Last"));
    // Stored last tab first, as the exit write leaves it.
    m_options->WriteListSection(RegistryKeys::LastOpenSites,
                                {QStringLiteral("url3=http://c.test/"),
                                 QStringLiteral("url2=http://b.test/"),
                                 QStringLiteral("url1=http://a.test/")});
    Window w(m_options.get());
    TStartupLoader(&w.set, m_options.get()).Run();

    QCOMPARE(w.addresses(),
             QStringList({QStringLiteral("http://a.test/"), QStringLiteral("http://b.test/"),
                          QStringLiteral("http://c.test/")}));
    QCOMPARE(w.activeIndex(), 2);
    // Each restored tab started its own page exactly once.
    for (const FakeBrowserControl* control : w.controls)
        QCOMPARE(control->navigations.size(), 1);
}

void tst_TStartupLoader::lastRestoreNeverBringsEarlierTabsToTheFront()
{
    m_options->SetStartupMode(QStringLiteral("Last"));
    QStringList lines;
    for (int i = 5; i >= 1; --i)
        lines << QStringLiteral("url%1=http://t%1.test/").arg(i);
    m_options->WriteListSection(RegistryKeys::LastOpenSites, lines);
    Window w(m_options.get());
    w.pc.show();
    ShowCounter shows;
    qApp->installEventFilter(&shows);
    TStartupLoader(&w.set, m_options.get()).Run();
    qApp->removeEventFilter(&shows);

    // The first tab was on screen already; of the others only the last,
    // which ends up in front, is ever shown.
    QCOMPARE(shows.tabs, QSet<QObject*>({w.set.Tab(4)}));
    QCOMPARE(w.activeIndex(), 4);
    QCOMPARE(w.addresses().last(), QStringLiteral("http://t5.test/"));
}

void tst_TStartupLoader::emptyLastListOpensNothing()
{
    m_options->SetStartupMode(QStringLiteral("Last"));
    Window w(m_options.get());
    TStartupLoader(&w.set, m_options.get()).Run();
    QCOMPARE(w.set.Count(), 1);
    QCOMPARE(w.controls.first()->navigations.size(), 0);
}

void tst_TStartupLoader::groupModeWithoutGroupOpensOnlyTheCommandLine()
{
    m_options->SetStartupMode(QStringLiteral("VostelGroup"));
    m_options->SetCommandLine(QStringLiteral("http://only.test/"));
    Window w(m_options.get());
    TStartupLoader(&w.set, m_options.get()).Run();
    QCOMPARE(w.addresses(), QStringList({QStringLiteral("http://only.test/")}));
}

void tst_TStartupLoader::rememberedSitesOrderAndSkips()
{
    Window w(m_options.get());
    w.set.GetActivePage()->Navigate(QStringLiteral("http://one.test/"));
    w.set.AddTab(); // never navigated: not remembered
    w.set.AddTab()->Navigate(QStringLiteral("http://three.test/"));
    TBrowserTab* killed = w.set.AddTab();
    killed->Navigate(QStringLiteral("http://killed.test/"));
    killed->Killed = true;

    QList<TBrowserTab*> tabs;
    for (int i = 0; i < w.set.Count(); ++i)
        tabs << w.set.Tab(i);
    QCOMPARE(TStartupLoader::RememberedSites(tabs),
             QStringList({QStringLiteral("url3=http://three.test/"),
                          QStringLiteral("url1=http://one.test/")}));

    m_options->SetStartupMode(QStringLiteral("Last"));
    TStartupLoader::WriteRememberedSites(*m_options, tabs);
    QCOMPARE(m_options->ReadListSection(RegistryKeys::LastOpenSites),
             QStringList({QStringLiteral("url3=http://three.test/"),
                          QStringLiteral("url1=http://one.test/")}));
}

void tst_TStartupLoader::restoredTabsKeepAddressesNotYetReached_data()
{
    QTest::addColumn<QString>("shownMeanwhile");
    QTest::newRow("nothing shown yet") << QString();
    QTest::newRow("engine's blank document") << "about:blank";
}

void tst_TStartupLoader::restoredTabsKeepAddressesNotYetReached()
{
    QFETCH(QString, shownMeanwhile);
    const QStringList remembered{QStringLiteral("url3=http://three.test/"),
                                 QStringLiteral("url2=http://two.test/"),
                                 QStringLiteral("url1=http://one.test/")};
    m_options->SetStartupMode(QStringLiteral("Last"));
    m_options->WriteListSection(RegistryKeys::LastOpenSites, remembered);
    Window w(m_options.get(), false, shownMeanwhile);
    TStartupLoader(&w.set, m_options.get()).Run();
    QCOMPARE(w.set.Count(), 3);

    // The program ends before any page has arrived.
    QList<TBrowserTab*> tabs;
    for (int i = 0; i < w.set.Count(); ++i)
        tabs << w.set.Tab(i);
    TStartupLoader::WriteRememberedSites(*m_options, tabs);
    QCOMPARE(m_options->ReadListSection(RegistryKeys::LastOpenSites), remembered);
}

void tst_TStartupLoader::otherModesRemoveTheList()
{
    m_options->WriteListSection(RegistryKeys::LastOpenSites,
                                {QStringLiteral("url1=http://a.test/")});
    m_options->SetStartupMode(QStringLiteral("Home"));
    Window w(m_options.get());
    w.set.GetActivePage()->Navigate(QStringLiteral("http://a.test/"));
    TStartupLoader::WriteRememberedSites(*m_options, {w.set.GetActivePage()});
    QVERIFY(!m_store->keyExists(RegistryKeys::ValueKey + QLatin1Char('\\') +
                                RegistryKeys::LastOpenSites));
}

QTEST_MAIN(tst_TStartupLoader)
#include "tst_TStartupLoader.moc"
