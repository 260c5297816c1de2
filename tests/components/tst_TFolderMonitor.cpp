#include "components/TFolderMonitor.h"

#include <QtTest>

namespace
{
// "n/" makes a folder, anything else an empty file.
bool make(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? QDir().mkpath(path)
                                           : QFile(path).open(QIODevice::WriteOnly);
}
} // namespace

class tst_TFolderMonitor : public QObject
{
    Q_OBJECT

private slots:
    void reportsChange()
    {
        // Each made in turn, each reported once: a file in the root, two
        // folders down, in a new sub-folder.
        const QList<QStringList> cases = {{"x.vgp"}, {"a/b/x.vgp"}, {"n/", "n/x.vgp"}};
        for (const QStringList& steps : cases)
        {
            QTemporaryDir dir;
            QVERIFY(make(dir.filePath("a/b/")));
            TFolderMonitor monitor(dir.path());
            QSignalSpy changed(&monitor, &TFolderMonitor::changed);
            for (qsizetype i = 0; i < steps.size(); ++i)
            {
                QVERIFY(make(dir.filePath(steps.at(i))));
                QTRY_COMPARE(changed.size(), i + 1);
            }
        }
    }

    void switchedOffReportsNothing()
    {
        QTemporaryDir dir;
        TFolderMonitor monitor(dir.path());
        // A second monitor on the same tree shows when a change has had time
        // to be reported; two of its ticks outlast any report of the first.
        TFolderMonitor clock(dir.path());
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QSignalSpy ticks(&clock, &TFolderMonitor::changed);
        monitor.setActive(false);
        QVERIFY(make(dir.filePath("off.vgp")));
        QTRY_COMPARE(ticks.size(), 1);
        QVERIFY(make(dir.filePath("off2.vgp")));
        QTRY_COMPARE(ticks.size(), 2);
        QCOMPARE(changed.size(), 0);
    }

    void missingRootWatchedOnceMade()
    {
        QTemporaryDir dir;
        const QString root = dir.filePath("VostelGroups");
        TFolderMonitor monitor(root);
        QVERIFY(make(root + "/"));
        // Switching on again looks for the folder anew.
        monitor.setActive(false);
        monitor.setActive(true);
        QSignalSpy changed(&monitor, &TFolderMonitor::changed);
        QVERIFY(make(root + "/x.vgp"));
        QTRY_COMPARE(changed.size(), 1);
    }
};

QTEST_MAIN(tst_TFolderMonitor)
#include "tst_TFolderMonitor.moc"
