#include "core/engine/HistoryTitles.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using Entry = THistoryIndexReader::Entry;
using Period = THistoryIndexReader::Period;

namespace
{
constexpr int Block = THistoryIndex::BlockSize;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

quint32 countOf(const QByteArray& entry)
{
    const auto* u = reinterpret_cast<const unsigned char*>(entry.constData());
    return u[4] | (u[5] << 8) | (u[6] << 16) | (quint32(u[7]) << 24);
}

QDateTime local(int y, int m, int d, int hour = 12)
{
    return QDateTime(QDate(y, m, d), QTime(hour, 0));
}

QByteArray encode(const QString& url, const QString& title, qint64 ms)
{
    return THistoryIndex::encodeEntry(url, title, ms);
}

QStringList urls(const QList<Entry>& entries)
{
    QStringList list;
    for (const Entry& e : entries)
        list.append(e.url);
    return list;
}
} // namespace

class tst_THistoryIndex : public QObject
{
    Q_OBJECT

private:
    // A fresh folder for each test: a day's index file, and a history root.
    std::unique_ptr<QTemporaryDir> dir;
    QString index, root;

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        index = dir->filePath("day/index.dat");
        root = dir->filePath("History");
    }

    void noAtBeforeTheAddressAtAnyLength()
    {
        QList<int> lengths;
        for (int length = 1; length <= THistoryIndex::MaxAddressBytes - 20; length += 97)
            lengths.append(length);
        for (int length = 63 * Block - 200; length <= 65 * Block; ++length) // around 64 blocks
            lengths.append(length);
        bool saw64 = false;
        for (const int length : lengths)
        {
            const QString url = "http://a.test/" + QString(length, u'p');
            const QByteArray entry = THistoryIndex::encodeEntry(url, "t", 1);
            const quint32 count = countOf(entry);
            QVERIFY2(entry.indexOf('@') == 8, qPrintable(QString::number(length)));
            QCOMPARE(qsizetype(count) * Block, entry.size());
            QCOMPARE(entry.right(2), QByteArray(2, '\0'));
            saw64 = saw64 || count == 65;
            const QList<Entry> read = THistoryIndexReader::parse(entry + entry);
            QCOMPARE(read.size(), 2);
            QCOMPARE(read.first().url, url);
        }
        QVERIFY(saw64); // the count 64 was needed and became 65
        // A rewrite into an old entry's blocks never takes a 0x40 count either.
        QCOMPARE(countOf(THistoryIndex::encodeEntry("http://a.test/", "t", 1, 64)), 65u);
    }

    void unrecordableInputs()
    {
        QVERIFY(encode("", "t", 1).isEmpty());
        QVERIFY(encode(QString(THistoryIndex::MaxAddressBytes + 1, u'a'), "t", 1).isEmpty());
        QVERIFY(!THistoryIndex::recordVisit("about:blank", "Blank", local(2026, 12, 9), root));
        QVERIFY(THistoryIndexReader::periods(root).isEmpty());
        QVERIFY(THistoryIndex::isRecordable("file:///home/u/a.html"));
        QVERIFY(!THistoryIndex::isRecordable("view-source:http://a.test/"));
    }

    // Tabs waiting to load show the latest visit's title, also after a
    // visit recorded while the program runs.
    void titlesFollowTheLatestVisit()
    {
        QVERIFY(THistoryIndex::recordVisit("http://a.test/", "Old", local(2026, 12, 8), root));
        QVERIFY(THistoryIndex::recordVisit("http://a.test/", "", local(2026, 12, 9), root));
        HistoryTitles titles(root);
        QCOMPARE(titles.titleOf("http://a.test/"), QString("Old"));
        QCOMPARE(titles.titleOf("http://b.test/"), QString());
        QVERIFY(THistoryIndex::recordVisit("http://a.test/", "New", local(2026, 12, 10), root));
        QCOMPARE(titles.titleOf("http://a.test/"), QString("New"));
    }

    // Opening a pipe would wait for a writer for ever; a writer killed just
    // after it made the lock file leaves it empty, which stops nobody.
    void pipeIsSkippedAndEmptyLockIgnored()
    {
        QVERIFY(QDir().mkpath(QFileInfo(index).absolutePath()));
        QCOMPARE(::mkfifo(QFile::encodeName(index).constData(), 0600), 0);
        bool ok = true;
        QVERIFY(THistoryIndexReader::readFile(index, &ok).isEmpty() && !ok);
        QVERIFY(!THistoryIndex::writeVisit(index, "http://a.test/", "A", 1000));
        QVERIFY(writeAll(dir->filePath(THistoryIndex::lockFileName()), {}));
        QVERIFY(THistoryIndex::recordVisit("http://a.test/", "A", local(2026, 12, 9), dir->path()));
    }

    void appendsThenRewritesInPlace()
    {
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "Old", 1000));
        QVERIFY(THistoryIndex::writeVisit(index, "http://b.test/", "B", 2000));
        QCOMPARE(readAll(index),
                 encode("http://a.test/", "Old", 1000) + encode("http://b.test/", "B", 2000));
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "New title", 3000));
        QCOMPARE(readAll(index),
                 encode("http://a.test/", "New title", 3000) + encode("http://b.test/", "B", 2000));
        // A visit that reports no title keeps the one the page had.
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "", 4000));
        QCOMPARE(readAll(index),
                 encode("http://a.test/", "New title", 4000) + encode("http://b.test/", "B", 2000));
    }

    void longerTitleAppendsThenRetiresTheOldEntry()
    {
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "short", 1000));
        QVERIFY(THistoryIndex::writeVisit(index, "http://b.test/", "B", 2000));
        const QString longTitle(400, u'L');
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", longTitle, 3000));

        const QByteArray data = readAll(index);
        QCOMPARE(data.at(0), 'R'); // retired, no longer an entry to any reader
        QCOMPARE(urls(THistoryIndexReader::readFile(index)),
                 QStringList({"http://b.test/", "http://a.test/"}));
        QCOMPARE(data.mid(Block),
                 encode("http://b.test/", "B", 2000) + encode("http://a.test/", longTitle, 3000));

        // Interrupted before the old entry was retired: both are there, the
        // writer keeps updating the newest.
        QByteArray both = data;
        both[0] = 'U';
        QVERIFY(writeAll(index, both));
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", longTitle + "!", 4000));
        const QList<Entry> after = THistoryIndexReader::readFile(index);
        QCOMPARE(after.size(), 3);
        QCOMPARE(after[2].title, longTitle + "!");
        QCOMPARE(after[0].title, QString("short"));
    }

    // The next write cuts a torn tail off, so the new entry is not taken
    // into the torn one's block count.
    void tornTailIsSkippedAndRepaired()
    {
        const QByteArray good = encode("http://a.test/", "A", 1000);
        const QByteArray torn = encode("http://c.test/" + QString(300, u'c'), "C", 3000);
        QVERIFY(writeAll(index, good + torn.left(2 * Block + 5)));
        QCOMPARE(urls(THistoryIndexReader::readFile(index)), QStringList{"http://a.test/"});
        QVERIFY(THistoryIndex::writeVisit(index, "http://d.test/", "D", 4000));
        QCOMPARE(readAll(index), good + encode("http://d.test/", "D", 4000));
    }

    // A damaged header that claims more blocks than the file holds would
    // fit once the file grows, and swallow every entry after it.
    void damagedHeaderNeverSwallowsLaterEntries()
    {
        QByteArray damaged = encode("http://a.test/", "A", 1);
        damaged[4] = 3;
        QVERIFY(writeAll(index, damaged + encode("http://b.test/", "B", 2)));
        QVERIFY(THistoryIndex::writeVisit(index, "http://c.test/", "C", 3));
        QCOMPARE(urls(THistoryIndexReader::readFile(index)),
                 QStringList({"http://b.test/", "http://c.test/"}));
    }

    // What no entry claims is passed over, block by block.
    void junkBlocksAreSkipped()
    {
        const QByteArray a = encode("http://a.test/", "A", 1);
        QByteArray noAddress(Block, '\0');
        noAddress.replace(0, 5, QByteArray("U\0\0\0\1", 5));
        const QByteArray data = QByteArray(Block, '\0') + a + noAddress + QByteArray(Block, 'U') +
                                encode("http://b.test/" + QString(200, u'b'), "B", 2) + "UU";
        QCOMPARE(urls(THistoryIndexReader::parse(data)),
                 QStringList({"http://a.test/", "http://b.test/" + QString(200, u'b')}));
    }

    void nonAsciiAndControlCharacters()
    {
        const QString url = QString::fromUtf8("https://bücher.test/straße?q=日本");
        const QString title = QString::fromUtf8("Grüße — 日本語 😀");
        QVERIFY(THistoryIndex::writeVisit(index, url, title, 5));
        QVERIFY(
            THistoryIndex::writeVisit(index, "http://c.test/a\nb\x1f", "line\none\ttab\x1f", 6));
        QVERIFY(THistoryIndex::writeVisit(index, "http://d.test/", QString(2000, QChar(0xe9)), 7));
        const QList<Entry> entries = THistoryIndexReader::readFile(index);
        QCOMPARE(urls(entries), QStringList({url, "http://c.test/a%0Ab%1F", "http://d.test/"}));
        QCOMPARE(entries[0].title, title);
        QCOMPARE(entries[1].title, QString("line one tab "));
        QCOMPARE(entries[2].title, QString(THistoryIndex::MaxTitleLength, QChar(0xe9)));

        // A cut never splits a character in two.
        const QString emoji =
            QString(THistoryIndex::MaxTitleLength - 1, u'a') + QString::fromUtf8("😀");
        QCOMPARE(THistoryIndexReader::parse(encode("http://e.test/", emoji, 1)).first().title,
                 QString(THistoryIndex::MaxTitleLength - 1, u'a'));
    }

    // The first visit of a new week turns last week's days into its week
    // folder, keeping each address's latest visit; stopped before the day
    // folders were removed, merging again changes nothing.
    void earlierDaysMergeIntoTheirWeek()
    {
        for (const auto& [url, title, day] : {std::tuple{"http://a.test/", "A on Tuesday", 1},
                                              {"http://b.test/", "B", 2},
                                              {"http://a.test/", "A on Friday", 4}})
            QVERIFY(THistoryIndex::recordVisit(url, title, local(2026, 12, day), root));
        QVERIFY(QDir(root).exists("day-2026-12-04"));
        const QByteArray friday = readAll(root + "/day-2026-12-04/index.dat");
        QVERIFY(THistoryIndex::recordVisit("http://monday.test/", "Mon", local(2026, 12, 7), root));
        QVERIFY(!QDir(root).exists("day-2026-12-04"));
        QVERIFY(THistoryIndex::recordVisit("http://today.test/", "T", local(2026, 12, 9), root));

        const QList<Period> periods = THistoryIndexReader::periods(root);
        QCOMPARE(periods.size(), 3);
        QCOMPARE(periods[0].name, QString("day-2026-12-09"));
        QCOMPARE(periods[2].name, QString("week-2026-11-30"));
        QCOMPARE(periods[2].kind, Period::Week);
        QCOMPARE(periods[2].last, QDate(2026, 12, 6));
        QCOMPARE(urls(THistoryIndexReader::allEntries(root)),
                 QStringList({"http://today.test/", "http://monday.test/", "http://b.test/",
                              "http://a.test/"}));
        QCOMPARE(THistoryIndexReader::readFile(periods[2].indexPath).last().title,
                 QString("A on Friday"));
        QCOMPARE(THistoryIndexReader::readFile(periods[0].indexPath).first().visited(),
                 local(2026, 12, 9).toUTC());

        const QByteArray once = readAll(periods[2].indexPath);
        QVERIFY(writeAll(root + "/day-2026-12-04/index.dat", friday));
        QVERIFY(THistoryIndex::mergeEarlierDays(root, QDate(2026, 12, 9)));
        QCOMPARE(readAll(periods[2].indexPath), once);
        QCOMPARE(THistoryIndexReader::periods(root).size(), 3);
    }

    void readAllAndClear()
    {
        for (const auto& [url, title, day] : {std::tuple{"http://news.test/", "Headlines", 1},
                                              {"http://other.test/NEWS", "", 9},
                                              {"http://quiet.test/", "Nothing", 9}})
            QVERIFY(THistoryIndex::recordVisit(url, title, local(2026, 12, day), root));
        QVERIFY(writeAll(root + "/notes.txt", "kept"));

        // Newest period first; an entry without a title is shown by its address.
        const QList<THistoryIndexReader::Entry> all = THistoryIndexReader::allEntries(root);
        QCOMPARE(urls(all), QStringList({"http://other.test/NEWS", "http://quiet.test/",
                                         "http://news.test/"}));
        QCOMPARE(all.first().caption(), QString("http://other.test/NEWS"));

        QVERIFY(THistoryIndexReader::clear(root));
        QVERIFY(THistoryIndexReader::periods(root).isEmpty());
        QVERIFY(QFile::exists(root + "/notes.txt"));
        QVERIFY(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_THistoryIndex)
#include "tst_THistoryIndex.moc"
