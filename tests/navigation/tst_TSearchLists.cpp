// The three search lists in the store and the menus built from them.

#include "TestStore.h"
#include "navigation/TSearchLists.h"
#include "navigation/TSearchMenus.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using Entries = QList<TSearchLists::Entry>;

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

private slots:
    void roundTrip()
    {
        const QList<std::pair<Entries, Entries>> rows = {
            // written, read back
            // clang-format off
            {{{"B", "http://b.test/"}, {"A", "http://a.test/"}}, {{"B", "http://b.test/"}, {"A", "http://a.test/"}}},
            // Titles equal but for case are one value, the first row's.
            {{{"Web", "http://first.test/"}, {"web", "http://second.test/"}}, {{"Web", "http://first.test/"}}},
            {{{"a=b", "c"}}, {{"a", "b=c"}}}, // an = in the title moves the rest into the address
            {{{"x", ""}, {"y", "http://y.test/"}}, {{"y", "http://y.test/"}}},
            // clang-format on
        };
        for (const auto& [written, readBack] : rows)
        {
            TestStore test;
            for (int mode = 0; mode < 3; ++mode)
            {
                TSearchLists::Write(*test.options, mode, written);
                QCOMPARE(TSearchLists::Read(*test.options, mode), readBack);
                // The lists are separate.
                if (mode < 2)
                    QVERIFY(TSearchLists::Read(*test.options, mode + 1).isEmpty());
            }
        }
    }

    void menusKeepTheirFixedItems()
    {
        TestStore test;
        TQWOptions& options = *test.options;
        QMenu pmSearch;
        pmSearch.addAction(QStringLiteral("Organize"));
        pmSearch.addSeparator();
        TSearchLists::Write(options, TSearchLists::ModeSearchEngines,
                            {{"&Alpha", "http://a.test/?q="}, {"Beta", "http://b.test/"}});
        QStringList opened;
        const auto open = [&opened](const QString& address) { opened << address; };
        TSearchMenus::BuildSearchEnginesMenu(&pmSearch, options, open);
        QCOMPARE(captions(pmSearch), QStringList({"Organize", "-", "&Alpha", "Beta"}));

        // Once told to, the menu follows the store whenever it opens.
        TSearchMenus::RebuildEnginesOnShow(&pmSearch, &options, open);
        TSearchLists::Write(options, TSearchLists::ModeSearchEngines, {{"Now", "http://n.test/"}});
        emit pmSearch.aboutToShow();
        QCOMPARE(captions(pmSearch), QStringList({"Organize", "-", "Now"}));
        pmSearch.actions().at(2)->trigger();

        QMenu pmSearchFavs;
        pmSearchFavs.addAction(QStringLiteral("Add"));
        pmSearchFavs.addAction(QStringLiteral("Organize"));
        pmSearchFavs.addSeparator();
        pmSearchFavs.addAction(QStringLiteral("stale"));
        TSearchLists::Write(options, TSearchLists::ModeSearchBar, {{"Pane", "http://p.test/"}});
        TSearchMenus::BuildSearchBarMenu(&pmSearchFavs, options, open);
        QCOMPARE(captions(pmSearchFavs), QStringList({"Add", "Organize", "-", "Pane"}));
        pmSearchFavs.actions().at(3)->trigger();
        QCOMPARE(opened, QStringList({"http://n.test/", "http://p.test/"}));
    }
};

QTEST_MAIN(tst_TSearchLists)
#include "tst_TSearchLists.moc"
