#include "ScriptedServices.h"
#include "groups/TFavoriteMenuItem.h"
#include "groups/TFavoritesMenu.h"
#include "groups/TLinksBar.h"
#include "groups/TVostelGroupMenu.h"

#include <QMenu>
#include <QToolButton>
#include <QtTest>

namespace
{
const QString Long50 = QString(50, 'x').replace(0, 3, "abc").replace(47, 3, "xyz");

// "f/" makes a folder; "name=url" a shortcut to url; anything else a file.
bool make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries)
    {
        QFile file(root + '/' + entry.section('=', 0, 0));
        if (entry.endsWith('/') && !entry.contains('=') ? !QDir(root).mkpath(entry)
                                                        : !file.open(QIODevice::WriteOnly))
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

// The groups menu below one separator of its own.
struct GroupFixture
{
    QTemporaryDir dir;
    QString root = dir.path();
    QMenu popup;
    ScriptedServices services;
    TVostelGroupMenu menu{&popup, 1, root, &services};

    GroupFixture()
    {
        popup.addSeparator();
        services.setGlobalText("EmptyFolder", "Nothing");
    }
    QStringList open() { return opened(&popup, 1); }
};

// As the band shows them: a drop-down button ends in "/".
QStringList buttons(const TLinksBar& bar)
{
    QStringList shown;
    for (const QToolButton* button : bar.Buttons())
        shown << QString(button->text()).replace("&&", "&") + (button->menu() ? "/" : "");
    return shown;
}

struct LinksFixture
{
    QTemporaryDir dir;
    ScriptedServices services;
    TLinksBar bar{nullptr, false, &services};

    explicit LinksFixture(const QStringList& entries)
    {
        services.setGlobalText("OpenAllFavorites", "All");
        services.setGlobalText("Customize", "Customize");
        services.texts["MAIN>CustomizeLinks"] = "Organize";
        make(dir.path(), entries);
        bar.SetFolder(dir.path());
        bar.Reload();
    }
};
} // namespace

