#include "FolderTreeBuilder.h"
#include "ScriptedServices.h"
#include "components/TFolderMonitor.h"
#include "groups/TKoncoGroupMenuItem.h"
#include "groups/TVostelGroupMenu.h"

#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
constexpr int StaticCount = 4;
const QString EmptyText = QStringLiteral("Nothing in here");

// The drop-down as the window holds it: three commands and a separator,
// then the generated entries.
struct MenuFixture
{
    QTemporaryDir dir;
    QString root;
    QMenu popup;
    ScriptedServices services;
    std::unique_ptr<TVostelGroupMenu> menu;

    explicit MenuFixture(const QString& rootName = QStringLiteral("VostelGroups"))
        : root(dir.filePath(rootName))
    {
        popup.addAction(QStringLiteral("Add"));
        popup.addAction(QStringLiteral("Save"));
        popup.addAction(QStringLiteral("Organize"));
        popup.addSeparator();
        services.setGlobalText(QStringLiteral("EmptyFolder"), EmptyText);
        menu = std::make_unique<TVostelGroupMenu>(&popup, StaticCount, root, &services);
    }
};

// What a user reads in a menu, one entry each: a folder's caption ends in
// "/", a disabled entry starts with "-".
QStringList captions(const QMenu* menu, int from = 0)
{
    QStringList shown;
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = from; i < actions.size(); ++i)
    {
        const QAction* action = actions.at(i);
        QString caption = action->isEnabled() ? action->text() : "-" + action->text();
        if (action->menu())
            caption += QLatin1Char('/');
        shown << caption;
    }
    return shown;
}

void open(QMenu* menu)
{
    emit menu->aboutToShow();
}

TKoncoGroupMenuItem* item(const QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return qobject_cast<TKoncoGroupMenuItem*>(action);
    return nullptr;
}

// The submenu of folder caption in menu, opened.
QMenu* openFolder(const QMenu* menu, const QString& caption)
{
    TKoncoGroupMenuItem* folder = item(menu, caption);
    if (!folder || !folder->Submenu())
        return nullptr;
    open(folder->Submenu());
    return folder->Submenu();
}
} // namespace

