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
        QVERIFY(THistoryIndex::encodeEntry("", "t", 1).isEmpty());
        QVERIFY(
            THistoryIndex::encodeEntry(QString(THistoryIndex::MaxAddressBytes + 1, u'a'), "t", 1)
                .isEmpty());
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

    void pipeAsIndexIsSkipped()
    {
        QVERIFY(QDir().mkpath(QFileInfo(index).absolutePath()));
        QCOMPARE(::mkfifo(QFile::encodeName(index).constData(), 0600), 0);
        // Opening the pipe would wait for a writer for ever.
        bool ok = true;
        QVERIFY(THistoryIndexReader::readFile(index, &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(!THistoryIndex::writeVisit(index, "http://a.test/", "A", 1000));
    }

    // A writer killed just after it made the lock file leaves it empty.
    void lockFileOfAKilledWriterDoesNotStopTheNext()
    {
        QFile left(dir->filePath(THistoryIndex::lockFileName()));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();
        QVERIFY(THistoryIndex::recordVisit("http://a.test/", "A", local(2026, 12, 9), dir->path()));
    }

    void appendsThenRewritesInPlace()
    {
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "Old", 1000));
        QVERIFY(THistoryIndex::writeVisit(index, "http://b.test/", "B", 2000));
        QCOMPARE(readAll(index), THistoryIndex::encodeEntry("http://a.test/", "Old", 1000) +
                                     THistoryIndex::encodeEntry("http://b.test/", "B", 2000));
        const qint64 size = QFileInfo(index).size();

        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "New title", 3000));
        QCOMPARE(QFileInfo(index).size(), size);
        QList<Entry> entries = THistoryIndexReader::readFile(index);
        QCOMPARE(urls(entries), QStringList({"http://a.test/", "http://b.test/"}));
        QCOMPARE(entries[0].title, QString("New title"));
        QCOMPARE(entries[0].visitedMs, 3000);

        // A visit that reports no title keeps the one the page had.
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "", 4000));
        entries = THistoryIndexReader::readFile(index);
        QCOMPARE(entries[0].title, QString("New title"));
        QCOMPARE(entries[0].visitedMs, 4000);
        QCOMPARE(QFileInfo(index).size(), size);
    }

    void longerTitleAppendsThenRetiresTheOldEntry()
    {
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "short", 1000));
        QVERIFY(THistoryIndex::writeVisit(index, "http://b.test/", "B", 2000));
        const QString longTitle(400, u'L');
        QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", longTitle, 3000));

        const QByteArray data = readAll(index);
        QCOMPARE(data.at(0), 'R'); // retired, no longer an entry to any reader
        QCOMPARE(data.mid(2 * Block),
                 THistoryIndex::encodeEntry("http://a.test/", longTitle, 3000));
        const QList<Entry> entries = THistoryIndexReader::readFile(index);
        QCOMPARE(urls(entries), QStringList({"http://b.test/", "http://a.test/"}));
        QCOMPARE(entries[1].title, longTitle);

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

    void tornTailIsSkippedAndRepaired()
    {
        // Bytes of the last (three-block) entry that reached the disk.
        for (const int keep : {Block, 2 * Block + 5})
        {
            init(); // each keep starts from nothing
            QVERIFY(THistoryIndex::writeVisit(index, "http://a.test/", "A", 1000));
            QVERIFY(THistoryIndex::writeVisit(index, "http://b.test/", "B", 2000));
            const QByteArray good = readAll(index);
            const QByteArray torn =
                THistoryIndex::encodeEntry("http://c.test/" + QString(300, u'c'), "C", 3000);
            QCOMPARE(torn.size(), 3 * Block);
            QVERIFY(writeAll(index, good + torn.left(keep)));

            QCOMPARE(urls(THistoryIndexReader::readFile(index)),
                     QStringList({"http://a.test/", "http://b.test/"}));

            // The next write cuts the torn tail off, so the new entry is not taken
            // into the torn one's block count.
            QVERIFY(THistoryIndex::writeVisit(index, "http://d.test/", "D", 4000));
            QCOMPARE(readAll(index),
                     good + THistoryIndex::encodeEntry("http://d.test/", "D", 4000));
            QCOMPARE(urls(THistoryIndexReader::readFile(index)),
                     QStringList({"http://a.test/", "http://b.test/", "http://d.test/"}));
        }
    }

    // A damaged header that claims more blocks than the file holds would
    // fit once the file grows, and swallow every entry after it.
    void damagedHeaderNeverSwallowsLaterEntries()
    {
        QByteArray damaged = THistoryIndex::encodeEntry("http://a.test/", "A", 1);
        damaged[4] = 3;
        QVERIFY(writeAll(index, damaged + THistoryIndex::encodeEntry("http://b.test/", "B", 2)));
        QVERIFY(THistoryIndex::writeVisit(index, "http://c.test/", "C", 3));
        QCOMPARE(urls(THistoryIndexReader::readFile(index)),
                 QStringList({"http://b.test/", "http://c.test/"}));
    }

    void junkBlocksAreSkipped()
    {
        const QByteArray a = THistoryIndex::encodeEntry("http://a.test/", "A", 1);
        const QByteArray b =
            THistoryIndex::encodeEntry("http://b.test/" + QString(200, u'b'), "B", 2);
        QByteArray fakeHeader = a;
        fakeHeader[4] = 5; // claims blocks that hold no entry of its own
        QByteArray noAddress(Block, '\0');
        noAddress[0] = 'U';
        noAddress[4] = 1;
        QByteArray zeros(Block, '\0');
        QByteArray text(Block, 'U');
        QByteArray unterminated = a;
        unterminated.fill('x', Block);
        unterminated.replace(0, 9, QByteArray("U\0\0\0\1\0\0\0@", 9));
        const QByteArray data = zeros + a + noAddress + text + unterminated +
                                fakeHeader.left(Block) + b + QByteArray(50, 'U');
        const QList<Entry> entries = THistoryIndexReader::parse(data);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].url, QString("http://a.test/"));
        QCOMPARE(entries[1].title, QString("B"));
    }

    void nonAsciiAndControlCharacters()
    {
        const QString url = QString::fromUtf8("https://bücher.test/straße?q=日本");
        const QString title = QString::fromUtf8("Grüße — 日本語 😀");
        QVERIFY(THistoryIndex::writeVisit(index, url, title, 5));
        QVERIFY(
            THistoryIndex::writeVisit(index, "http://c.test/a\nb\x1f", "line\none\ttab\x1f", 6));
        QVERIFY(
            THistoryIndex::writeVisit(index, "http://d.test/", QString(2000, QChar(0x00e9)), 7));
        const QList<Entry> entries = THistoryIndexReader::readFile(index);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].url, url);
        QCOMPARE(entries[0].title, title);
        QCOMPARE(entries[1].url, QString("http://c.test/a%0Ab%1F"));
        QCOMPARE(entries[1].title, QString("line one tab "));
        QCOMPARE(entries[2].title, QString(THistoryIndex::MaxTitleLength, QChar(0x00e9)));

        // A cut never splits a character in two.
        const QString emoji =
            QString(THistoryIndex::MaxTitleLength - 1, u'a') + QString::fromUtf8("😀");
        const QByteArray entry = THistoryIndex::encodeEntry("http://e.test/", emoji, 1);
        QCOMPARE(THistoryIndexReader::parse(entry).first().title,
                 QString(THistoryIndex::MaxTitleLength - 1, u'a'));
        // Searching ignores case beyond ASCII too.
        QVERIFY(THistoryIndexReader::matches(entries[0], QString::fromUtf8("GRÜßE")));
    }

    void todayAndLastWeekFolders()
    {
        QVERIFY(THistoryIndex::recordVisit("http://old.test/", "Old", local(2026, 12, 2), root));
        QVERIFY(QDir(root).exists("day-2026-12-02"));
        // The first visit of a new week turns last week's days into its week folder.
        QVERIFY(THistoryIndex::recordVisit("http://monday.test/", "Mon", local(2026, 12, 7), root));
        QVERIFY(!QDir(root).exists("day-2026-12-02"));
        QVERIFY(
            THistoryIndex::recordVisit("http://today.test/", "Today", local(2026, 12, 9), root));

        const QList<Period> periods = THistoryIndexReader::periods(root);
        QCOMPARE(periods.size(), 3);
        QCOMPARE(periods[0].name, QString("day-2026-12-09"));
        QCOMPARE(periods[2].name, QString("week-2026-11-30"));
        QCOMPARE(periods[2].kind, Period::Week);
        QCOMPARE(periods[2].last, QDate(2026, 12, 6));

        QCOMPARE(urls(THistoryIndexReader::allEntries(root)),
                 QStringList({"http://today.test/", "http://monday.test/", "http://old.test/"}));
        QCOMPARE(THistoryIndexReader::readFile(periods[0].indexPath).first().visited(),
                 local(2026, 12, 9).toUTC());
    }

    void mergeKeepsLatestAndIsRepeatable()
    {
        QVERIFY(
            THistoryIndex::recordVisit("http://a.test/", "A on Tuesday", local(2026, 12, 1), root));
        QVERIFY(THistoryIndex::recordVisit("http://b.test/", "B", local(2026, 12, 2), root));
        QVERIFY(
            THistoryIndex::recordVisit("http://a.test/", "A on Friday", local(2026, 12, 4), root));
        const QByteArray friday = readAll(root + "/day-2026-12-04/index.dat");

        QVERIFY(THistoryIndex::mergeEarlierDays(root, QDate(2026, 12, 9)));
        const QString week = root + "/week-2026-11-30/index.dat";
        const QList<Entry> merged = THistoryIndexReader::readFile(week);
        QCOMPARE(urls(merged), QStringList({"http://b.test/", "http://a.test/"}));
        QCOMPARE(merged[1].title, QString("A on Friday"));
        const QByteArray once = readAll(week);

        // Stopped before the day folders were removed: merging again changes nothing.
        QVERIFY(writeAll(root + "/day-2026-12-04/index.dat", friday));
        QVERIFY(THistoryIndex::mergeEarlierDays(root, QDate(2026, 12, 9)));
        QCOMPARE(readAll(week), once);
        QCOMPARE(THistoryIndexReader::periods(root).size(), 1);
    }

    void searchAndClear()
    {
        QVERIFY(THistoryIndex::recordVisit("http://news.test/", "Today's Headlines",
                                           local(2026, 12, 1), root));
        QVERIFY(THistoryIndex::recordVisit("http://other.test/NEWS", "", local(2026, 12, 9), root));
        QVERIFY(
            THistoryIndex::recordVisit("http://quiet.test/", "Nothing", local(2026, 12, 9), root));
        QVERIFY(writeAll(root + "/notes.txt", "kept"));

        QCOMPARE(urls(THistoryIndexReader::search(root, "news")),
                 QStringList({"http://other.test/NEWS", "http://news.test/"}));
        QCOMPARE(THistoryIndexReader::search(root, "HEADLINES").size(), 1);
        QVERIFY(THistoryIndexReader::search(root, "").isEmpty());
        QCOMPARE(THistoryIndexReader::search(root, "news").first().caption(),
                 QString("http://other.test/NEWS"));

        QVERIFY(THistoryIndexReader::clear(root));
        QVERIFY(THistoryIndexReader::periods(root).isEmpty());
        QVERIFY(QFile::exists(root + "/notes.txt"));
        QVERIFY(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_THistoryIndex)
#include "tst_THistoryIndex.moc"
