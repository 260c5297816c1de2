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
    void record()
    {
        const QList<std::pair<QStringList, QStringList>> rows = {
            // closed oldest first, kept
            {{"a", "b", "c"}, {"c", "b", "a"}},
            {QStringList{"old"} + QStringList(20, "a"),
             QStringList(20, "a")},                  // the 21st drops the oldest
            {{"", "about:blank", "  ", "a"}, {"a"}}, // no address, blank page: not kept
        };
        for (const auto& [closed, expected] : rows)
        {
            TClosedTabs list;
            for (const QString& address : closed)
                list.Record({address, {}, {}, false, 0, {}});
            QCOMPARE(kept(list), expected);
        }
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

    void badData()
    {
        const QByteArray v1 = "{\"version\":1,\"tabs\":[";
        const QList<std::pair<QByteArray, QStringList>> rows = {
            // clang-format off
            {QByteArray(), {}}, // no file
            {QByteArray("\x89PNG\r\n{{{"), {}},
            {v1 + "{\"address\":\"a\"", {}}, // cut short
            {QByteArray("{\"version\":2,\"tabs\":[{\"address\":\"a\"}]}"), {}},
            {QByteArray("{\"version\":1,\"tabs\":{\"address\":\"a\"}}"), {}}, // tabs not a list
            {v1 + "7,{\"address\":3},{\"address\":\"about:blank\"},{},{\"address\":\"b\"}]}", {"b"}},
            // A damaged history leaves the address.
            {v1 + "{\"address\":\"a\",\"history\":\"*!\"},{\"address\":\"b\",\"history\":\"aGk=\"}]}", {"a", "bhi"}},
            {v1 + QByteArray("{\"address\":\"a\"},").repeated(25).chopped(1) + "]}", QStringList(20, "a")},
            // clang-format on
        };
        for (const auto& [json, expected] : rows)
        {
            QTemporaryDir dir;
            QFile file(dir.filePath("closed.json"));
            QVERIFY(json.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(json)));
            file.close();
            QCOMPARE(kept(TClosedTabs::Load(file.fileName())), expected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_TClosedTabs)
#include "tst_TClosedTabs.moc"
