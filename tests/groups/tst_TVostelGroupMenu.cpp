#include "ScriptedServices.h"
#include "groups/TVostelGroupMenu.h"

#include <QMenu>
#include <QtTest>

namespace
{
constexpr int StaticCount = 1;

// "f/" makes a folder, anything else an empty file.
bool make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries)
        if (!(entry.endsWith(QLatin1Char('/'))
                  ? QDir(root).mkpath(entry)
                  : QFile(root + '/' + entry).open(QIODevice::WriteOnly)))
            return false;
    return true;
}

// What a user reads once the menu opens: a folder ends in "/", a disabled
// entry starts with "-", accelerator marks are taken out as they are drawn.
QStringList opened(QMenu* menu, int skip = 0)
{
    if (!menu)
        return {QStringLiteral("no such menu")};
    emit menu->aboutToShow();
    QStringList shown;
    for (const QAction* action : menu->actions().mid(skip))
        shown << (action->isEnabled() ? "" : "-") + action->iconText() +
                     (action->menu() ? "/" : "");
    return shown;
}

QMenu* submenu(const QMenu* menu, const QString& caption)
{
    for (const QAction* action : menu->actions())
        if (action->iconText() == caption)
            return action->menu();
    return nullptr;
}

struct MenuFixture
{
    QTemporaryDir dir;
    QString root = dir.path();
    QMenu popup;
    ScriptedServices services;
    TVostelGroupMenu menu{&popup, StaticCount, root, &services};

    MenuFixture()
    {
        popup.addSeparator();
        services.setGlobalText(QStringLiteral("EmptyFolder"), QStringLiteral("Nothing"));
    }
    QStringList open() { return opened(&popup, StaticCount); }
};
} // namespace

class tst_TVostelGroupMenu : public QObject
{
    Q_OBJECT

private slots:
    void listing_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("folder"); // the sub-folder opened; empty for the top level
        QTest::addColumn<QStringList>("shown");
        // clang-format off
        QTest::newRow("folders before groups") << QStringList{"a.vgp", "z/"} << "" << QStringList{"z/", "a"};
        QTest::newRow("beta before Gamma") << QStringList{"Gamma.vgp", "beta.vgp", "Gamma/", "beta/"} << "" << QStringList{"beta/", "Gamma/", "beta", "Gamma"};
        QTest::newRow("& shows literally") << QStringList{"A&B/", "C&D.vgp"} << "" << QStringList{"A&B/", "C&D"};
        QTest::newRow("other files left out") << QStringList{"notes.txt", "g.vgp.bak", "g.vgp"} << "" << QStringList{"g"};
        QTest::newRow("dot-folder left out") << QStringList{".hidden/", ".hidden/x.vgp", "g.vgp"} << "" << QStringList{"g"};
        QTest::newRow("empty sub-folder") << QStringList{"f/"} << "f" << QStringList{"-Nothing"};
        // clang-format on
    }
    void listing()
    {
        QFETCH(QStringList, tree);
        QFETCH(QString, folder);
        MenuFixture f;
        QVERIFY(make(f.root, tree));
        const QStringList top = f.open();
        QTEST(folder.isEmpty() ? top : opened(submenu(&f.popup, folder)), "shown");
    }

    void readOnlyWhenNeeded()
    {
        MenuFixture f;
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
        MenuFixture f;
        QVERIFY(make(f.root, {"News.vgp"}));
        QSignalSpy chosen(&f.menu, &TVostelGroupMenu::groupChosen);
        f.open();
        // The separator when the group is missing, which chooses nothing.
        f.popup.actions().constLast()->trigger();
        QCOMPARE(QList<QVariantList>(chosen),
                 QList<QVariantList>{QVariantList{f.root + "/News.vgp"}});
    }
};

QTEST_MAIN(tst_TVostelGroupMenu)
#include "tst_TVostelGroupMenu.moc"
