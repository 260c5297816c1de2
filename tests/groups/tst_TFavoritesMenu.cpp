#include "ScriptedServices.h"
#include "groups/TFavoriteMenuItem.h"
#include "groups/TFavoritesMenu.h"

#include <QMenu>
#include <QtTest>

namespace
{
const QString Long50 = QString(50, 'x').replace(0, 3, "abc").replace(47, 3, "xyz");

// "f/" makes a folder; "name=url" a shortcut to url; anything else a file.
bool make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries)
    {
        if (entry.endsWith('/') && !entry.contains('='))
        {
            if (!QDir(root).mkpath(entry))
                return false;
            continue;
        }
        const QString name = entry.section('=', 0, 0);
        QFile file(root + '/' + name);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (entry.contains('='))
            file.write("[InternetShortcut]\nURL=" + entry.section('=', 1).toUtf8() + "\n");
    }
    return true;
}

// What a user reads once the menu opens: a folder ends in "/", a disabled
// entry starts with "-", a separator is "|", a new column (the carried-on
// rest of the menu) starts with "#"; accelerator marks are taken out as
// they are drawn. Hidden items are not there.
QStringList opened(QMenu* menu, int skip = 0)
{
    if (!menu)
        return {QStringLiteral("no such menu")};
    emit menu->aboutToShow();
    QStringList shown;
    for (QAction* action : menu->actions().mid(skip))
    {
        const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
        if (item && item->ItemKind() == TFavoriteMenuItem::Kind::More)
        {
            QStringList column = opened(item->Submenu());
            if (!column.isEmpty())
                column.first().prepend('#');
            shown << column;
        }
        else if (action->isSeparator())
            shown << "|";
        else if (action->isVisible())
            shown << (action->isEnabled() ? "" : "-") + action->text().replace("&&", "&") +
                         (action->menu() ? "/" : "");
    }
    return shown;
}

QAction* item(const QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions())
        if (action->text().replace("&&", "&") == caption)
            return action;
    return nullptr;
}

QMenu* submenu(const QMenu* menu, const QString& caption)
{
    QAction* action = item(menu, caption);
    return action ? action->menu() : nullptr;
}

struct MenuFixture
{
    QTemporaryDir dir;
    QString root = dir.path();
    QMenu popup;
    ScriptedServices services;
    TFavoritesMenu menu{&popup, &services};

    explicit MenuFixture(bool openAll = false, int breakRows = -1)
    {
        services.setGlobalText("EmptyFolder", "Empty");
        services.setGlobalText("OpenAllFavorites", "All");
        services.setGlobalText("MoreFavorites", "More");
        menu.Settings.ShowOpenAllFavorites = openAll;
        menu.Settings.BreakFavorites = breakRows >= 0;
        menu.Settings.RowsPerColumn = breakRows;
        menu.SetFolder(root);
    }
    QStringList open() { return opened(&popup, TFavoritesMenu::StaticCount); }
};
} // namespace

