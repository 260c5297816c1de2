// The add and organize dialogs and the side bar's groups tree on real
// folders, through their widgets and handlers; the services answer every
// question, so nothing waits for a user.

#include "ScriptedServices.h"
#include "components/TShellTree.h"
#include "groups/FavoritesFolderTree.h"
#include "groups/InternetShortcut.h"
#include "groups/TKoncoBar.h"
#include "groups/TfrmAddFavorite.h"
#include "groups/TfrmOrganizeFavorites.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList tree(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QFileInfo info(it.next());
        found << QDir(root).relativeFilePath(info.filePath()) + (info.isDir() ? "/" : "");
    }
    found.sort();
    return found;
}

// The side bar on a groups folder holding "taken.vgp" and the given group.
struct KoncoFixture
{
    QTemporaryDir dir;
    ScriptedServices services;
    TKoncoBar bar{&services, dir.path()};
    QSignalSpy changed{&bar, &TKoncoBar::groupsChanged};

    explicit KoncoFixture(const QString& group)
    {
        services.setGlobalText("RenameVostelGroup", "Rename");
        for (const QString& name : QStringList{group, "taken.vgp"})
        {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[VostelGroup]\n"));
        }
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
};
} // namespace

class tst_TfrmOrganizeFavorites : public QObject
{
    Q_OBJECT

