// History index files: read by every copy of the program, possibly while
// another copy writes, and left torn by a copy that was killed.
#include "FuzzSupport.h"

#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data = fuzzInput(bytes, size);
    const QString path = FuzzSupport::writeFile(QStringLiteral("index.dat"), data);
    bool ok = false;
    const QList<THistoryIndexReader::Entry> entries = THistoryIndexReader::readFile(path, &ok);
    FUZZ_CHECK(ok);

    qint64 validEnd = -1;
    const QList<THistoryIndexReader::Located> located = THistoryIndexReader::scan(data, &validEnd);
    FUZZ_CHECK(located.size() == entries.size());
    FUZZ_CHECK(validEnd >= 0 && validEnd <= data.size() &&
               validEnd % THistoryIndex::BlockSize == 0);
    qint64 nextFree = 0;
    for (qsizetype i = 0; i < located.size(); ++i)
    {
        const THistoryIndexReader::Located& at = located.at(i);
        FUZZ_CHECK(at.entry.url == entries.at(i).url && at.entry.title == entries.at(i).title);
        FUZZ_CHECK(!at.entry.url.isEmpty() && at.entry.visitedMs >= 0);
        // Entries lie one after another inside the well-formed part.
        FUZZ_CHECK(at.firstBlock >= nextFree && at.blockCount > 0);
        nextFree = at.firstBlock + at.blockCount;
        FUZZ_CHECK(nextFree * THistoryIndex::BlockSize <= validEnd);
    }

    // A visit recorded into the file keeps every entry that was readable
    // before, and is read back itself.
    const QString url = QStringLiteral("https://fuzz.example/") + QString::number(size);
    const QString title = QString::fromUtf8(data.left(64));
    FUZZ_CHECK(THistoryIndex::writeVisit(path, url, title, 1234567890123));
    const QList<THistoryIndexReader::Entry> after = THistoryIndexReader::readFile(path, &ok);
    FUZZ_CHECK(ok);
    qsizetype kept = 0;
    int recorded = 0;
    for (const THistoryIndexReader::Entry& entry : after)
    {
        if (entry.url == url)
        {
            ++recorded;
            continue;
        }
        // Every earlier entry is still there, in its order.
        while (kept < entries.size() && entries.at(kept).url == url)
            ++kept;
        FUZZ_CHECK(kept < entries.size() && entries.at(kept).url == entry.url &&
                   entries.at(kept).title == entry.title);
        ++kept;
    }
    while (kept < entries.size() && entries.at(kept).url == url)
        ++kept;
    FUZZ_CHECK(kept == entries.size());
    FUZZ_CHECK(recorded >= 1);
    return 0;
}
