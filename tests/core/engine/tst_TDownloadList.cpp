#include "chrome/TLanguage.h"
#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"
#include "core/engine/TDownloadManager.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class tst_TDownloadList : public QObject
{
    Q_OBJECT

private:
    TLanguage english;
    WindowServices services{&english};

private slots:
    void initTestCase();

    void addedRowsDescribeTheFile();
    void percent_data();
    void percent();
    void progressIsReported();
    void cancelStopsARunningDownloadOnce();
    void endedDownloads();
    void stateTexts();
    void suggestedPath_data();
    void suggestedPath();
    void windowFollowsTheList();
};

void tst_TDownloadList::initTestCase()
{
    QVERIFY(english.Load(QStringLiteral(QW_SOURCE_DIR) + "/data/Languages/qweng.ini"));
}

void tst_TDownloadList::addedRowsDescribeTheFile()
{
    TDownloadList list;
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QCOMPARE(list.add("/home/u/Downloads/a.zip", 1000, {}), 0);
    QCOMPARE(list.add("/tmp/b.iso", -1, {}), 1);
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(list.fileName(0), QString("a.zip"));
    QCOMPARE(list.folder(0), QString("/home/u/Downloads"));
    QCOMPARE(list.data(list.index(1), Qt::DisplayRole).toString(), QString("b.iso"));
    QCOMPARE(list.item(1).total, -1);
    QCOMPARE(list.item(0).state, TDownloadList::Running);
    QVERIFY(!list.canOpenFolder(0));
    QCOMPARE(list.fileName(5), QString());
}

void tst_TDownloadList::percent_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");
    const qint64 gib = qint64(1024) * 1024 * 1024;
    // clang-format off
    QTest::newRow("quarter") << qint64(50) << qint64(200) << 25;
    QTest::newRow("done") << qint64(200) << qint64(200) << 100;
    QTest::newRow("unknown size") << qint64(10) << qint64(-1) << -1;
    QTest::newRow("zero size") << qint64(0) << qint64(0) << -1;
    QTest::newRow("more than announced") << qint64(300) << qint64(200) << 100;
    QTest::newRow("negative received") << qint64(-5) << qint64(100) << 0;
    QTest::newRow("large file") << 3 * gib << 6 * gib << 50;
    // clang-format on
}

void tst_TDownloadList::percent()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    TDownloadList list;
    list.add("/tmp/f", -1, {});
    list.setProgress(0, received, total);
    QCOMPARE(list.percent(0), percent);
    QCOMPARE(list.data(list.index(0), TDownloadList::PercentRole).toInt(), percent);
}

void tst_TDownloadList::progressIsReported()
{
    TDownloadList list;
    list.add("/tmp/f", 100, {});
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    list.setProgress(0, 40, 100);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), 0);
    QCOMPARE(list.item(0).received, 40);
    list.setProgress(7, 1, 2); // no such row
    QCOMPARE(changed.count(), 1);
}

void tst_TDownloadList::cancelStopsARunningDownloadOnce()
{
    TDownloadList list;
    int stops = 0;
    list.add("/tmp/f", 100,
             [&]
             {
                 ++stops;
                 list.setState(0, TDownloadList::Cancelled); // the engine may answer at once
             });
    list.add("/tmp/g", 100, {});
    QVERIFY(list.canCancel(0));
    QVERIFY(!list.canCancel(1)); // nothing to stop it with

    QVERIFY(list.cancel(0));
    QCOMPARE(stops, 1);
    QCOMPARE(list.item(0).state, TDownloadList::Cancelled);
    QVERIFY(!list.canCancel(0));
    QVERIFY(!list.cancel(0));
    QCOMPARE(stops, 1);
    QVERIFY(!list.canOpenFolder(0));
}

void tst_TDownloadList::endedDownloads()
{
    TDownloadList list;
    int stops = 0;
    list.add("/data/file.pdf", -1, [&] { ++stops; });
    list.add("/tmp/f", 100, [] {});
    list.setProgress(0, 5000, -1);
    list.setState(0, TDownloadList::Finished);
    list.setState(1, TDownloadList::Interrupted, "Network disconnected");
    QVERIFY(list.canOpenFolder(0));
    QVERIFY(!list.canOpenFolder(1));
    QVERIFY(!list.canCancel(0) && !list.canCancel(1));
    QVERIFY(!list.cancel(0));
    QCOMPARE(stops, 0);
    // A size never announced is what arrived.
    QCOMPARE(list.item(0).total, 5000);
    QCOMPARE(list.percent(0), 100);
    QCOMPARE(list.item(1).reason, QString("Network disconnected"));
    QCOMPARE(list.data(list.index(1), TDownloadList::StateRole).toInt(),
             int(TDownloadList::Interrupted));

    // Late reports change nothing.
    list.setProgress(0, 3, 100);
    list.setState(0, TDownloadList::Running);
    list.setState(0, TDownloadList::Interrupted, "late");
    QCOMPARE(list.item(0).state, TDownloadList::Finished);
    QCOMPARE(list.item(0).received, 5000);
    QVERIFY(list.item(0).reason.isEmpty());
}

