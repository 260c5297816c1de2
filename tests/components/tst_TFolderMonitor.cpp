#include "FolderTreeBuilder.h"
#include "components/TFolderMonitor.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// The watched folders relative to root ("" for root itself).
QStringList relative(const QString& root, const QStringList& folders)
{
    QStringList names;
    const QDir dir(root);
    for (const QString& folder : folders)
    {
        const QString name = dir.relativeFilePath(folder);
        names << (name == QLatin1String(".") ? QString() : name);
    }
    return names;
}

// A change made the way a person or another program would: "mkdir a",
// "write a/x.vgp", "remove a/x.vgp", "rename a/x.vgp a/y.vgp".
bool apply(const QString& root, const QString& change)
{
    const QStringList words = change.split(QLatin1Char(' '));
    const QDir dir(root);
    const QString verb = words.value(0);
    const QString path = dir.filePath(words.value(1));
    if (verb == QLatin1String("mkdir"))
        return dir.mkpath(words.value(1));
    if (verb == QLatin1String("write"))
        return FolderTreeBuilder::writeFile(path);
    if (verb == QLatin1String("remove"))
        return QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
    if (verb == QLatin1String("rename"))
        return QFile::rename(path, dir.filePath(words.value(2)));
    return false;
}
} // namespace

class tst_TFolderMonitor : public QObject
{
    Q_OBJECT

private slots:
    void watchedTree_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QStringList>("watched");
        // clang-format off
        QTest::newRow("root and every sub-folder") << QStringList{"a/", "a/b/", "c/", "x.vgp"} << QStringList{"", "a", "a/b", "c"};
        QTest::newRow("hidden folders left out") << QStringList{".h/", ".h/x/", "a/"} << QStringList{"", "a"};
        QTest::newRow("linked folder left out") << QStringList{"a/", "a/up->."} << QStringList{"", "a"};
        // clang-format on
    }
    void watchedTree()
    {
        QFETCH(QStringList, tree);
        QFETCH(QStringList, watched);
        QTemporaryDir dir;
        QVERIFY(FolderTreeBuilder::make(dir.path(), tree));
        TFolderMonitor monitor(dir.path());
        QVERIFY(monitor.isActive());
        QCOMPARE(relative(dir.path(), monitor.watchedFolders()), watched);
    }

    void missingRootWatchesNothing()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath("VostelGroups");
        TFolderMonitor monitor(root);
        QVERIFY(monitor.watchedFolders().isEmpty());
        // Switching on again looks for the folder anew.
        QVERIFY(QDir().mkpath(root + "/a"));
        monitor.setActive(false);
        monitor.setActive(true);
        QCOMPARE(relative(root, monitor.watchedFolders()), (QStringList{"", "a"}));
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QVERIFY(QDir(root).removeRecursively());
        QTRY_VERIFY(!changed.isEmpty());
        QTRY_VERIFY(monitor.watchedFolders().isEmpty());
    }

    void reportsChange_data()
    {
        QTest::addColumn<QString>("change");
        // clang-format off
        QTest::newRow("group written in the root") << "write new.vgp";
        QTest::newRow("group written two folders down") << "write a/b/new.vgp";
        QTest::newRow("group removed") << "remove a/old.vgp";
        QTest::newRow("group renamed") << "rename a/old.vgp a/renamed.vgp";
        QTest::newRow("folder made") << "mkdir a/b/c";
        QTest::newRow("folder removed") << "remove a/b";
        QTest::newRow("other file written") << "write a/notes.txt";
        // clang-format on
    }
    void reportsChange()
    {
        QFETCH(QString, change);
        QTemporaryDir dir;
        QVERIFY(FolderTreeBuilder::make(dir.path(), {"a/old.vgp", "a/b/"}));
        TFolderMonitor monitor(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QVERIFY(apply(dir.path(), change));
        QTRY_COMPARE(changed.size(), 1);
    }

    void newSubFolderWatched()
    {
        QTemporaryDir dir;
        TFolderMonitor monitor(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QVERIFY(apply(dir.path(), "mkdir n"));
        QTRY_COMPARE(changed.size(), 1);
        QVERIFY(relative(dir.path(), monitor.watchedFolders()).contains("n"));
        QVERIFY(apply(dir.path(), "write n/x.vgp"));
        QTRY_COMPARE(changed.size(), 2);
        QVERIFY(apply(dir.path(), "remove n"));
        QTRY_COMPARE(changed.size(), 3);
        QCOMPARE(relative(dir.path(), monitor.watchedFolders()), QStringList{""});
    }

    void burstGivesOneSignal()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 10; ++i)
            QVERIFY(apply(dir.path(), QStringLiteral("mkdir f%1").arg(i)));
        TFolderMonitor monitor(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        // Spread over folders, as an update of many groups is.
        for (int i = 0; i < 20; ++i)
            QVERIFY(apply(dir.path(), QStringLiteral("write f%1/g%2.vgp").arg(i % 10).arg(i)));
        QTRY_COMPARE(changed.size(), 1);
        // Had the burst given more than one signal, they would all have come
        // before the one for this later change.
        QVERIFY(apply(dir.path(), "write last.vgp"));
        QTRY_COMPARE(changed.size(), 2);
    }

    void switchedOffReportsNothing()
    {
        QTemporaryDir dir;
        QVERIFY(FolderTreeBuilder::make(dir.path(), {"a/"}));
        TFolderMonitor monitor(dir.path());
        // A second monitor on the same tree shows when a change has had time
        // to be reported.
        TFolderMonitor clock(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QSignalSpy ticks(&clock, &TFolderMonitor::changed);
        monitor.setActive(false);
        QVERIFY(monitor.watchedFolders().isEmpty());
        QVERIFY(apply(dir.path(), "write a/while-off.vgp"));
        QTRY_COMPARE(ticks.size(), 1);
        monitor.setActive(true);
        QCOMPARE(relative(dir.path(), monitor.watchedFolders()), (QStringList{"", "a"}));
        QVERIFY(apply(dir.path(), "write a/while-on.vgp"));
        QTRY_COMPARE(ticks.size(), 2);
        QTRY_COMPARE(changed.size(), 1);
    }
};

QTEST_MAIN(tst_TFolderMonitor)
#include "tst_TFolderMonitor.moc"
