#include "core/tabs/TClosedTabs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_TClosedTabs : public QObject
{
    Q_OBJECT

    // Address and history of each entry, most recent first.
    static QStringList kept(const TClosedTabs& list)
    {
        QStringList result;
        for (const TClosedTabs::Entry& entry : list.Entries())
            result << entry.address + entry.history;
        return result;
    }

private slots:
    void record_data()
    {
        QTest::addColumn<QStringList>("closed"); // oldest first
        QTest::addColumn<QStringList>("kept");
        // clang-format off
        QTest::newRow("most recent first") << QStringList{"a", "b", "c"} << QStringList{"c", "b", "a"};
        QTest::newRow("the 21st drops the oldest") << QStringList{"old"} + QStringList(20, "a") << QStringList(20, "a");
        QTest::newRow("no address, blank page: not kept") << QStringList{"", "about:blank", "  ", "a"} << QStringList{"a"};
        // clang-format on
    }
    void record()
    {
        QFETCH(QStringList, closed);
        TClosedTabs list;
        for (const QString& address : closed)
            list.Record({address, {}, {}, false, 0, {}});
        QTEST(kept(list), "kept");
    }

    void fileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("closed.json");
        TClosedTabs list;
        list.Record({"http://a.test/ä?q=1&r", "Ä & B", "Name", true, 3, QByteArray("\0\xffh", 3)});
        list.Record({"file:///x.html", {}, {}, false, 0, {}});
        QVERIFY(list.Save(path));
        QCOMPARE(TClosedTabs::Load(path).Entries(), list.Entries());
        QVERIFY(TClosedTabs().Save(path) && !QFile::exists(path)); // empty: no file
    }

    void badData_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("kept");
        const QByteArray v1 = "{\"version\":1,\"tabs\":[";
        // clang-format off
        QTest::newRow("no file") << QByteArray() << QStringList{};
        QTest::newRow("not JSON") << QByteArray("\x89PNG\r\n{{{") << QStringList{};
        QTest::newRow("cut short") << v1 + "{\"address\":\"a\"" << QStringList{};
        QTest::newRow("another version") << QByteArray("{\"version\":2,\"tabs\":[{\"address\":\"a\"}]}") << QStringList{};
        QTest::newRow("tabs not a list") << QByteArray("{\"version\":1,\"tabs\":{\"address\":\"a\"}}") << QStringList{};
        QTest::newRow("unusable entries left out") << v1 + "7,{\"address\":3},{\"address\":\"about:blank\"},{},{\"address\":\"b\"}]}" << QStringList{"b"};
        QTest::newRow("damaged history: the address stays") << v1 + "{\"address\":\"a\",\"history\":\"*!\"},{\"address\":\"b\",\"history\":\"aGk=\"}]}" << QStringList{"a", "bhi"};
        QTest::newRow("beyond the limit") << v1 + QByteArray("{\"address\":\"a\"},").repeated(25).chopped(1) + "]}" << QStringList(20, "a");
        // clang-format on
    }
    void badData()
    {
        QFETCH(QByteArray, json);
        QTemporaryDir dir;
        QFile file(dir.filePath("closed.json"));
        QVERIFY(json.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(json)));
        file.close();
        QTEST(kept(TClosedTabs::Load(file.fileName())), "kept");
    }
};

QTEST_GUILESS_MAIN(tst_TClosedTabs)
#include "tst_TClosedTabs.moc"
