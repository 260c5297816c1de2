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

namespace
{
constexpr int StaticCount = 4;

// The drop-down as the window holds it: three commands and a separator, then
// the generated entries.
struct MenuFixture
{
    QTemporaryDir dir;
    QString root = dir.filePath(QStringLiteral("VostelGroups"));
    QMenu popup;
    ScriptedServices services;
    TVostelGroupMenu menu{&popup, StaticCount, root, &services};

    MenuFixture()
    {
        for (const char* text : {"Add", "Save", "Organize"})
            popup.addAction(QString::fromLatin1(text));
        popup.addSeparator();
        services.setGlobalText(QStringLiteral("EmptyFolder"), QStringLiteral("Nothing"));
    }
    QStringList open() { return opened(&popup).mid(StaticCount); }

    // What a user reads once menu opens, as drawn (accelerator marks taken
    // out): a folder ends in "/", a disabled entry starts with "-".
    static QStringList opened(QMenu* menu)
    {
        QStringList shown;
        if (!menu)
            return {"no such menu"};
        emit menu->aboutToShow();
        for (const QAction* action : menu->actions())
            shown << (action->isEnabled() ? "" : "-") + action->iconText() +
                         (action->menu() ? "/" : "");
        return shown;
    }
};

TKoncoGroupMenuItem* item(const QMenu* menu, const QString& caption)
{
    for (QAction* action : menu->actions())
        if (action->iconText() == caption)
            return qobject_cast<TKoncoGroupMenuItem*>(action);
    return nullptr;
}

QMenu* submenu(const QMenu* menu, const QString& caption)
{
    TKoncoGroupMenuItem* folder = item(menu, caption);
    return folder ? folder->Submenu() : nullptr;
}
} // namespace

