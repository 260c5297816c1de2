#include "core/engine/THistoryIndexReader.h"

#include "core/engine/HistoryLock.h"
#include "core/engine/THistoryIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace
{
constexpr qint64 Block = THistoryIndex::BlockSize;

quint32 readCount(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

// The header every entry and tombstone of ours starts with: the kind byte,
// three zero bytes and a block count that fits the rest of the file. The
// zero bytes matter: text inside an entry never holds three zero bytes in a
// row, so a continuation block can never pass for a header.
bool headerFits(const char* p, qint64 block, qint64 totalBlocks, quint32* count)
{
    if (p[1] != 0 || p[2] != 0 || p[3] != 0)
        return false;
    const quint32 n = readCount(p + 4);
    if (n == 0 || qint64(n) > totalBlocks - block)
        return false;
    *count = n;
    return true;
}

const char* findByte(const char* from, const char* end, char byte)
{
    return static_cast<const char*>(std::memchr(from, byte, size_t(end - from)));
}

// Parses the text of a complete entry. False when it is not well formed.
bool parseEntry(const char* p, const char* end, THistoryIndexReader::Entry* entry)
{
    THistoryIndexReader::Fields fields;
    if (!THistoryIndexReader::locateFields(p, end, &fields))
        return false;
    qint64 ms = 0;
    int digits = 0;
    for (const char* d = fields.title + fields.titleSize + 2;
         d < end && *d >= '0' && *d <= '9' && digits < 18; ++d)
    {
        ms = ms * 10 + (*d - '0');
        ++digits;
    }
    entry->url = QString::fromUtf8(fields.address, fields.addressSize);
    entry->title = QString::fromUtf8(fields.title, fields.titleSize);
    entry->visitedMs = ms;
    return true;
}

bool isIndexFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool periodNewerFirst(const THistoryIndexReader::Period& a, const THistoryIndexReader::Period& b)
{
    using Period = THistoryIndexReader::Period;
    const bool aDated = a.kind != Period::Other;
    const bool bDated = b.kind != Period::Other;
    if (aDated != bDated)
        return aDated;
    if (aDated)
    {
        if (a.first != b.first)
            return a.first > b.first;
        return a.kind == Period::Day && b.kind == Period::Week;
    }
    // The root's own file (empty name) comes last.
    if (a.name.isEmpty() != b.name.isEmpty())
        return !a.name.isEmpty();
    return a.name < b.name;
}
} // namespace

bool THistoryIndexReader::locateFields(const char* p, const char* end, Fields* fields)
{
    if (end - p < 8)
        return false;
    // Bytes 4..7 are the block count, which never holds '@' in our files.
    const char* at = findByte(p + 8, end, '@');
    if (!at)
        return false;
    const char* address = at + 1;
    const char* addressEnd = findByte(address, end, '\0');
    if (!addressEnd || addressEnd == address || addressEnd + 1 >= end || addressEnd[1] != '\x1f')
        return false;
    const char* title = addressEnd + 2;
    const char* titleEnd = title;
    while (true)
    {
        titleEnd = findByte(titleEnd, end, '\0');
        if (!titleEnd || titleEnd + 1 >= end)
            return false;
        if (titleEnd[1] == '\0')
            break;
        ++titleEnd;
    }
    fields->address = address;
    fields->addressSize = addressEnd - address;
    fields->title = title;
    fields->titleSize = titleEnd - title;
    return true;
}

QDateTime THistoryIndexReader::Entry::visited() const
{
    if (visitedMs <= 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(visitedMs, Qt::UTC);
}

namespace
{
// Calls found(entry, firstBlock, blockCount) for every live entry in file
// order and skipped(block) for every block that neither begins nor lies in
// a well-formed entry or tombstone; returns the byte offset just past the
// last well-formed entry or tombstone.
template <typename Found, typename Skipped>
qint64 walk(const QByteArray& data, Found&& found, Skipped&& skipped)
{
    qint64 end = 0;
    const qint64 totalBlocks = data.size() / Block;
    const char* base = data.constData();
    qint64 block = 0;
    THistoryIndexReader::Entry entry;
    while (block < totalBlocks)
    {
        const char* p = base + block * Block;
        quint32 count = 0;
        if ((p[0] == 'U' || p[0] == 'R') && headerFits(p, block, totalBlocks, &count) &&
            parseEntry(p, p + qint64(count) * Block, &entry))
        {
            if (p[0] == 'U')
                found(std::move(entry), block, count);
            block += count;
            end = block * Block;
            continue;
        }
        skipped(block);
        ++block;
    }
    return end;
}

template <typename Found> qint64 walk(const QByteArray& data, Found&& found)
{
    return walk(data, std::forward<Found>(found), [](qint64) {});
}
} // namespace

QList<THistoryIndexReader::Located> THistoryIndexReader::scan(const QByteArray& data,
                                                              qint64* validEnd)
{
    QList<Located> found;
    const qint64 end = walk(data,
                            [&](Entry&& entry, qint64 block, quint32 count) {
                                found.append(Located{std::move(entry), block, count});
                            });
    if (validEnd)
        *validEnd = end;
    return found;
}

QList<qint64> THistoryIndexReader::overreachingHeaders(const QByteArray& data)
{
    QList<qint64> blocks;
    const qint64 validEnd = walk(
        data, [](Entry&&, qint64, quint32) {},
        [&](qint64 block)
        {
            const char* p = data.constData() + block * Block;
            if ((p[0] == 'U' || p[0] == 'R') && p[1] == 0 && p[2] == 0 && p[3] == 0)
                blocks.append(block);
        });
    // Only a count that reaches past the well-formed part can ever fit later.
    blocks.removeIf(
        [&](qint64 block)
        { return block + readCount(data.constData() + block * Block + 4) <= validEnd / Block; });
    return blocks;
}

QList<THistoryIndexReader::Entry> THistoryIndexReader::parse(const QByteArray& data)
{
    QList<Entry> entries;
    walk(data, [&](Entry&& entry, qint64, quint32) { entries.append(std::move(entry)); });
    return entries;
}

QList<THistoryIndexReader::Entry> THistoryIndexReader::readFile(const QString& indexPath, bool* ok)
{
    if (ok)
        *ok = true;
    QFile file(indexPath);
    if (!file.exists())
        return {};
    // Opening a pipe (or a device) waits for a writer, possibly for ever.
    if (!QFileInfo(indexPath).isFile() || !file.open(QIODevice::ReadOnly))
    {
        if (ok)
            *ok = false;
        return {};
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
    {
        if (ok)
            *ok = false;
        return {};
    }
    return parse(data);
}

THistoryIndexReader::Period THistoryIndexReader::periodFromName(const QString& folderName)
{
    Period period;
    period.name = folderName;
    const auto dated = [&](const QString& prefix, Period::Kind kind, int days)
    {
        if (!folderName.startsWith(prefix))
            return false;
        const QDate date = QDate::fromString(folderName.mid(prefix.size()), Qt::ISODate);
        if (!date.isValid())
            return false;
        period.kind = kind;
        period.first = date;
        period.last = date.addDays(days);
        return true;
    };
    if (!dated(QStringLiteral("day-"), Period::Day, 0))
        dated(QStringLiteral("week-"), Period::Week, 6);
    return period;
}

QList<THistoryIndexReader::Period> THistoryIndexReader::periods(const QString& historyRoot)
{
    QList<Period> list;
    const QDir root(historyRoot);
    if (!root.exists())
        return list;
    const QStringList folders = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : folders)
    {
        if (name.startsWith(u'.'))
            continue;
        const QString index = QDir(root.filePath(name)).filePath(THistoryIndex::indexFileName());
        if (!isIndexFile(index))
            continue;
        Period period = periodFromName(name);
        period.indexPath = index;
        list.append(period);
    }
    const QString ownIndex = root.filePath(THistoryIndex::indexFileName());
    if (isIndexFile(ownIndex))
    {
        Period period;
        period.indexPath = ownIndex;
        list.append(period);
    }
    std::stable_sort(list.begin(), list.end(), periodNewerFirst);
    return list;
}

QList<THistoryIndexReader::Entry> THistoryIndexReader::allEntries(const QString& historyRoot)
{
    QList<Entry> entries;
    for (const Period& period : periods(historyRoot))
        entries += readFile(period.indexPath);
    return entries;
}

bool THistoryIndexReader::clear(const QString& historyRoot)
{
    const QDir root(historyRoot);
    if (!root.exists())
        return true;
    // Writers of other running copies must not append into a file being removed.
    HistoryLock lock(historyRoot);
    if (!lock.tryLock(5000))
        return false;
    bool removedAll = true;
    for (const Period& period : periods(historyRoot))
    {
        if (!QFile::remove(period.indexPath))
        {
            removedAll = false;
            continue;
        }
        if (!period.name.isEmpty())
            root.rmdir(period.name); // only when nothing else is in it
    }
    return removedAll;
}