class tst_TVostelGroupMenu : public QObject
{
    Q_OBJECT

private slots:
    void topLevel_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("shown");
        // clang-format off
        QTest::newRow("folders before groups even when a group sorts first") << QStringList{"a.vgp", "z/"} << QStringList{"z/", "a"};
        QTest::newRow("beta before Gamma") << QStringList{"Gamma.vgp", "beta.vgp", "Gamma/", "beta/"} << QStringList{"beta/", "Gamma/", "beta", "Gamma"};
        QTest::newRow("case is no order") << QStringList{"b.vgp", "A.vgp", "c.vgp"} << QStringList{"A", "b", "c"};
        QTest::newRow("& doubled") << QStringList{"A&B/", "C&D.vgp"} << QStringList{"A&&B/", "C&&D"};
        QTest::newRow("other files left out") << QStringList{"notes.txt", "g.vgp.bak", "Upper.VGP", "g.vgp", "vgp"} << QStringList{"g"};
        QTest::newRow("dot-folder left out") << QStringList{".hidden/", ".hidden/x.vgp", "g.vgp"} << QStringList{"g"};
        QTest::newRow("hidden group file left out") << QStringList{".old.vgp", "g.vgp"} << QStringList{"g"};
        QTest::newRow("a folder named like a group is a folder") << QStringList{"x.vgp/"} << QStringList{"x.vgp/"};
        QTest::newRow("one level only") << QStringList{"f/sub/x.vgp", "f/y.vgp"} << QStringList{"f/"};
        QTest::newRow("linked folder listed") << QStringList{"real/", "link->real"} << QStringList{"link/", "real/"};
        QTest::newRow("tab in a name is no shortcut column") << QStringList{"a\tb.vgp"} << QStringList{"a b"};
        QTest::newRow("empty root") << QStringList{} << QStringList{};
        // clang-format on
    }
    void topLevel()
    {
        QFETCH(QStringList, tree);
        QFETCH(QStringList, shown);
        MenuFixture f;
        QVERIFY(QDir().mkpath(f.root));
        QVERIFY(FolderTreeBuilder::make(f.root, tree));
        open(&f.popup);
        QCOMPARE(captions(&f.popup, StaticCount), shown);
        QCOMPARE(captions(&f.popup).mid(0, StaticCount),
                 (QStringList{"Add", "Save", "Organize", ""}));
        QVERIFY(!f.menu->VostelGroupsChanged);
    }

    void ampersandShowsLiterally()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"A&B/", "C&D.vgp"}));
        open(&f.popup);
        // The text the menu draws once mnemonics are taken out.
        QCOMPARE(f.popup.actions().at(StaticCount)->iconText(), "A&B");
        QCOMPARE(f.popup.actions().at(StaticCount + 1)->iconText(), "C&D");
    }

    void missingRootAddsNothing()
    {
        MenuFixture f(QStringLiteral("not there"));
        open(&f.popup);
        QCOMPARE(f.popup.actions().size(), StaticCount);
        QVERIFY(!f.menu->VostelGroupsChanged);
        QVERIFY(!QFileInfo::exists(f.root));
    }

    void folderOpening_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("shown"); // in sub-folder f once opened
        // clang-format off
        QTest::newRow("folders, then groups, sorted") << QStringList{"f/b.vgp", "f/A.vgp", "f/s/", "f/.h/"} << QStringList{"s/", "A", "b"};
        QTest::newRow("empty sub-folder") << QStringList{"f/"} << QStringList{"-" + EmptyText};
        QTest::newRow("sub-folder of other files") << QStringList{"f/readme.txt", "f/.h/x.vgp"} << QStringList{"-" + EmptyText};
        QTest::newRow("only a sub-folder") << QStringList{"f/s/x.vgp"} << QStringList{"s/"};
        QTest::newRow("& doubled") << QStringList{"f/A&B.vgp"} << QStringList{"A&&B"};
        // clang-format on
    }
    void folderOpening()
    {
        QFETCH(QStringList, tree);
        QFETCH(QStringList, shown);
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, tree));
        open(&f.popup);
        TKoncoGroupMenuItem* folder = item(&f.popup, "f");
        QVERIFY(folder);
        QVERIFY(!folder->Loaded);
        QCOMPARE(folder->FolderPath, f.root + "/f/");
        // Until opened, one empty child that only gives the submenu arrow.
        QCOMPARE(captions(folder->Submenu()), QStringList{""});
        QCOMPARE(captions(openFolder(&f.popup, "f")), shown);
        QVERIFY(folder->Loaded);
    }

    void folderFilledOnFirstOpeningOnly()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"f/a.vgp"}));
        open(&f.popup);
        QCOMPARE(captions(openFolder(&f.popup, "f")), QStringList{"a"});
        QVERIFY(FolderTreeBuilder::make(f.root, {"f/b.vgp"}));
        QCOMPARE(captions(openFolder(&f.popup, "f")), QStringList{"a"});
        // Reopening the unchanged top level keeps the loaded folder as it was.
        open(&f.popup);
        QCOMPARE(captions(openFolder(&f.popup, "f")), QStringList{"a"});
        f.menu->MarkChanged();
        open(&f.popup);
        QCOMPARE(captions(openFolder(&f.popup, "f")), (QStringList{"a", "b"}));
    }

    void unchangedMenuNotReread()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"a.vgp"}));
        open(&f.popup);
        QVERIFY(FolderTreeBuilder::make(f.root, {"b.vgp", "c/"}));
        open(&f.popup);
        QCOMPARE(captions(&f.popup, StaticCount), QStringList{"a"});
        f.menu->MarkChanged();
        QVERIFY(f.menu->VostelGroupsChanged);
        open(&f.popup);
        QCOMPARE(captions(&f.popup, StaticCount), (QStringList{"c/", "a", "b"}));
        QVERIFY(!f.menu->VostelGroupsChanged);
    }

    void rebuildReplacesItems()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"f/x.vgp", "a.vgp"}));
        const QList<QAction*> statics = f.popup.actions();
        open(&f.popup);
        QPointer<QAction> oldGroup = item(&f.popup, "a");
        QPointer<QMenu> oldSubmenu = openFolder(&f.popup, "f");
        QVERIFY(oldGroup && oldSubmenu);
        QVERIFY(QFile::remove(f.root + "/a.vgp"));
        f.menu->MarkChanged();
        open(&f.popup);
        QCOMPARE(f.popup.actions().mid(0, StaticCount), statics);
        QCOMPARE(captions(&f.popup, StaticCount), QStringList{"f/"});
        // The old items and their submenus go, not merely leave the menu.
        QTRY_VERIFY(oldGroup.isNull() && oldSubmenu.isNull());
    }

    void groupItemCarriesItsPath()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"News.vgp", "f/Mail.vgp"}));
        QSignalSpy chosen(f.menu.get(), &TVostelGroupMenu::groupChosen);
        open(&f.popup);
        TKoncoGroupMenuItem* news = item(&f.popup, "News");
        QVERIFY(news);
        QCOMPARE(news->statusTip(), f.root + "/News.vgp");
        QVERIFY(!news->icon().isNull());
        QVERIFY(!item(&f.popup, "f")->icon().isNull());
        news->trigger();
        item(openFolder(&f.popup, "f"), "Mail")->trigger();
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(chosen.at(0).at(0).toString(), f.root + "/News.vgp");
        QCOMPARE(chosen.at(1).at(0).toString(), f.root + "/f/Mail.vgp");
    }

    void fileCopiedByAnotherProgramListed_data()
    {
        QTest::addColumn<QString>("target"); // where the other program copies to, in the root
        QTest::addColumn<QString>("folder"); // the sub-folder to open, empty = top level
        // clang-format off
        QTest::newRow("into the root") << "Copied.vgp" << "";
        QTest::newRow("into a loaded sub-folder") << "f/Copied.vgp" << "f";
        // clang-format on
    }
    void fileCopiedByAnotherProgramListed()
    {
        QFETCH(QString, target);
        QFETCH(QString, folder);
        const QString cp = QStandardPaths::findExecutable(QStringLiteral("cp"));
        QVERIFY2(!cp.isEmpty(), "cp is needed to copy as another program");
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"a.vgp", "f/b.vgp"}));
        TFolderMonitor monitor(f.root);
        connect(&monitor, &TFolderMonitor::changed, f.menu.get(), &TVostelGroupMenu::MarkChanged);
        open(&f.popup);
        openFolder(&f.popup, "f");
        const QString source = f.dir.filePath("outside.vgp");
        QVERIFY(FolderTreeBuilder::writeFile(source));
        QCOMPARE(QProcess::execute(cp, {source, f.root + "/" + target}), 0);
        QTRY_VERIFY(f.menu->VostelGroupsChanged);
        open(&f.popup);
        const QMenu* shown = folder.isEmpty() ? &f.popup : openFolder(&f.popup, folder);
        QVERIFY(captions(shown).contains("Copied"));
    }
};

QTEST_MAIN(tst_TVostelGroupMenu)
#include "tst_TVostelGroupMenu.moc"
