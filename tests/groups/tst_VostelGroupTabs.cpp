#include "FakeBrowserControl.h"
#include "ScriptedFileServices.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "groups/VostelGroupTabs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Tabs as "sticky name=address", the address marked "*" when the tab locks
// once loaded; the address is the one last asked for, else the one shown.
class tst_VostelGroupTabs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::unique_ptr<TestStore> store;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;

    QString writeGroup(const QString& name, const QString& entries)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("[VostelGroup]\n" + entries.split(';', Qt::SkipEmptyParts).join('\n').toUtf8());
        return path;
    }
    // Tabs named by letter; "K" is kept on Close All.
    void addTabs(const QStringList& names)
    {
        for (const QString& name : names)
        {
            TBrowserTab* tab = set->AddTab();
            FakeTabHost::controlOf(tab)->locationUrl = QStringLiteral("http://%1.test/").arg(name);
            tab->HideFromCloseAll = name == "K";
        }
        set->ActivateTab(set->Tab(0));
    }
    QStringList described() const
    {
        QStringList tabs;
        for (int i = 0; i < set->Count(); ++i)
        {
            const TBrowserTab* tab = set->Tab(i);
            const FakeBrowserControl* control = FakeTabHost::controlOf(tab);
            tabs << tab->StickyName() + '=' + (tab->LockAfterLoad ? "*" : "") +
                        (control->navigations.isEmpty() ? control->locationUrl
                                                        : control->navigations.last());
        }
        return tabs;
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        set = std::make_unique<TTabSet>(pc.get(), host.get(), &host->services,
                                        FakeBrowserControl::factory(), store->options.get());
        host->tabSet = set.get();
    }
    void cleanup()
    {
        set.reset();
        pc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.reset();
        store.reset();
    }

    void open_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<bool>("closeFirst");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("refused");

        const QStringList abc{"=http://A.test/", "=http://B.test/", "=http://C.test/"};
        // clang-format off
        QTest::newRow("close first: the survivor shows the first page") << QStringList{"A", "B", "C"} << "one=http://1/;two=http://2/" << true << QStringList{"one=http://1/", "two=http://2/"} << 0;
        QTest::newRow("appended at the end in file order") << QStringList{"A", "B", "C"} << "one=http://1/;two=http://2/" << false << abc + QStringList{"one=http://1/", "two=http://2/"} << 0;
        QTest::newRow("blank names are no names; case counts") << QStringList{"A"} << "blank7=http://1/;Blank8=http://2/" << false << QStringList{"=http://A.test/", "=http://1/", "Blank8=http://2/"} << 0;
        QTest::newRow("locked marker; '=' and '*' in the address") << QStringList{"A"} << "x=*http://1/?a=b*c" << true << QStringList{"x=*http://1/?a=b*c"} << 0;
        QTest::newRow("empty group closes nothing") << QStringList{"A", "B", "C"} << "" << true << abc << 0;
        QTest::newRow("script addresses refused") << QStringList{"A", "B"} << "s=javascript:alert(1);ok=http://1/" << true << QStringList{"ok=http://1/"} << 1;
        QTest::newRow("a kept tab keeps its page") << QStringList{"K", "B"} << "one=http://1/" << true << QStringList{"=http://K.test/", "one=http://1/"} << 0;
        // clang-format on
    }
    void open()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, entries);
        QFETCH(bool, closeFirst);
        addTabs(before);
        set->OpenNewAtEnd = false;

        const auto opened =
            VostelGroupTabs::open(*set, writeGroup("g.vgp", entries), closeFirst, false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTEST(described(), "after");
        QTEST(opened.refused, "refused");
        QVERIFY(!set->OpenNewAtEnd);
        QVERIFY(!set->GroupOpening);
    }

    // Tabs opened at start-up that have not reached their pages yet are
    // saved with those pages, names and locks: the file reads back the same.
    void savedTabsReadBackTheSame()
    {
        addTabs({"A"});
        const QString entries = "News=http://n/?q=a=b;blank2=*http://2/;Mail=http://m/";
        VostelGroupTabs::open(*set, writeGroup("in.vgp", entries), true, true);
        // A captured pop-up waiting to close is not part of the group.
        set->AddHiddenTab()->Killed = true;
        ScriptedFileServices services;
        services.saveFileAnswer = dir.filePath("out");

        TVostelGroup group = VostelGroupTabs::ofTabs(*set, &services);
        QVERIFY(group.Save());
        const TVostelGroup saved(nullptr, dir.filePath("out.vgp"));
        QCOMPARE(QStringList(saved), entries.split(';'));
    }

    void uniqueName_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("unique");
        // clang-format off
        QTest::newRow("free") << QStringList{"Mail"} << "News" << "News";
        QTest::newRow("taken in another case") << QStringList{"News"} << "news" << "news (2)";
        QTest::newRow("numbered too") << QStringList{"News", "News (2)"} << "News" << "News (3)";
        QTest::newRow("'=' dropped before comparing") << QStringList{"ab"} << "a=b" << "a=b (2)";
        QTest::newRow("first untitled") << QStringList{} << "" << "blank1";
        QTest::newRow("untitled after an edit") << QStringList{"blank1", "blank3"} << "" << "blank4";
        // clang-format on
    }
    void uniqueName()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, name);
        TVostelGroup group;
        for (const QString& existing : names)
            group << existing + "=http://x/";
        QTEST(VostelGroupTabs::uniqueName(group, name), "unique");
    }
};

QTEST_MAIN(tst_VostelGroupTabs)
#include "tst_VostelGroupTabs.moc"
