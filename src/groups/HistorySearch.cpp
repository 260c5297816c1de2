#include "groups/HistorySearch.h"

#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "groups/AsciiCaseFinder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <optional>

namespace
{
constexpr qsizetype Block = THistoryIndex::BlockSize;

quint32 blockCount(const char* p)
{
    const auto* u = reinterpret_cast<const unsigned char*>(p + 4);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

// The search text, matched in the bytes where it is ASCII and in the
// decoded text otherwise.
class Matcher
{
public:
    explicit Matcher(const QString& text) : m_text(text)
    {
        const QByteArray utf8 = text.toUtf8();
        if (AsciiCaseFinder::isAscii(utf8))
            m_ascii.emplace(utf8);
    }

    bool matches(const THistoryIndexReader::Fields& f) const
    {
        if (m_ascii)
            return m_ascii->foundIn(f.address, f.addressSize) ||
                   m_ascii->foundIn(f.title, f.titleSize);
        return QString::fromUtf8(f.address, f.addressSize).contains(m_text, Qt::CaseInsensitive) ||
               HistorySearch::shownTitle(f.title, f.titleSize)
                   .contains(m_text, Qt::CaseInsensitive);
    }

private:
    QString m_text;
    std::optional<AsciiCaseFinder> m_ascii;
};

void addEntry(const char* p, const char* end, const Matcher& matcher, HistorySearch::Rows& rows)
{
    THistoryIndexReader::Fields fields;
    // An entry without an address adds nothing (and leaves nothing behind).
    if (!THistoryIndexReader::locateFields(p, end, &fields) || !matcher.matches(fields))
        return;
    const QString address = QString::fromUtf8(fields.address, fields.addressSize);
    QString caption = HistorySearch::shownTitle(fields.title, fields.titleSize);
    if (caption.isEmpty())
        caption = address;
    if (caption.startsWith(QLatin1String(":Host")))
        return;
    rows.append({caption, address});
}
} // namespace

QString HistorySearch::shownTitle(const char* utf8, qsizetype size)
{
    QString title = QString::fromUtf8(utf8, size);
    title.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    return title;
}

bool HistorySearch::SearchHistoryIndex(const QString& path, const QString& text, Rows& rows)
{
    if (text.isEmpty())
        return true;
    // A pipe or a device named index.dat would keep the search waiting.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const Matcher matcher(text);
    // The engine may be appending: what lies beyond the size seen now is
    // left for the next search.
    qint64 unread = file.size() / Block * Block;
    qint64 blocksLeft = unread / Block;
    QByteArray buffer(std::min<qint64>(ChunkBytes, unread) + AsciiCaseFinder::Overread,
                      Qt::Uninitialized);
    qsizetype have = 0; // bytes in the buffer
    qsizetype at = 0;   // the next block to look at
    while (blocksLeft > 0)
    {
        // The next entry's size when its blocks are all in the buffer.
        qsizetype need = Block;
        if (have - at >= Block)
        {
            const char* p = buffer.constData() + at;
            if (*p != 'U')
            {
                at += Block;
                --blocksLeft;
                continue;
            }
            // A count of 0 or 1 is an entry of one block.
            const qint64 count = std::max<quint32>(blockCount(p), 1);
            // An entry longer than the file is an append under way or cut
            // short: nothing after it can belong to another entry.
            if (count > blocksLeft)
                break;
            need = qsizetype(count * Block);
            if (have - at >= need)
            {
                addEntry(p, p + need, matcher, rows);
                at += need;
                blocksLeft -= count;
                continue;
            }
        }
        // Keep the unfinished entry and read on behind it.
        std::memmove(buffer.data(), buffer.constData() + at, size_t(have - at));
        have -= at;
        at = 0;
        if (need + AsciiCaseFinder::Overread > buffer.size())
            buffer.resize(need + AsciiCaseFinder::Overread);
        const qint64 room = buffer.size() - AsciiCaseFinder::Overread - have;
        const qint64 got = file.read(buffer.data() + have, std::min(room, unread));
        if (got < 0)
            return false;
        if (got == 0)
            break; // cut shorter while being read
        have += got;
        unread -= got;
    }
    return true;
}

void HistorySearch::SearchHistoryFolder(const QString& folder, const QString& text, Rows& rows)
{
    if (text.isEmpty())
        return;
    // The index files of the folder and its sub-folders, newest period first.
    for (const THistoryIndexReader::Period& period : THistoryIndexReader::periods(folder))
        SearchHistoryIndex(period.indexPath, text, rows);
}
