#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TQWOptions;

// The three lists of named addresses the user edits with TfrmSearchEngine:
// search-bar favourites, search engines and quick-search keywords. Each is
// a sub-key of the settings' value key, one value per entry (name = title,
// data = address), read and written with the settings' list reader and
// writer. That form decides some things: titles equal without regard to
// case are one value (the first row's address is kept), a title is cut at
// its first "=" (the rest moves into the address), and an entry without
// an address is not read back.
class TSearchLists
{
public:
    enum Mode
    {
        ModeSearchBar = 0,
        ModeSearchEngines = 1,
        ModeQuickSearch = 2
    };

    struct Entry
    {
        QString title;
        QString address;
        bool operator==(const Entry&) const = default;
    };

    // "Search Bar", "Search Engines" or "QuickSearch".
    static QString SubKey(int mode);

    // A "title=address" line split at its first "=".
    static Entry ParseLine(const QString& line);
    static QString MakeLine(const Entry& entry);
    static QList<Entry> ParseLines(const QStringList& lines);
    static QStringList MakeLines(const QList<Entry>& entries);

    static QList<Entry> Read(const TQWOptions& options, int mode);
    static void Write(TQWOptions& options, int mode, const QList<Entry>& entries);
};