class tst_TFavoritesMenu : public QObject
{
    Q_OBJECT

private slots:
    void listing_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<bool>("openAll");
        QTest::addColumn<int>("breakRows");  // rows per column; -1: no columns
        QTest::addColumn<QString>("folder"); // the sub-folder opened; empty for the top level
        QTest::addColumn<QStringList>("shown");
        // clang-format off
        QTest::newRow("folders first, case ignored") << QStringList{"b.url", "A.url", "c/", "B/"} << false << -1 << "" << QStringList{"B/", "c/", "A", "b"};
        QTest::newRow("50 characters shortened") << QStringList{Long50 + ".url"} << false << -1 << "" << QStringList{Long50.left(21) + "..." + Long50.right(21)};
        QTest::newRow("45 characters kept") << QStringList{Long50.left(45) + "/"} << false << -1 << "" << QStringList{Long50.left(45) + "/"};
        QTest::newRow("& shows literally") << QStringList{"Tom & Jerry.url", "R&D/"} << false << -1 << "" << QStringList{"R&D/", "Tom & Jerry"};
        QTest::newRow("any extension dropped") << QStringList{"notes.txt", "page.url", "a.tar.gz", "README"} << false << -1 << "" << QStringList{"a.tar", "notes", "page", "README"};
        QTest::newRow("dot entries left out") << QStringList{".hidden/", ".x.url", "a.url"} << false << -1 << "" << QStringList{"a"};
        QTest::newRow("empty sub-folder") << QStringList{"f/"} << false << -1 << "f" << QStringList{"-Empty"};
        QTest::newRow("empty sub-folder, open all") << QStringList{"f/"} << true << -1 << "f" << QStringList{"All", "|", "-Empty"};
        QTest::newRow("sub-folder, open all") << QStringList{"f/g/", "f/x.url"} << true << -1 << "f" << QStringList{"All", "|", "g/", "x"};
        QTest::newRow("7 items in columns of 3") << QStringList{"f/", "f/1.url", "f/2.url", "f/3.url", "f/4.url", "f/5.url", "f/6.url", "f/7.url"} << false << 3 << "f" << QStringList{"1", "2", "3", "#4", "5", "6", "#7"};
        QTest::newRow("3 items in columns of 3") << QStringList{"f/", "f/1.url", "f/2.url", "f/3.url"} << false << 3 << "f" << QStringList{"1", "2", "3"};
        QTest::newRow("open all takes rows") << QStringList{"f/", "f/1.url", "f/2.url"} << true << 3 << "f" << QStringList{"All", "|", "1", "#2"};
        QTest::newRow("one row at least") << QStringList{"f/", "f/1.url", "f/2.url"} << false << 0 << "f" << QStringList{"1", "#2"};
        // clang-format on
    }
    void listing()
    {
        QFETCH(QStringList, tree);
        QFETCH(bool, openAll);
        QFETCH(int, breakRows);
        QFETCH(QString, folder);
        MenuFixture f(openAll, breakRows);
        QVERIFY(make(f.root, tree));
        const QStringList top = f.open();
        QTEST(folder.isEmpty() ? top : opened(submenu(&f.popup, folder)), "shown");
    }

    void openAllTakesTheFolderLevel()
    {
        // Columns of three rows: the favorites carried on count too.
        MenuFixture f(true, 3);
        QVERIFY(make(f.root, {"f/", "f/sub/", "f/b.url=http://b/", "f/a.url=http://a/", "f/doc.txt",
                              "f/sub/c.url=http://c/", "f/none.url"}));
        QSignalSpy chosen(&f.menu, &TFavoritesMenu::openAllChosen);
        f.open();
        QMenu* folder = submenu(&f.popup, "f");
        QCOMPARE(opened(folder), (QStringList{"All", "|", "sub/", "#a", "b", "doc", "#none"}));
        item(folder, "All")->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toStringList(),
                 (QStringList{"http://a/", "http://b/", f.root + "/f/doc.txt", ""}));
    }

    void favoriteChosenCarriesTarget()
    {
        MenuFixture f;
        QVERIFY(make(f.root, {"News.url=http://news/", "doc.txt"}));
        QSignalSpy chosen(&f.menu, &TFavoritesMenu::favoriteChosen);
        f.open();
        item(&f.popup, "News")->trigger();
        item(&f.popup, "doc")->trigger();
        QCOMPARE(QList<QVariantList>(chosen),
                 (QList<QVariantList>{{"http://news/"}, {f.root + "/doc.txt"}}));
    }

    void rebuiltInSlicesAfterChange()
    {
        MenuFixture f;
        QVERIFY(make(f.root, {"a.url", "f/", "f/x.url"}));
        QCOMPARE(f.open(), (QStringList{"f/", "a"}));
        // Read once per change...
        QVERIFY(make(f.root, {"b.url", "f/y.url"}));
        QCOMPARE(f.open(), (QStringList{"f/", "a"}));
        f.menu.MarkNotCurrent();
        // ...and until the rebuild is through, the menu stays as it was.
        QVERIFY(!f.menu.RebuildSlice(0));
        QCOMPARE(f.popup.actions().size(), TFavoritesMenu::StaticCount + 2);
        while (!f.menu.RebuildSlice(0))
        {
        }
        QVERIFY(f.menu.FavoritesMenuCurrent);
        QCOMPARE(f.open(), (QStringList{"f/", "a", "b"}));
        QCOMPARE(opened(submenu(&f.popup, "f")), (QStringList{"x", "y"}));
    }

    void openingFinishesARebuild()
    {
        MenuFixture f;
        QVERIFY(make(f.root, {"a.url", "b.url"}));
        QVERIFY(!f.menu.RebuildSlice(0));
        QCOMPARE(f.open(), (QStringList{"a", "b"}));
        QVERIFY(!f.menu.Rebuilding());
    }

    void addAndOrganizeOfferedOnceCarriedOut()
    {
        MenuFixture f;
        f.open();
        QVERIFY(!f.menu.mnuFavoritesAdd->isVisible());
        connect(&f.menu, &TFavoritesMenu::addFavoriteRequested, this, [] {});
        f.open();
        QVERIFY(f.menu.mnuFavoritesAdd->isVisible());
        QVERIFY(!f.menu.mnuFavoritesOrganize->isVisible());
    }
};

QTEST_MAIN(tst_TFavoritesMenu)
#include "tst_TFavoritesMenu.moc"
