#include "components/TFolderMonitor.h"
#include "components/TShellTree.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace
{
// Makes each entry under root: a name ending in "/" is a folder.
void make(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries)
    {
        const QString path = QDir(root).filePath(entry);
        QDir().mkpath(entry.endsWith(u'/') ? path : QFileInfo(path).path());
        if (QFile file(path); !entry.endsWith(u'/') && file.open(QIODevice::WriteOnly))
            file.write("x");
    }
}

// "n/" makes a folder, anything else an empty file.
bool touch(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? QDir().mkpath(path)
                                           : QFile(path).open(QIODevice::WriteOnly);
}
} // namespace

// The folder tree, and the monitor that tells of changes below a folder.
class tst_TShellTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The trash of this test only, where trashed items can be looked for.
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_tree = std::make_unique<TShellTree>();
        m_tree->setRoot(m_dir->path());
    }

    void newFolderTakesAFreeName()
    {
        // Entries there, the entry selected, the folder made.
        // clang-format off
        const QList<std::tuple<QStringList, QString, QString>> rows = {
            {{}, "", "New Folder"},
            {{"New Folder/"}, "", "New Folder (2)"},
            {{"New Folder/", "New Folder (2)/"}, "", "New Folder (3)"},
            {{"New Folder"}, "", "New Folder (2)"}, // a file has the name
            {{"sub/"}, "sub", "sub/New Folder"},
            {{"sub/g.vgp"}, "sub/g.vgp", "sub/New Folder"}};
        // clang-format on
        for (const auto& [existing, selected, expected] : rows)
        {
            init();
            make(m_dir->path(), existing);
            if (!selected.isEmpty())
                m_tree->setCurrentIndex(m_tree->nodeOf(path(selected)));
            QCOMPARE(m_tree->createFolder("New Folder"), path(expected));
            QVERIFY(QFileInfo(path(expected)).isDir());
        }
    }

    void renamesFoldersInPlaceOnly()
    {
        make(m_dir->path(), {"old/", "g.vgp"});
        m_tree->show();
        // A folder still being read would take the editor away with its rows.
        QTRY_COMPARE(m_tree->model()->rowCount(m_tree->rootIndex()), 2);
        QVERIFY(!m_tree->startRename(m_tree->nodeOf(path("g.vgp"))));
        QSignalSpy renamed(m_tree.get(), &TShellTree::nodeRenamed);
        QVERIFY(m_tree->startRename(m_tree->nodeOf(path("old"))));
        auto* editor = m_tree->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("new");
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over once the key has been dealt with.
        QTRY_VERIFY(QFileInfo(path("new")).isDir());
        QCOMPARE(renamed.value(0), (QVariantList{path("old"), path("new")}));
    }

    void deleteGoesToTheTrashOrNowhere()
    {
        make(m_dir->path(), {"g.vgp", "sub/inner.vgp", "gone.vgp"});
        const QModelIndex gone = m_tree->nodeOf(path("gone.vgp"));
        QFile::remove(path("gone.vgp"));
        for (const QString name : {"g.vgp", "sub"})
        {
            QVERIFY(m_tree->deleteNode(m_tree->nodeOf(path(name))));
            QVERIFY(!QFileInfo::exists(path(name)));
            QVERIFY(QFileInfo::exists(m_data.filePath("Trash/files/" + name)));
        }
        QSignalSpy failed(m_tree.get(), &TShellTree::operationFailed);
        QVERIFY(!m_tree->deleteNode(gone));
        QCOMPARE(failed.count(), 1);
        // The root is never the tree's to delete.
        QVERIFY(!m_tree->deleteNode(m_tree->nodeOf(m_dir->path())));
        QVERIFY(QFileInfo(m_dir->path()).isDir());
    }

    void autoExpandKeepsOneBranchOpen()
    {
        make(m_dir->path(), {"a/x/", "b/y/"});
        m_tree->show();
        const QModelIndex a = m_tree->nodeOf(path("a"));
        const QModelIndex b = m_tree->nodeOf(path("b"));
        for (const bool autoExpand : {false, true})
        {
            m_tree->setAutoExpand(autoExpand);
            m_tree->expand(a);
            m_tree->expand(b);
            QCOMPARE(m_tree->isExpanded(a), !autoExpand);
            QVERIFY(m_tree->isExpanded(b));
            m_tree->collapseAll();
        }
    }

    void dropsCopyOrMoveWithoutReplacing()
    {
        // Source, target folder, moved, items arrived, source kept.
        // clang-format off
        const QList<std::tuple<QString, QString, bool, int, bool>> rows = {
            {"out/g.vgp", "in", false, 1, true},  // copy a file
            {"out/g.vgp", "in", true, 1, false},  // move a file
            {"out/", "in", true, 1, false},       // move a folder
            {"out/t.vgp", "in", true, 0, true},   // the name is taken
            {"out/", "out/d", true, 0, true},     // a folder into itself
            {"out/g.vgp", "out", true, 0, true}}; // where it already is
        // clang-format on
        for (const auto& [source, folder, move, arrived, sourceKept] : rows)
        {
            init();
            make(m_dir->path(), {"out/g.vgp", "out/t.vgp", "out/d/", "in/t.vgp"});
            const QString from = path(source);
            QSignalSpy dropped(m_tree.get(), &TShellTree::filesDropped);
            QCOMPARE(m_tree->dropFiles({QUrl::fromLocalFile(from)}, path(folder),
                                       move ? Qt::MoveAction : Qt::CopyAction),
                     arrived);
            QCOMPARE(QFileInfo::exists(from), sourceKept);
            QCOMPARE(dropped.count(), arrived);
            if (arrived)
                QVERIFY(QFileInfo::exists(QDir(path(folder)).filePath(QFileInfo(from).fileName())));
        }
    }

    void monitorReportsChange()
    {
        // Each made in turn, each reported once: a file in the root, two
        // folders down, in a new sub-folder.
        const QList<QStringList> cases = {{"x.vgp"}, {"a/b/x.vgp"}, {"n/", "n/x.vgp"}};
        for (const QStringList& steps : cases)
        {
            QTemporaryDir dir;
            QVERIFY(touch(dir.filePath("a/b/")));
            TFolderMonitor monitor(dir.path());
            QSignalSpy changed(&monitor, &TFolderMonitor::changed);
            for (qsizetype i = 0; i < steps.size(); ++i)
            {
                QVERIFY(touch(dir.filePath(steps.at(i))));
                QTRY_COMPARE(changed.size(), i + 1);
            }
        }
    }

    void monitorSwitchedOffReportsNothing()
    {
        QTemporaryDir dir;
        TFolderMonitor monitor(dir.path());
        // A second monitor on the same tree shows when a change has had time
        // to be reported; two of its ticks outlast any report of the first.
        TFolderMonitor clock(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QSignalSpy ticks(&clock, &TFolderMonitor::changed);
        monitor.setActive(false);
        QVERIFY(touch(dir.filePath("off.vgp")));
        QTRY_COMPARE(ticks.size(), 1);
        QVERIFY(touch(dir.filePath("off2.vgp")));
        QTRY_COMPARE(ticks.size(), 2);
        QCOMPARE(changed.size(), 0);
    }

    void monitorWatchesAMissingRootOnceMade()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath("VostelGroups");
        TFolderMonitor monitor(root);
        QVERIFY(touch(root + "/"));
        // Switching on again looks for the folder anew.
        monitor.setActive(false);
        monitor.setActive(true);
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QVERIFY(touch(root + "/x.vgp"));
        QTRY_COMPARE(changed.size(), 1);
    }

private:
    QString path(const QString& relative) const
    {
        return QDir::cleanPath(QDir(m_dir->path()).filePath(relative));
    }

    QTemporaryDir m_data;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TShellTree> m_tree;
};

QTEST_MAIN(tst_TShellTree)
#include "tst_TShellTree.moc"
