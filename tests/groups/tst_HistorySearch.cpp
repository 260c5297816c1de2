#include "core/engine/THistoryIndex.h"
#include "groups/HistorySearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace
{
constexpr int Block = THistoryIndex::BlockSize;

QByteArray entry(const char* url, const QByteArray& title)
{
    return THistoryIndex::encodeEntry(QString::fromUtf8(url), QString::fromUtf8(title), 1);
}

// One block of raw text behind a 'U' header with the given count.
QByteArray raw(quint32 count, const QByteArray& text)
{
    QByteArray block("U\0\0\0", 4);
    for (int i = 0; i < 4; ++i)
        block += char((count >> (8 * i)) & 0xff);
    block += text;
    block.resize(Block, '\0');
    return block;
}

bool write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QStringList captions(const HistorySearch::Rows& rows)
{
    QStringList list;
    for (const auto& row : rows)
        list << row.caption + QStringLiteral(" <") + row.address + u'>';
    return list;
}
} // namespace

class tst_HistorySearch : public QObject
{
    Q_OBJECT

private slots:
    void indexFile_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("rows");
        const QByteArray a = entry("http://a.test/", "Alpha News");
        const QByteArray b = entry("http://b.test/x", "Beta news");
        const QStringList both{"Alpha News <http://a.test/>", "Beta news <http://b.test/x>"};
        // clang-format off
        QTest::newRow("file order, any case") << a + b << "NEWS" << both;
        QTest::newRow("in the address") << a + b << "B.TEST" << QStringList{"Beta news <http://b.test/x>"};
        QTest::newRow("torn tail") << a + b + entry("http://c.test/", QByteArray(300, 'n')).left(Block) << "news" << both;
        QTest::newRow("count 0 is one block") << raw(0, "@http://z.test/\0\x1fZero news\0\0"_qba) + b << "news" << QStringList{"Zero news <http://z.test/>", "Beta news <http://b.test/x>"};
        QTest::newRow("count 1 ends at once") << raw(1, "@http://o.test/\0\x1fOne news\0\0"_qba) + b << "news" << QStringList{"One news <http://o.test/>", "Beta news <http://b.test/x>"};
        QTest::newRow("no @ adds nothing") << a + raw(1, "http://n.test/\0\x1fnews\0\0"_qba) << "news" << QStringList{"Alpha News <http://a.test/>"};
        QTest::newRow("stray blocks skipped") << QByteArray(Block, 'x') + a << "alpha" << QStringList{"Alpha News <http://a.test/>"};
        QTest::newRow("dead entry") << ("R" + a.mid(1)) + b << "news" << QStringList{"Beta news <http://b.test/x>"};
        QTest::newRow("no title: address") << entry("http://t.test/", "") << "t.test" << QStringList{"http://t.test/ <http://t.test/>"};
        QTest::newRow("host entry hidden") << raw(1, "@:Host: a.test\0\x1f\0\0"_qba) << "host" << QStringList{};
        QTest::newRow("title beyond ASCII") << entry("http://k.test/", "Grüße aus Köln") << "KÖLN" << QStringList{"Grüße aus Köln <http://k.test/>"};
        QTest::newRow("ASCII word in UTF-8") << entry("http://k.test/", "Grüße aus Köln") << "AUS" << QStringList{"Grüße aus Köln <http://k.test/>"};
        QTest::newRow("control characters") << raw(1, "@http://c.test/\0\x1f\x01Ta\x7f" "b\0\0"_qba) << "ta" << QStringList{"Tab <http://c.test/>"};
        // clang-format on
    }

    void indexFile()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.dat"));
        QVERIFY(write(path, data));
        HistorySearch::Rows found;
        QVERIFY(HistorySearch::SearchHistoryIndex(path, text, found));
        QTEST(captions(found), "rows");
    }

    // Entries larger than a read, and entries lying across reads.
    void entriesAcrossReads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("index.dat"));
        QByteArray data;
        const QString longTitle(THistoryIndex::MaxTitleLength, u'w');
        const QString longUrl = QStringLiteral("http://l.test/") + QString(30000, u'p');
        int expected = 0;
        for (; data.size() < 3 * HistorySearch::ChunkBytes; ++expected)
            data += THistoryIndex::encodeEntry(
                expected % 50 == 0 ? longUrl : QStringLiteral("http://s.test/%1").arg(expected),
                longTitle.left(expected % 300) + QStringLiteral(" zz"), 1);
        QVERIFY(write(path, data));
        HistorySearch::Rows found;
        QVERIFY(HistorySearch::SearchHistoryIndex(path, QStringLiteral("ZZ"), found));
        QCOMPARE(found.size(), expected);
    }

    // One level of sub-folders; a file that cannot be read is passed over.
    void folder()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QByteArray page = entry("http://f.test/", "found");
        for (const char* folder : {"", "/day-2024-05-06", "/week-2024-04-29", "/a/b", "/.hidden"})
            QVERIFY(write(root + QLatin1String(folder) + QStringLiteral("/index.dat"), page));
        // Opening a pipe would wait for ever; a folder or a dangling link
        // cannot be read.
        QDir().mkpath(root + QStringLiteral("/pipe"));
        QCOMPARE(mkfifo(QFile::encodeName(root + QStringLiteral("/pipe/index.dat")), 0600), 0);
        QDir().mkpath(root + QStringLiteral("/folder/index.dat"));
        QDir().mkpath(root + QStringLiteral("/link"));
        QVERIFY(
            QFile::link(root + QStringLiteral("/gone"), root + QStringLiteral("/link/index.dat")));

        HistorySearch::Rows found;
        HistorySearch::SearchHistoryFolder(root, QStringLiteral("found"), found);
        // The day, the week and the root's own file.
        QCOMPARE(found.size(), 3);
        HistorySearch::Rows none;
        QVERIFY(!HistorySearch::SearchHistoryIndex(root + QStringLiteral("/pipe/index.dat"),
                                                   QStringLiteral("found"), none));
        QVERIFY(!HistorySearch::SearchHistoryIndex(root + QStringLiteral("/missing"),
                                                   QStringLiteral("found"), none));
        HistorySearch::SearchHistoryFolder(root, QString(), none);
        QVERIFY(none.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_HistorySearch)
#include "tst_HistorySearch.moc"