    QTemporaryDir m_data;

private slots:
    // Deleted entries go to a trash of the test's own, on the same disk.
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path())); }

    void operations()
    {
        // The entry selected, the operation, the name typed or the folder
        // moved to, the answer to the question, the entries of the tree that
        // came and went, the errors told.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, bool, QString, QString, int>> rows = {
            {"Top.url", "rename", "Tip / Top", true, "Tip - Top.url", "Top.url", 0},
            {"News", "rename", "Daily", true, "Daily/,Daily/Deep/,Daily/Old.url", "News/,News/Deep/,News/Old.url", 0},
            {"Top.url", "rename", "Old", true, "", "", 1}, // the name is taken
            {"Top.url", "move", "News/Deep", true, "News/Deep/Top.url", "Top.url", 0},
            {"News/Old.url", "move", "", true, "Old (2).url", "News/Old.url", 0}, // the name is taken
            {"News", "move", "News/Deep", true, "", "", 1}, // a folder into itself
            {"News", "delete", "", true, "", "News/,News/Deep/,News/Old.url", 0},
            {"Top.url", "delete", "", false, "", "", 0},
            {"News/Old.url", "folder", "A/B", true, "News/A-B/", "", 0}, // in the selected folder
        };
        // clang-format on
        for (const auto& [select, operation, answer, confirm, added, removed, errors] : rows)
        {
            QTemporaryDir favorites;
            const QString root = favorites.path();
            QVERIFY(QDir(root).mkpath("News/Deep"));
            for (const char* name : {"Top", "Old"})
                InternetShortcut::write(root, name, "http://top/");
            InternetShortcut::write(root + "/News", "Old", "http://old/");
            const QStringList before = tree(root);
            ScriptedServices services;
            services.inputAnswer = answer;
            services.confirmAnswer = {confirm, false};
            TfrmOrganizeFavorites dialog(root, &services);
            QVERIFY(dialog.shFavorites->selectPath(root + '/' + select));
            QVERIFY(dialog.cmdRename->isEnabled());
            if (operation == "rename")
                dialog.cmdRenameClick();
            else if (operation == "move")
                dialog.MoveSelectedTo(QDir(root).filePath(answer));
            else if (operation == "delete")
                dialog.cmdDeleteClick();
            else
                dialog.cmdNewFolderClick();
            QCOMPARE(int(services.errors.size()), errors);
            // One question only: the trash took the entry, nothing asked to delete it for good.
            QCOMPARE(services.confirmCalls.size(), operation == "delete" ? 1 : 0);
            const QStringList after = tree(root);
            const auto missing = [](const QStringList& from, const QStringList& in)
            {
                QStringList left;
                for (const QString& entry : from)
                    if (!in.contains(entry))
                        left << entry;
                return left.join(',');
            };
            QCOMPARE(missing(after, before), added);
            QCOMPARE(missing(before, after), removed);
            // The tree shows the result selected.
            if (!added.isEmpty())
                QCOMPARE(dialog.shFavorites->selectedPath(),
                         QDir::cleanPath(root + '/' + added.section(',', 0, 0)));
        }
    }

    void writesOneShortcut()
    {
        // The folder selected before OK ("" none), the name typed, the name
        // typed into New Folder ("-" for no click, "" cancelled), the files.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, QStringList>> rows = {
            {"", "", "-", {"News/", "News/Old.url", "Page - Title.url"}},
            {"News", "Mine", "-", {"News/", "News/Mine.url", "News/Old.url"}},
            {"News", "", "Fresh/", {"News/", "News/Fresh-/", "News/Fresh-/Page - Title.url", "News/Old.url"}}, // in the selected one
            {"", "", "", {"News/", "News/Old.url", "Page - Title.url"}},
        };
        // clang-format on
        for (const auto& [folder, name, newFolder, expected] : rows)
        {
            QTemporaryDir favorites;
            QVERIFY(QDir(favorites.path()).mkpath("News"));
            InternetShortcut::write(favorites.filePath("News"), "Old", "http://old/");
            ScriptedServices services;
            services.inputAccepted = !newFolder.isEmpty();
            services.inputAnswer = newFolder;
            TfrmAddFavorite dialog(favorites.path(), "Page / Title", "http://a.test/", &services);
            QVERIFY(folder.isEmpty() || dialog.shFolders->selectPath(favorites.filePath(folder)));
            if (!name.isEmpty())
                dialog.edtName->setText(name);
            if (newFolder != "-")
                dialog.cmdNewFolderClick();
            dialog.cmdOkClick();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(tree(favorites.path()), expected);
            QCOMPARE(InternetShortcut::readUrl(dialog.WrittenFile()), QString("http://a.test/"));
            QVERIFY(services.errors.isEmpty());
        }
    }

    void failedWriteKeepsTheDialogOpen()
    {
        QTemporaryDir favorites;
        QVERIFY(QDir(favorites.path()).mkpath("Gone"));
        ScriptedServices services;
        TfrmAddFavorite dialog(favorites.path(), "Title", "http://a.test/", &services);
        QVERIFY(dialog.shFolders->selectPath(favorites.filePath("Gone")));
        QVERIFY(QDir(favorites.filePath("Gone")).removeRecursively());
        dialog.cmdOkClick();
        QCOMPARE(services.errors.size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(tree(favorites.path()).isEmpty());
    }

    void groupRenameKeepsTheSuffix()
    {
        // The group, the dialog accepted, the name typed, the files after.
        // clang-format off
        const QList<std::tuple<QString, bool, QString, QStringList>> rows = {
            {"a.vgp", true, "b", {"b.vgp", "taken.vgp"}},
            {"A.VGP", true, "c", {"c.VGP", "taken.vgp"}}, // the suffix's own case
            {"a.vgp", true, "taken", {"a.vgp", "taken.vgp"}},
            {"a.vgp", true, "", {"a.vgp", "taken.vgp"}},
            {"a.vgp", false, "b", {"a.vgp", "taken.vgp"}},
            {"a.vgp", true, "../b", {"a.vgp", "taken.vgp"}}, // into another folder
        };
        // clang-format on
        for (const auto& [file, accepted, answer, after] : rows)
        {
            KoncoFixture f(file);
            f.services.inputAccepted = accepted;
            f.services.inputAnswer = answer;
            f.bar.VostelGroupsTreeNode = f.path(file);
            f.bar.pmVGRenameClick();
            QCOMPARE(f.services.inputQueries.size(), 1);
            const ScriptedServices::InputCall asked = f.services.inputQueries.first();
            QCOMPARE(asked.caption + '|' + asked.prompt + '|' + asked.proposed,
                     "Rename|Rename|" + file.left(1));
            QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), after);
            QCOMPARE(f.changed.count(), after.contains(file) ? 0 : 1);
        }
    }

    void groupsOpenAndGoToTheTrash()
    {
        KoncoFixture f("G.VGP");
        QDir().mkpath(f.path("sub.vgp"));
        // The tree is filled when the bar first shows, and only then.
        QVERIFY(f.bar.shVostelGroups->root().isEmpty());
        f.bar.show();
        QCOMPARE(f.bar.shVostelGroups->root(), QDir::cleanPath(f.dir.path()));
        const QAbstractItemModel* filled = f.bar.shVostelGroups->model();
        f.bar.pcKoncoBarChange();
        QCOMPARE(f.bar.shVostelGroups->model(), filled);
        QSignalSpy open(&f.bar, &TKoncoBar::openGroupRequested);
        // A folder is never a group, whatever its name.
        for (const QString name : {"sub.vgp", "G.VGP"})
        {
            f.bar.shVostelGroupsDblClick(f.bar.shVostelGroups->nodeOf(f.path(name)));
            f.bar.VostelGroupsTreeNode = f.path(name);
            f.bar.pmVGOpenClick();
        }
        QCOMPARE(open.count(), 2);
        QCOMPARE(open.value(1).value(0).toString(), f.path("G.VGP"));

        f.bar.pmVGDeleteClick();
        QVERIFY(QFileInfo::exists(m_data.filePath("Trash/files/G.VGP")));
        QCOMPARE(f.changed.count(), 1);
    }
};

QTEST_MAIN(tst_TfrmOrganizeFavorites)
#include "tst_TfrmOrganizeFavorites.moc"
