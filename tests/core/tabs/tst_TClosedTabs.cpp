#include "core/tabs/TClosedTabs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{
using Entry = TClosedTabs::Entry;

Entry at(const QString& address, int index = 0)
{
    return Entry{address, address + " title", {}, false, index, {}};
}

QStringList addresses(const TClosedTabs& list)
{
    QStringList result;
    for (const Entry& entry : list.Entries())
        result << entry.address;
    return result;
}

// Pages from..to, counting up or down.
QStringList numbered(int from, int to)
{
    QStringList result;
    const int step = from <= to ? 1 : -1;
    for (int i = from; i != to + step; i += step)
        result << QStringLiteral("http://%1.test/").arg(i);
    return result;
}
} // namespace

class tst_TClosedTabs : public QObject
{
    Q_OBJECT

private slots:
    void record_data()
    {
        QTest::addColumn<QStringList>("closed"); // in the order they closed
        QTest::addColumn<QStringList>("kept");   // most recent first

        // clang-format off
        QTest::newRow("most recent first") << QStringList{"http://a.test/", "http://b.test/", "http://c.test/"} << QStringList{"http://c.test/", "http://b.test/", "http://a.test/"};
        QTest::newRow("the 21st drops the oldest") << numbered(1, 21) << numbered(21, 2);
        QTest::newRow("no address, blank page, blanks: not kept") << QStringList{"", "about:blank", "  ", "http://a.test/"} << QStringList{"http://a.test/"};
        QTest::newRow("the same page twice is two tabs") << QStringList{"http://a.test/", "http://a.test/"} << QStringList{"http://a.test/", "http://a.test/"};
        // clang-format on
    }
    void record()
    {
        QFETCH(QStringList, closed);
        QFETCH(QStringList, kept);
        TClosedTabs list;
        for (const QString& address : closed)
            list.Record(at(address));
        QCOMPARE(addresses(list), kept);
    }

    void takeRemovesOnlyThatEntry()
    {
        TClosedTabs list;
        for (const QString& address : {"http://a.test/", "http://b.test/", "http://c.test/"})
            list.Record(at(address));
        QCOMPARE(list.Take(1).address, QStringLiteral("http://b.test/"));
        QCOMPARE(list.Take(5).address, QString());
        QCOMPARE(addresses(list), (QStringList{"http://c.test/", "http://a.test/"}));
    }

    void fileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("closed.json");
        TClosedTabs list;
        list.Record(Entry{"http://a.test/ä?q=1&r", "Ä & B", "Name", true, 3,
                          QByteArray("\0\x01\xffhist", 7)});
        list.Record(Entry{"file:///tmp/x.html", {}, {}, false, 0, {}});
        QVERIFY(list.Save(path));
        QCOMPARE(TClosedTabs::Load(path).Entries(), list.Entries());

        // An empty list leaves no file behind.
        QVERIFY(TClosedTabs().Save(path));
        QVERIFY(!QFile::exists(path));
        QVERIFY(TClosedTabs::Load(path).IsEmpty());
    }

    void badData_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<int>("firstIndex");
        QTest::addColumn<QByteArray>("firstHistory");

        const QByteArray head = "{\"version\":1,\"tabs\":[";
        QByteArray many = head;
        for (int i = 0; i < 25; ++i)
            many += QByteArray(i ? "," : "") + "{\"address\":\"http://a.test/\"}";
        many += "]}";
        // clang-format off
        QTest::newRow("empty") << QByteArray() << QStringList{} << 0 << QByteArray();
        QTest::newRow("not JSON") << QByteArray("\x89PNG\r\n\x1a\n{{{") << QStringList{} << 0 << QByteArray();
        QTest::newRow("truncated") << head + "{\"address\":\"http://a.test/\"" << QStringList{} << 0 << QByteArray();
        QTest::newRow("another version") << QByteArray("{\"version\":2,\"tabs\":[{\"address\":\"http://a.test/\"}]}") << QStringList{} << 0 << QByteArray();
        QTest::newRow("tabs not a list") << QByteArray("{\"version\":1,\"tabs\":{\"address\":\"http://a.test/\"}}") << QStringList{} << 0 << QByteArray();
        QTest::newRow("entries without a usable address left out") << head + "7,{\"address\":3},{\"address\":\"about:blank\"},{},{\"address\":\"http://b.test/\"}]}" << QStringList{"http://b.test/"} << 0 << QByteArray();
        QTest::newRow("negative place is the front") << head + "{\"address\":\"http://a.test/\",\"index\":-4}]}" << QStringList{"http://a.test/"} << 0 << QByteArray();
        QTest::newRow("damaged history: the address stays") << head + "{\"address\":\"http://a.test/\",\"index\":2,\"history\":\"**no base64**\"}]}" << QStringList{"http://a.test/"} << 2 << QByteArray();
        QTest::newRow("good history kept") << head + "{\"address\":\"http://a.test/\",\"history\":\"aGk=\"}]}" << QStringList{"http://a.test/"} << 0 << QByteArray("hi");
        QTest::newRow("more than the limit") << many << QStringList(TClosedTabs::Limit, "http://a.test/") << 0 << QByteArray();
        // clang-format on
    }
    void badData()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, kept);
        QFETCH(int, firstIndex);
        QFETCH(QByteArray, firstHistory);
        QTemporaryDir dir;
        QFile file(dir.filePath("closed.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(json);
        file.close();
        const TClosedTabs list = TClosedTabs::Load(file.fileName());
        QCOMPARE(addresses(list), kept);
        if (!list.IsEmpty())
        {
            QCOMPARE(list.Entries().first().index, firstIndex);
            QCOMPARE(list.Entries().first().history, firstHistory);
        }
    }

    void missingOrUnreadableFile()
    {
        QTemporaryDir dir;
        QVERIFY(TClosedTabs::Load(dir.filePath("none.json")).IsEmpty());
        QVERIFY(TClosedTabs::Load(dir.path()).IsEmpty()); // a folder
        // A file that cannot be written reports it.
        TClosedTabs list;
        list.Record(at("http://a.test/"));
        QVERIFY(!list.Save(dir.filePath("no/such/folder/closed.json")));
    }
};

QTEST_GUILESS_MAIN(tst_TClosedTabs)
#include "tst_TClosedTabs.moc"
