#include "core/engine/THistoryIndex.h"

#include "core/engine/HistoryLock.h"
#include "core/engine/SpecialFileAddress.h"
#include "core/engine/THistoryIndexReader.h"
#include "core/store/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace
{
using Entry = THistoryIndexReader::Entry;

// Control bytes would end the address early or be taken for the title mark.
QByteArray encodeAddress(const QString& url)
{
    const QByteArray utf8 = url.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8)
    {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
        {
            out += '%';
            out += QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        }
        else
            out += c;
    }
    return out;
}

QByteArray encodeTitle(const QString& title)
{
    QString text = title;
    if (text.size() > THistoryIndex::MaxTitleLength)
    {
        qsizetype cut = THistoryIndex::MaxTitleLength;
        if (text.at(cut - 1).isHighSurrogate())
            --cut;
        text.truncate(cut);
    }
    for (QChar& c : text)
    {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return text.toUtf8();
}

void putCount(char* p, quint32 count)
{
    p[0] = char(count & 0xff);
    p[1] = char((count >> 8) & 0xff);
    p[2] = char((count >> 16) & 0xff);
    p[3] = char((count >> 24) & 0xff);
}

QString dateName(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

// One entry per address, the latest visit's time and (non-empty) title,
// ordered by visit time.
QList<Entry> mergeEntries(const QList<Entry>& entries)
{
    QList<Entry> merged;
    QHash<QString, qsizetype> position;
    for (const Entry& entry : entries)
    {
        const auto it = position.constFind(entry.url);
        if (it == position.cend())
        {
            position.insert(entry.url, merged.size());
            merged.append(entry);
            continue;
        }
        Entry& kept = merged[*it];
        if (entry.visitedMs >= kept.visitedMs)
        {
            kept.visitedMs = entry.visitedMs;
            if (!entry.title.isEmpty())
                kept.title = entry.title;
        }
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const Entry& a, const Entry& b) { return a.visitedMs < b.visitedMs; });
    return merged;
}

bool writeWhole(const QString& indexPath, const QList<Entry>& entries)
{
    QByteArray data;
    for (const Entry& entry : entries)
        data += THistoryIndex::encodeEntry(entry.url, entry.title, entry.visitedMs);
    QDir().mkpath(QFileInfo(indexPath).absolutePath());
    QSaveFile file(indexPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(data);
    return file.commit();
}

bool mergeWeek(const QDir& root, const QDate& monday, const QStringList& dayFolders)
{
    const QString weekIndex = QDir(root.filePath(QStringLiteral("week-") + dateName(monday)))
                                  .filePath(THistoryIndex::indexFileName());
    bool ok = true;
    QList<Entry> entries = THistoryIndexReader::readFile(weekIndex, &ok);
    if (!ok)
        return false;
    for (const QString& day : dayFolders)
    {
        entries += THistoryIndexReader::readFile(
            QDir(root.filePath(day)).filePath(THistoryIndex::indexFileName()), &ok);
        // An unreadable day stays where it is rather than being lost.
        if (!ok)
            return false;
    }
    if (!writeWhole(weekIndex, mergeEntries(entries)))
        return false;
    for (const QString& day : dayFolders)
    {
        QFile::remove(QDir(root.filePath(day)).filePath(THistoryIndex::indexFileName()));
        root.rmdir(day);
    }
    return true;
}
} // namespace

QString THistoryIndex::defaultRoot()
{
    return QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("History"));
}

bool THistoryIndex::isRecordable(const QString& url)
{
    const QString trimmed = url.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QString scheme = QUrl(trimmed).scheme().toLower();
    static const QStringList notHistory = {
        QStringLiteral("about"),       QStringLiteral("data"),     QStringLiteral("javascript"),
        QStringLiteral("quillwave"),   QStringLiteral("blob"),     QStringLiteral("chrome"),
        QStringLiteral("view-source"), QStringLiteral("devtools"),
    };
    return !notHistory.contains(scheme);
}

QDate THistoryIndex::weekStart(const QDate& day)
{
    return day.addDays(1 - day.dayOfWeek());
}

QString THistoryIndex::periodFolderName(const QDate& day, const QDate& today)
{
    if (weekStart(day) >= weekStart(today))
        return QStringLiteral("day-") + dateName(day);
    return QStringLiteral("week-") + dateName(weekStart(day));
}

quint32 THistoryIndex::safeBlockCount(quint32 blocks)
{
    // The smallest larger number changes the highest 0x40 byte to 0x41 and
    // clears the bytes below it; every number in between still holds 0x40.
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        if (((blocks >> shift) & 0xff) == 0x40)
        {
            const quint32 keepMask = shift == 24 ? 0u : ~((quint32(1) << (shift + 8)) - 1);
            return (blocks & keepMask) | (quint32(0x41) << shift);
        }
    }
    return blocks;
}

QByteArray THistoryIndex::encodeEntry(const QString& url, const QString& title, qint64 visitedMs,
                                      quint32 minimumBlocks)
{
    const QByteArray address = encodeAddress(url);
    if (address.isEmpty() || address.size() > MaxAddressBytes)
        return {};
    const QByteArray text = encodeTitle(title);
    const QByteArray time = QByteArray::number(std::max<qint64>(visitedMs, 0));

    QByteArray entry;
    entry.reserve(16 + address.size() + text.size() + time.size());
    entry.append("U\0\0\0\0\0\0\0@", 9);
    entry += address;
    entry.append("\0\x1f", 2);
    entry += text;
    entry.append("\0\0", 2);
    entry += time;
    entry.append('\0');
    // One more zero so that the entry always ends in two zero bytes: a torn
    // rewrite of the title can then never lose the title's end mark.
    const qsizetype needed = entry.size() + 1;
    quint32 blocks = quint32((needed + BlockSize - 1) / BlockSize);
    blocks = safeBlockCount(std::max(blocks, minimumBlocks));
    entry.resize(qsizetype(blocks) * BlockSize, '\0');
    putCount(entry.data() + 4, blocks);
    return entry;
}