class tst_TFavoritesMenu : public QObject
{
    Q_OBJECT

private slots:
    void listing()
    {
        // The tree, open all shown, rows per column (-1: no columns), the
        // sub-folder opened ("" for the top level), what it shows.
        // clang-format off
        const QList<std::tuple<QStringList, bool, int, QString, QStringList>> rows = {
            {{"b.url", "A.url", "c/", "B/", "Tom & Jerry.url", "R&D/"}, false, -1, "", {"B/", "c/", "R&D/", "A", "b", "Tom & Jerry"}}, // folders first, case ignored
            {{Long50 + ".url", Long50.left(45) + "/"}, false, -1, "", {Long50.left(45) + "/", Long50.left(21) + "..." + Long50.right(21)}},
            {{"notes.txt", "a.tar.gz", "README", ".hidden/", ".x.url"}, false, -1, "", {"a.tar", "notes", "README"}}, // any extension dropped, dot entries left out
            {{"f/"}, false, -1, "f", {"-Empty"}},
            {{"f/"}, true, -1, "f", {"All", "|", "-Empty"}},
            {{"f/g/", "f/x.url"}, true, -1, "f", {"All", "|", "g/", "x"}},
            {{"f/", "f/1.url", "f/2.url", "f/3.url", "f/4.url", "f/5.url", "f/6.url", "f/7.url"}, false, 3, "f", {"1", "2", "3", "#4", "5", "6", "#7"}},
            {{"f/", "f/1.url", "f/2.url", "f/3.url"}, false, 3, "f", {"1", "2", "3"}},
            {{"f/", "f/1.url", "f/2.url"}, true, 3, "f", {"All", "|", "1", "#2"}}, // open all takes rows
            {{"f/", "f/1.url", "f/2.url"}, false, 0, "f", {"1", "#2"}}, // one row at least
        };
        // clang-format on
        for (const auto& [tree, openAll, breakRows, folder, shown] : rows)
        {
            MenuFixture f(openAll, breakRows);
            QVERIFY(make(f.root, tree));
            const QStringList top = f.open();
            QCOMPARE(folder.isEmpty() ? top : opened(submenu(&f.popup, folder)), shown);
        }
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
        // ...and until the rebuild is through, the menu stays as it was;
        // opening it finishes the rebuild.
        QVERIFY(!f.menu.RebuildSlice(0));
        QCOMPARE(f.popup.actions().size(), TFavoritesMenu::StaticCount + 2);
        QCOMPARE(f.open(), (QStringList{"f/", "a", "b"}));
        QVERIFY(!f.menu.Rebuilding() && f.menu.FavoritesMenuCurrent);
        QCOMPARE(opened(submenu(&f.popup, "f")), (QStringList{"x", "y"}));
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

    void groupListing()
    {
        GroupFixture f;
        QVERIFY(
            make(f.root, {"a.vgp", "z/", "Gamma.vgp", "beta.vgp", "Gamma/", "beta/", "A&B/",
                          "C&D.vgp", "notes.txt", "g.vgp.bak", ".hidden/", ".hidden/x.vgp", "e/"}));
        QCOMPARE(f.open(),
                 (QStringList{"A&B/", "beta/", "e/", "Gamma/", "z/", "a", "beta", "C&D", "Gamma"}));
        QCOMPARE(opened(submenu(&f.popup, "e")), QStringList{"-Nothing"});
    }

    void groupFolderReadOnlyWhenNeeded()
    {
        GroupFixture f;
        QVERIFY(make(f.root, {"f/", "f/a.vgp"}));
        f.open();
        // A folder is read when it first opens, not when it is listed...
        QVERIFY(make(f.root, {"f/b.vgp"}));
        QCOMPARE(opened(submenu(&f.popup, "f")), (QStringList{"a", "b"}));
        // ...and not again on later openings,
        QVERIFY(make(f.root, {"f/c.vgp", "d.vgp"}));
        QCOMPARE(opened(submenu(&f.popup, "f")), (QStringList{"a", "b"}));
        // nor is the menu until it is marked changed.
        QCOMPARE(f.open(), QStringList{"f/"});
        f.menu.MarkChanged();
        QCOMPARE(f.open(), (QStringList{"f/", "d"}));
        QCOMPARE(opened(submenu(&f.popup, "f")), (QStringList{"a", "b", "c"}));
    }

    void groupChosenCarriesPath()
    {
        GroupFixture f;
        QVERIFY(make(f.root, {"News.vgp"}));
        QSignalSpy chosen(&f.menu, &TVostelGroupMenu::groupChosen);
        f.open();
        // The separator when the group is missing, which chooses nothing.
        f.popup.actions().constLast()->trigger();
        QCOMPARE(QList<QVariantList>(chosen),
                 QList<QVariantList>{QVariantList{f.root + "/News.vgp"}});
    }

    void linksBarButtonsOfTheFolder()
    {
        LinksFixture f({"b.url", "z/", "Tom & Jerry.url", ".hidden.url"});
        QCOMPARE(buttons(f.bar), (QStringList{"z/", "b", "Tom & Jerry"}));
        QCOMPARE(f.bar.RootItem()->actions().constLast()->text(), QString("Customize"));
        // Without a Links folder there is nothing to show.
        f.bar.SetFolder({});
        f.bar.Reload();
        QVERIFY(f.bar.Buttons().isEmpty());
        QVERIFY(f.bar.RootItem()->isEmpty());
    }

    // Every link is either whole on the band or in the chevron's menu, once.
    void linksBarChevronHoldsTheCutOffButtons()
    {
        QStringList all, files;
        for (int i = 1; i <= 8; ++i)
            files << (all << QStringLiteral("Link %1").arg(i)).last() + ".url";
        for (const int width : {4000, 250, 5})
        {
            LinksFixture f(files);
            TLinksBar& bar = f.bar;
            bar.ShowOpenAllFavorites = true;
            bar.Reload();
            bar.resize(width, 30);
            bar.show();
            QVERIFY(QTest::qWaitForWindowExposed(&bar));

            const int visibleRight = bar.pnlLinksExtender->isVisible()
                                         ? bar.pnlLinksExtender->geometry().left()
                                         : bar.width();
            QStringList whole;
            for (const QToolButton* button : bar.Buttons())
                if (button->mapTo(&bar, QPoint(button->width(), 0)).x() <= visibleRight)
                    whole << button->text();
            emit bar.pmLinksBarExtender->aboutToShow();
            QStringList offered;
            for (const QAction* action : bar.pmLinksBarExtender->actions())
                offered << (action->isSeparator() ? "|" : action->text());

            const QStringList cutOff = all.mid(whole.size());
            QCOMPARE(whole, all.first(whole.size()));
            QCOMPARE(offered,
                     (cutOff.isEmpty() ? QStringList{} : cutOff + QStringList{"|", "Organize"}));
            QCOMPARE(bar.pnlLinksExtender->isVisible(), !cutOff.isEmpty());
            QCOMPARE(whole.isEmpty(), width < 100);
            QCOMPARE(cutOff.isEmpty(), width > 1000);
        }
    }
};

QTEST_MAIN(tst_TFavoritesMenu)
#include "tst_TFavoritesMenu.moc"