class tst_TVostelGroupMenu : public QObject
{
    Q_OBJECT

private slots:
    void listing_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("folder"); // sub-folder opened, empty = the top level
        QTest::addColumn<QStringList>("shown");
        // clang-format off
        QTest::newRow("folders before groups even when a group sorts first") << QStringList{"a.vgp", "z/"} << "" << QStringList{"z/", "a"};
        QTest::newRow("beta before Gamma") << QStringList{"Gamma.vgp", "beta.vgp", "Gamma/", "beta/"} << "" << QStringList{"beta/", "Gamma/", "beta", "Gamma"};
        QTest::newRow("& shows literally") << QStringList{"A&B/", "C&D.vgp"} << "" << QStringList{"A&B/", "C&D"};
        QTest::newRow("other files left out") << QStringList{"notes.txt", "g.vgp.bak", "Upper.VGP", "g.vgp", "vgp"} << "" << QStringList{"g"};
        QTest::newRow("dot-folder and hidden file left out") << QStringList{".hidden/", ".hidden/x.vgp", ".old.vgp", "g.vgp"} << "" << QStringList{"g"};
        QTest::newRow("folder named like a group") << QStringList{"x.vgp/"} << "" << QStringList{"x.vgp/"};
        QTest::newRow("one level only") << QStringList{"f/sub/x.vgp", "f/y.vgp"} << "" << QStringList{"f/"};
        QTest::newRow("tab in a name is no shortcut") << QStringList{"a\tb.vgp"} << "" << QStringList{"a b"};
        QTest::newRow("empty root") << QStringList{} << "" << QStringList{};
        QTest::newRow("sub-folder sorted the same") << QStringList{"f/b.vgp", "f/A.vgp", "f/s/x.vgp", "f/.h/"} << "f" << QStringList{"s/", "A", "b"};
        QTest::newRow("empty sub-folder") << QStringList{"f/"} << "f" << QStringList{"-Nothing"};
        QTest::newRow("sub-folder of other files") << QStringList{"f/readme.txt"} << "f" << QStringList{"-Nothing"};
        QTest::newRow("sub-folder through a link") << QStringList{"real/g.vgp", "f->real"} << "f" << QStringList{"g"};
        // clang-format on
    }
    void listing()
    {
        QFETCH(QStringList, tree);
        QFETCH(QString, folder);
        QFETCH(QStringList, shown);
        MenuFixture f;
        QVERIFY(QDir().mkpath(f.root) && FolderTreeBuilder::make(f.root, tree));
        const QStringList top = f.open();
        QCOMPARE(folder.isEmpty() ? top : MenuFixture::opened(submenu(&f.popup, folder)), shown);
    }

    void missingRootAddsNothing()
    {
        MenuFixture f;
        QCOMPARE(f.open(), QStringList{});
        QVERIFY(!f.menu.VostelGroupsChanged);
    }

    void folderFilledOnFirstOpeningOnly()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"f/a.vgp"}));
        f.open();
        TKoncoGroupMenuItem* folder = item(&f.popup, "f");
        // Before its first opening only an empty child, for the submenu arrow.
        QCOMPARE(folder->Submenu()->actions().size(), 1);
        QVERIFY(!folder->Loaded);
        QCOMPARE(MenuFixture::opened(folder->Submenu()), QStringList{"a"});
        QVERIFY(folder->Loaded);
        QVERIFY(FolderTreeBuilder::make(f.root, {"f/b.vgp"}));
        QCOMPARE(MenuFixture::opened(folder->Submenu()), QStringList{"a"});
        f.open();
        QCOMPARE(MenuFixture::opened(submenu(&f.popup, "f")), QStringList{"a"});
        f.menu.MarkChanged();
        f.open();
        QCOMPARE(MenuFixture::opened(submenu(&f.popup, "f")), (QStringList{"a", "b"}));
    }

    void unchangedMenuNotReread()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"a.vgp"}));
        f.open();
        const QPointer<QAction> old = item(&f.popup, "a");
        QVERIFY(FolderTreeBuilder::make(f.root, {"b.vgp", "c/"}));
        QCOMPARE(f.open(), QStringList{"a"});
        f.menu.MarkChanged();
        QCOMPARE(f.open(), (QStringList{"c/", "a", "b"}));
        QVERIFY(!f.menu.VostelGroupsChanged);
        QCOMPARE(MenuFixture::opened(&f.popup).mid(0, 3), (QStringList{"Add", "Save", "Organize"}));
        // The replaced items go, not merely leave the menu.
        QTRY_VERIFY(old.isNull());
    }

    void groupItemCarriesItsPath()
    {
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"News.vgp", "f/Mail.vgp"}));
        QSignalSpy chosen(&f.menu, &TVostelGroupMenu::groupChosen);
        f.open();
        QCOMPARE(item(&f.popup, "News")->statusTip(), f.root + "/News.vgp");
        QVERIFY(!item(&f.popup, "News")->icon().isNull() && !item(&f.popup, "f")->icon().isNull());
        item(&f.popup, "News")->trigger();
        MenuFixture::opened(submenu(&f.popup, "f"));
        item(submenu(&f.popup, "f"), "Mail")->trigger();
        QCOMPARE(QList<QVariantList>(chosen),
                 (QList<QVariantList>{{f.root + "/News.vgp"}, {f.root + "/f/Mail.vgp"}}));
    }

    void fileCopiedByAnotherProgramListed()
    {
        const QString cp = QStandardPaths::findExecutable(QStringLiteral("cp"));
        QVERIFY2(!cp.isEmpty(), "cp is needed to copy as another program");
        MenuFixture f;
        QVERIFY(FolderTreeBuilder::make(f.root, {"a.vgp"}));
        TFolderMonitor monitor(f.root);
        connect(&monitor, &TFolderMonitor::changed, &f.menu, &TVostelGroupMenu::MarkChanged);
        QCOMPARE(f.open(), QStringList{"a"});
        const QString source = f.dir.filePath("outside.vgp");
        QVERIFY(FolderTreeBuilder::writeFile(source));
        QCOMPARE(QProcess::execute(cp, {source, f.root + "/Copied.vgp"}), 0);
        QTRY_VERIFY(f.menu.VostelGroupsChanged);
        QCOMPARE(f.open(), (QStringList{"a", "Copied"}));
    }
};

QTEST_MAIN(tst_TVostelGroupMenu)
#include "tst_TVostelGroupMenu.moc"
