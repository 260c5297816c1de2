// The three search lists in the store and the menus built from them.

#include "TestStore.h"
#include "navigation/TSearchLists.h"
#include "navigation/TSearchMenus.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using Entry = TSearchLists::Entry;
using Entries = QList<TSearchLists::Entry>;
Q_DECLARE_METATYPE(Entries)

namespace
{
QStringList captions(const QMenu& menu)
{
    QStringList list;
    for (const QAction* action : menu.actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}
} // namespace

class tst_TSearchLists : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> test;
    TQWOptions* options = nullptr;

private slots:
    void init()
    {
        test = std::make_unique<TestStore>();
        options = test->options.get();
    }

    void roundTrip_data()
    {
        QTest::addColumn<Entries>("written");
        QTest::addColumn<Entries>("readBack");
        // clang-format off
        QTest::newRow("order kept") << Entries{{"B", "http://b.test/"}, {"A", "http://a.test/"}} << Entries{{"B", "http://b.test/"}, {"A", "http://a.test/"}};
        QTest::newRow("titles equal but for case are one value, the first row's") << Entries{{"Web", "http://first.test/"}, {"web", "http://second.test/"}} << Entries{{"Web", "http://first.test/"}};
        QTest::newRow("an = in the title moves the rest into the address") << Entries{{"a=b", "c"}} << Entries{{"a", "b=c"}};
        QTest::newRow("empty address is not read back") << Entries{{"x", ""}, {"y", "http://y.test/"}} << Entries{{"y", "http://y.test/"}};
        // clang-format on
    }

    void roundTrip()
    {
        QFETCH(Entries, written);
        QFETCH(Entries, readBack);
        for (int mode = 0; mode < 3; ++mode)
        {
            TSearchLists::Write(*options, mode, written);
            QCOMPARE(TSearchLists::Read(*options, mode), readBack);
            // The lists are separate.
            if (mode < 2)
                QVERIFY(TSearchLists::Read(*options, mode + 1).isEmpty());
        }
    }

    void enginesMenuRebuiltAfterItsFixedItems()
    {
        QMenu pmSearch;
        pmSearch.addAction(QStringLiteral("Organize"));
        pmSearch.addSeparator();
        TSearchLists::Write(*options, TSearchLists::ModeSearchEngines,
                            {{"&Alpha", "http://a.test/?q="}, {"Beta", "http://b.test/"}});
        QStringList opened;
        const auto open = [&opened](const QString& address) { opened << address; };

        TSearchMenus::BuildSearchEnginesMenu(&pmSearch, *options, open);
        QCOMPARE(captions(pmSearch), QStringList({"Organize", "-", "&Alpha", "Beta"}));

        // Built again: the old entries go, the store's list comes.
        TSearchLists::Write(*options, TSearchLists::ModeSearchEngines,
                            {{"Gamma", "http://g.test/"}});
        TSearchMenus::BuildSearchEnginesMenu(&pmSearch, *options, open);
        QCOMPARE(captions(pmSearch), QStringList({"Organize", "-", "Gamma"}));

        pmSearch.actions().at(2)->trigger();
        QCOMPARE(opened, QStringList{"http://g.test/"});

        // Once told to, the menu follows the store whenever it opens.
        TSearchMenus::RebuildEnginesOnShow(&pmSearch, options, {});
        TSearchLists::Write(*options, TSearchLists::ModeSearchEngines, {{"Now", "http://n.test/"}});
        emit pmSearch.aboutToShow();
        QCOMPARE(captions(pmSearch), QStringList({"Organize", "-", "Now"}));
    }
    void searchBarMenuKeepsThreeItems()
    {
        QMenu pmSearchFavs;
        pmSearchFavs.addAction(QStringLiteral("Add"));
        pmSearchFavs.addAction(QStringLiteral("Organize"));
        pmSearchFavs.addSeparator();
        pmSearchFavs.addAction(QStringLiteral("stale"));
        TSearchLists::Write(*options, TSearchLists::ModeSearchBar, {{"Pane", "http://p.test/"}});
        QString opened;
        TSearchMenus::BuildSearchBarMenu(&pmSearchFavs, *options,
                                         [&opened](const QString& address) { opened = address; });
        QCOMPARE(captions(pmSearchFavs), QStringList({"Add", "Organize", "-", "Pane"}));
        pmSearchFavs.actions().at(3)->trigger();
        QCOMPARE(opened, QStringLiteral("http://p.test/"));
    }
};

QTEST_MAIN(tst_TSearchLists)
#include "tst_TSearchLists.moc"
