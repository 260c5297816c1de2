#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The tabs the user closed last, most recent first, for reopening them.
//
// Each entry keeps what makes the tab the user's: its address, its title
// for the menu, its sticky name, its lock, its place in the tab strip and
// its back/forward history as the engine saved it (empty where the engine
// cannot). A tab without a page of its own (no address, or the blank page)
// is not worth reopening and is not kept.
//
// The list can be written to a file and read back. The file is written
// whole or not at all; a file that cannot be read, or whose content makes
// no sense, gives an empty list, and single entries that make no sense are
// left out.
class TClosedTabs
{
public:
    static constexpr int Limit = 20;
    // A file larger than this is not a list this program wrote.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    struct Entry
    {
        QString address;
        QString title;
        QString stickyName;
        bool locked = false;
        // Among the visible tabs, when the tab closed.
        int index = 0;
        QByteArray history;

        bool operator==(const Entry&) const = default;
    };

    // Whether a tab with this address is kept when it closes.
    static bool IsWorthKeeping(const QString& address);

    // Puts entry first; the oldest goes beyond Limit. False (and nothing
    // kept) when the entry is not worth keeping.
    bool Record(const Entry& entry);
    // Removes and returns entry i (0 = the most recent); an entry with an
    // empty address when there is none.
    Entry Take(int i);
    const QList<Entry>& Entries() const { return m_entries; }
    int Count() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.isEmpty(); }
    void Clear() { m_entries.clear(); }

    QByteArray ToJson() const;
    static TClosedTabs FromJson(const QByteArray& json);

    // Writes the list to path (an empty list removes the file); false when
    // it could not be written.
    bool Save(const QString& path) const;
    static TClosedTabs Load(const QString& path);

private:
    QList<Entry> m_entries;
};
