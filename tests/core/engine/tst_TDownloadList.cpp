#include "core/engine/TDownloadList.h"
#include "core/engine/TDownloadManager.h"

#include <QSignalSpy>
#include <QTest>

class tst_TDownloadList : public QObject
{
    Q_OBJECT

private slots:
    void rowsDescribeTheFile()
    {
        TDownloadList list;
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        QCOMPARE(list.add("/home/u/Downloads/a.zip", 1000, [] {}), 0);
        QCOMPARE(list.add("/tmp/b.iso", -1, {}), 1);
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(list.fileName(0), QString("a.zip"));
        QCOMPARE(list.folder(0), QString("/home/u/Downloads"));
        QCOMPARE(list.fileName(5), QString());
        list.setProgress(0, 40, 1000);
        list.setProgress(7, 1, 2); // no such row
        // What the window shows is what the list says.
        const QModelIndex first = list.index(0);
        QCOMPARE(first.data(Qt::DisplayRole).toString(), QString("a.zip"));
        QCOMPARE(first.data(TDownloadList::PathRole).toString(), list.item(0).path);
        QCOMPARE(first.data(TDownloadList::StateRole).toInt(), int(TDownloadList::Running));
        QCOMPARE(first.data(TDownloadList::CanCancelRole).toBool(), true);
        QCOMPARE(first.data(TDownloadList::CanOpenFolderRole).toBool(), false);
        QCOMPARE(list.index(1).data(TDownloadList::CanCancelRole).toBool(), false);
        QCOMPARE(first.data(TDownloadList::PercentRole).toInt(), 4);
        QCOMPARE(list.percent(1), -1); // size unknown
        list.setProgress(0, 3000, 1000);
        QCOMPARE(list.percent(0), 100);
    }

    // A running download is stopped once; an ended one ignores late reports.
    void cancelOnceAndIgnoreLateReports()
    {
        TDownloadList list;
        int stops = 0;
        list.add("/data/file.pdf", -1, [&] { ++stops; });
        list.add("/tmp/f", 100, [] {});
        list.add("/tmp/g", 100,
                 [&]
                 {
                     ++stops;
                     list.setState(2, TDownloadList::Cancelled); // the engine may answer at once
                 });
        QVERIFY(list.cancel(2) && !list.cancel(2));
        QCOMPARE(list.item(2).state, TDownloadList::Cancelled);
        QVERIFY(!list.canOpenFolder(2));
        QCOMPARE(stops, 1);
        list.setProgress(0, 5000, -1);
        list.setState(0, TDownloadList::Finished);
        list.setState(1, TDownloadList::Interrupted, "Network disconnected");
        QVERIFY(list.canOpenFolder(0) && !list.canOpenFolder(1));
        QVERIFY(!list.cancel(0) && !list.cancel(1));
        QCOMPARE(stops, 1);
        // A size never announced is what arrived.
        QCOMPARE(list.percent(0), 100);
        QCOMPARE(list.item(1).reason, QString("Network disconnected"));

        list.setProgress(0, 3, 100);
        list.setState(0, TDownloadList::Interrupted, "late");
        QCOMPARE(list.item(0).state, TDownloadList::Finished);
        QCOMPARE(list.item(0).received, 5000);
        QVERIFY(list.item(0).reason.isEmpty());
    }

    // A name from the server never leads the file out of the folder.
    void suggestedPath()
    {
        QCOMPARE(TDownloadManager::suggestedPath("/dl", "../../.bashrc"), "/dl/.bashrc");
        QCOMPARE(TDownloadManager::suggestedPath("/dl", "..\\..\\evil.exe"), "/dl/evil.exe");
        QCOMPARE(TDownloadManager::suggestedPath("/dl", ".."), "/dl/download");
    }
};

QTEST_GUILESS_MAIN(tst_TDownloadList)
#include "tst_TDownloadList.moc"