void tst_TDownloadList::stateTexts()
{
    TDownloadList list;
    list.add("/tmp/a", 2048, {});
    list.add("/tmp/b", -1, {});
    list.add("/tmp/c", -1, {});
    list.add("/tmp/d", -1, {});
    list.setProgress(0, 1024, 2048);
    list.setProgress(1, 1024, -1);
    list.setState(2, TDownloadList::Cancelled);
    list.setState(3, TDownloadList::Interrupted, "Disk full");

    const QString running = TfrmDownloads::stateText(list, 0, services);
    QCOMPARE(running,
             english.GetGlobalText("DownloadProgress")
                 .arg(QLocale().formattedDataSize(1024), QLocale().formattedDataSize(2048)));
    QVERIFY(
        TfrmDownloads::stateText(list, 1, services).contains(QLocale().formattedDataSize(1024)));
    QCOMPARE(TfrmDownloads::stateText(list, 2, services),
             english.GetGlobalText("DownloadStateCancelled"));
    QVERIFY(TfrmDownloads::stateText(list, 3, services).endsWith("Disk full"));
    for (int row = 0; row < list.rowCount(); ++row)
        QVERIFY(!TfrmDownloads::stateText(list, row, services).contains("UNDEFINED"));
}

void tst_TDownloadList::suggestedPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    // clang-format off
    QTest::newRow("plain") << "report.pdf" << "/dl/report.pdf";
    QTest::newRow("climbing out") << "../../.bashrc" << "/dl/.bashrc";
    QTest::newRow("absolute") << "/etc/passwd" << "/dl/passwd";
    QTest::newRow("backslashes") << "..\\..\\evil.exe" << "/dl/evil.exe";
    QTest::newRow("empty") << "" << "/dl/download";
    QTest::newRow("dots only") << ".." << "/dl/download";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Übersicht 日本.txt") << QString::fromUtf8("/dl/Übersicht 日本.txt");
    // clang-format on
}

void tst_TDownloadList::suggestedPath()
{
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(TDownloadManager::suggestedPath("/dl", name), path);
}

void tst_TDownloadList::windowFollowsTheList()
{
    TDownloadList list;
    int stops = 0;
    list.add("/tmp/first.bin", 1000, [&] { ++stops; });
    auto* window = new TfrmDownloads(&list, &services);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->windowTitle(), english.GetGlobalText("DownloadsCaption"));
    window->show();

    list.add("/tmp/second.bin", -1, {});
    const auto bars = window->findChildren<QProgressBar*>("pbProgress");
    QCOMPARE(bars.size(), 2);
    QCOMPARE(bars[1]->maximum(), 0); // busy while the size is unknown
    list.setProgress(0, 250, 1000);
    QCOMPARE(bars[0]->value(), 25);

    const auto cancels = window->findChildren<QPushButton*>("cmdCancel");
    const auto folders = window->findChildren<QPushButton*>("cmdOpenFolder");
    QVERIFY(cancels[0]->isVisible());
    QVERIFY(!folders[0]->isVisible());
    QTest::mouseClick(cancels[0], Qt::LeftButton);
    QCOMPARE(stops, 1);
    QVERIFY(!cancels[0]->isEnabled());

    list.setProgress(1, 70, -1);
    list.setState(1, TDownloadList::Finished);
    QCOMPARE(bars[1]->maximum(), 100);
    QCOMPARE(bars[1]->value(), 100);
    QVERIFY(folders[1]->isVisible());
    QVERIFY(!cancels[1]->isVisible());
    const auto states = window->findChildren<QLabel*>("lblState");
    QCOMPARE(states[1]->text(), TfrmDownloads::stateText(list, 1, services));

    // The window is made again from the list after closing.
    window->close();
    TfrmDownloads again(&list, &services);
    QCOMPARE(again.findChildren<QProgressBar*>("pbProgress").size(), 2);
}

QTEST_MAIN(tst_TDownloadList)
#include "tst_TDownloadList.moc"