bool THistoryIndex::writeVisit(const QString& indexPath, const QString& url, const QString& title,
                               qint64 visitedMs)
{
    const QByteArray fresh = encodeEntry(url, title, visitedMs);
    if (fresh.isEmpty())
        return false;
    if (!QDir().mkpath(QFileInfo(indexPath).absolutePath()))
        return false;
    // Opening a pipe (or a device) waits for its other end, possibly for ever.
    if (SpecialFileAddress::isSpecialFile(indexPath))
        return false;
    QFile file(indexPath);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray data = file.readAll();
    qint64 validEnd = 0;
    const QList<THistoryIndexReader::Located> entries = THistoryIndexReader::scan(data, &validEnd);
    // A torn tail would otherwise swallow the entries appended after it.
    if (validEnd < file.size() && !file.resize(validEnd))
        return false;
    // So would a damaged header before it once the file grows. It is no
    // entry, so nothing readable is lost by spoiling its kind byte; the
    // letter put there is no byte a reader looks for inside an entry, so no
    // other block reads differently.
    for (const qint64 block : THistoryIndexReader::overreachingHeaders(data.left(validEnd)))
        if (!file.seek(block * BlockSize) || file.write("X", 1) != 1)
            return false;

    const QString address = QString::fromUtf8(encodeAddress(url));
    const auto old =
        std::find_if(entries.crbegin(), entries.crend(),
                     [&](const auto& located) { return located.entry.url == address; });
    if (old == entries.crend())
        return file.seek(validEnd) && file.write(fresh) == fresh.size() && file.flush();

    const QString keptTitle = title.isEmpty() ? old->entry.title : title;
    const QByteArray updated = encodeEntry(url, keptTitle, visitedMs, old->blockCount);
    const qint64 oldOffset = old->firstBlock * BlockSize;
    if (updated.size() == qint64(old->blockCount) * BlockSize)
        return file.seek(oldOffset) && file.write(updated) == updated.size() && file.flush();

    // Longer than the old entry: the new one is complete before the old
    // one is given up, so an interruption leaves at worst both.
    if (!file.seek(validEnd) || file.write(updated) != updated.size() || !file.flush())
        return false;
    return file.seek(oldOffset) && file.write("R", 1) == 1 && file.flush();
}

bool THistoryIndex::mergeEarlierDays(const QString& historyRoot, const QDate& today)
{
    const QDir root(historyRoot);
    const QDate thisWeek = weekStart(today);
    QMap<QDate, QStringList> byWeek;
    const QStringList folders = root.entryList({QStringLiteral("day-*")}, QDir::Dirs, QDir::Name);
    for (const QString& name : folders)
    {
        const THistoryIndexReader::Period period = THistoryIndexReader::periodFromName(name);
        if (period.kind != THistoryIndexReader::Period::Day)
            continue;
        const QDate monday = weekStart(period.first);
        if (monday < thisWeek)
            byWeek[monday].append(name);
    }
    bool ok = true;
    for (auto it = byWeek.cbegin(); it != byWeek.cend(); ++it)
        ok = mergeWeek(root, it.key(), it.value()) && ok;
    return ok;
}

bool THistoryIndex::recordVisit(const QString& url, const QString& title)
{
    return recordVisit(url, title, QDateTime::currentDateTime(), defaultRoot());
}

bool THistoryIndex::recordVisit(const QString& url, const QString& title, const QDateTime& when,
                                const QString& historyRoot)
{
    if (!isRecordable(url) || !when.isValid())
        return false;
    if (!QDir().mkpath(historyRoot))
        return false;
    HistoryLock lock(historyRoot);
    if (!lock.tryLock(5000))
        return false;
    const QDate today = when.toLocalTime().date();
    // A failed merge keeps its day folders for the next visit to try again;
    // the visit itself is still recorded.
    mergeEarlierDays(historyRoot, today);
    const QString index =
        QDir(QDir(historyRoot).filePath(periodFolderName(today, today))).filePath(indexFileName());
    return writeVisit(index, url.trimmed(), title, when.toMSecsSinceEpoch());
}

bool THistoryIndex::removeEntries(const QString& historyRoot, const QString& indexPath,
                                  const std::function<bool(const QString& url)>& drop)
{
    HistoryLock lock(historyRoot);
    if (!lock.tryLock(5000) || SpecialFileAddress::isSpecialFile(indexPath))
        return false;
    QFile file(indexPath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();
    // Kept entries keep their bytes; tombstones and a torn tail go.
    QByteArray kept;
    for (const THistoryIndexReader::Located& located : THistoryIndexReader::scan(data))
    {
        if (!drop(located.entry.url))
            kept += data.mid(located.firstBlock * BlockSize, qsizetype(located.blockCount) * BlockSize);
    }
    if (!kept.isEmpty())
    {
        QSaveFile save(indexPath);
        return save.open(QIODevice::WriteOnly) && save.write(kept) == kept.size() && save.commit();
    }
    if (!QFile::remove(indexPath))
        return false;
    const QFileInfo folder(QFileInfo(indexPath).absolutePath());
    if (QDir(folder.absoluteFilePath()) != QDir(historyRoot))
        QDir(folder.absolutePath()).rmdir(folder.fileName()); // only when nothing else is in it
    return true;
}
