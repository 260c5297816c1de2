#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

// Writes the history index: one folder per period under the History folder,
// each with an "index.dat" made of 128-byte blocks.
//
// Period folders (local dates):
//   "day-YYYY-MM-DD"   a day of the current week (weeks begin on Monday)
//   "week-YYYY-MM-DD"  an earlier week, named by its Monday
// A visit goes into its day's folder. When a visit is recorded in a later
// week, the day folders of earlier weeks are merged into their week folder
// (one entry per address, the latest visit kept); the week file is written
// whole before the day folders are removed, and merging again after an
// interruption gives the same result.
//
// Entry layout (all offsets from the entry's first byte):
//   0      'U'
//   1..3   0x00 0x00 0x00
//   4..7   number of 128-byte blocks of the entry, little-endian 32-bit.
//          No byte of it is ever 0x40: a count that would hold one is raised
//          to the next count that does not, so no '@' stands before the
//          address for any entry length.
//   8      '@'
//   9..    address, UTF-8, control characters percent-encoded, then 0x00
//          0x1F, title (UTF-8, control characters replaced by blanks), 0x00 0x00
//          visit time: decimal UTC milliseconds since the epoch, then 0x00
//          zero bytes up to the end of the last block; the last two bytes of
//          an entry are always zero.
// A reader that looks for "after the first '@' the address up to a zero
// byte, after the first 0x1F the title up to two zero bytes" finds both and
// never reaches the visit time.
//
// Writes keep every earlier entry readable: a new entry is appended; a
// second visit of the same address in the same period rewrites that entry in
// place (same block count, only the title and time change) or, when the new
// title needs more blocks, appends the new entry first and only then marks
// the old one dead by changing its 'U' to 'R'. A torn append leaves a tail
// that readers skip and that the next write cuts off. Writers of all running
// copies take a lock file (".history.lock" in the History folder).
class THistoryIndex
{
public:
    static constexpr int BlockSize = 128;
    // Longer addresses (data: documents and the like) are not recorded.
    static constexpr int MaxAddressBytes = 32 * 1024;
    // Titles are cut to this many characters.
    static constexpr int MaxTitleLength = 1024;

    // ProgramPaths::programFolder()/History.
    static QString defaultRoot();

    // Records a completed top-level visit now, in the default root. False
    // when the address is not recorded (see isRecordable) or the write failed.
    static bool recordVisit(const QString& url, const QString& title);
    // The same as if the clock read `when`, in historyRoot.
    static bool recordVisit(const QString& url, const QString& title, const QDateTime& when,
                            const QString& historyRoot);

    // The program's own pages, blank pages, scripts and inline documents are
    // not history.
    static bool isRecordable(const QString& url);

    static QDate weekStart(const QDate& day);
    // "day-…" when day lies in today's week (or later), else "week-…" of its Monday.
    static QString periodFolderName(const QDate& day, const QDate& today);

    // The entry's bytes, whole blocks; empty when the address cannot be recorded.
    // minimumBlocks pads the entry to at least that many blocks.
    static QByteArray encodeEntry(const QString& url, const QString& title, qint64 visitedMs,
                                  quint32 minimumBlocks = 0);
    // The smallest count >= blocks none of whose four bytes is 0x40.
    static quint32 safeBlockCount(quint32 blocks);

    // Adds or updates the address in one index file (folder created).
    static bool writeVisit(const QString& indexPath, const QString& url, const QString& title,
                           qint64 visitedMs);
    // Merges the day folders of weeks before today's week into week folders.
    static bool mergeEarlierDays(const QString& historyRoot, const QDate& today);

    // Removes the entries of one index file of historyRoot for which drop
    // is true, under the writers' lock. The file is replaced whole (or
    // removed with its folder when nothing is left), so a reader sees
    // either the old or the new file. False when the file could not be
    // read or written; it is then left as it was.
    static bool removeEntries(const QString& historyRoot, const QString& indexPath,
                              const std::function<bool(const QString& url)>& drop);

    static QString indexFileName() { return QStringLiteral("index.dat"); }
    static QString lockFileName() { return QStringLiteral(".history.lock"); }
};
