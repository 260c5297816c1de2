#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Reads the history index files that THistoryIndex writes (the layout is
// described there). Reading never trusts the file: a block that does not
// begin a well-formed entry is skipped on its own, an entry that claims more
// blocks than the file holds (a torn append) is skipped, and what follows is
// read again from the next block. Files are opened read-only and without the
// writers' lock: a reader may see the file mid-write and simply skips what is
// not complete yet.
class THistoryIndexReader
{
public:
    struct Entry
    {
        QString url;
        QString title;
        qint64 visitedMs = 0; // UTC milliseconds since the epoch; 0 = not recorded
        QDateTime visited() const;
        // The title, or the address when the page had none.
        QString caption() const { return title.isEmpty() ? url : title; }
    };

    // An entry with where it lies in its file, for the writer.
    struct Located
    {
        Entry entry;
        qint64 firstBlock = 0;
        quint32 blockCount = 0;
    };

    struct Period
    {
        enum Kind
        {
            Day,  // one day of the current week
            Week, // a whole earlier week, Monday to Sunday
            Other // any other folder with an index file, or the root's own file
        };
        Kind kind = Other;
        QDate first;       // the day, or the week's Monday; invalid for Other
        QDate last;        // the day, or the week's Sunday; invalid for Other
        QString name;      // folder name; empty for the root's own file
        QString indexPath; // its index.dat
    };

    // Where the address and the title lie in an entry's bytes [p, end).
    struct Fields
    {
        const char* address = nullptr;
        qsizetype addressSize = 0;
        const char* title = nullptr;
        qsizetype titleSize = 0;
    };
    // After the first '@' the address up to a zero byte, right after it
    // 0x1F and the title up to two zero bytes. False when the entry is not
    // well formed (no '@', an empty address, no title mark or end). Reads
    // nothing outside [p, end) and allocates nothing.
    static bool locateFields(const char* p, const char* end, Fields* fields);

    // Every readable entry of an index file's bytes, in file order.
    static QList<Entry> parse(const QByteArray& data);
    // The same with positions. validEnd receives the byte offset just past
    // the last well-formed entry (or tombstone): whatever lies beyond it is
    // a torn tail.
    static QList<Located> scan(const QByteArray& data, qint64* validEnd = nullptr);

    // Blocks in the well-formed part that no entry covers but that begin
    // like a header whose block count reaches past that part: once bytes
    // are appended they could fit, and would swallow the entries after them.
    static QList<qint64> overreachingHeaders(const QByteArray& data);

    // The entries of one file; false in ok when it exists but cannot be read.
    static QList<Entry> readFile(const QString& indexPath, bool* ok = nullptr);

    // Period folders of a history root that hold an index file: days and
    // weeks newest first, then other folders by name, then the root's own file.
    static QList<Period> periods(const QString& historyRoot);
    // Period of a folder name, or an invalid-dated Other period.
    static Period periodFromName(const QString& folderName);

    // Entries of all periods, newest period first, each in file order.
    static QList<Entry> allEntries(const QString& historyRoot);

    // Removes every index file of the root (and period folders left empty).
    // Other files stay. False when some index file could not be removed.
    static bool clear(const QString& historyRoot);
};
