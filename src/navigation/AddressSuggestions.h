#pragma once

#include "core/engine/THistoryIndexReader.h"

#include <QList>
#include <QString>
#include <QStringList>

// The suggestions of the system-style completion: typed addresses first,
// then visited ones, most recent first. A suggestion fits when what is
// typed begins its address, or its address without the scheme ("example.org/a"
// for "https://example.org/a"), or without the scheme and a leading "www.",
// all without regard to case.
//
// History is folded once when it is set; a key stroke then walks the
// entries in order and stops as soon as it has enough, so a short prefix
// costs almost nothing and a long one at most one pass.
class AddressSuggestions
{
public:
    static constexpr int DefaultLimit = 12;

    // Visited pages, any order: kept newest first, one per address.
    void SetHistory(const QList<THistoryIndexReader::Entry>& entries);
    int HistoryCount() const { return int(m_history.size()); }

    // Typed addresses come first, in the order given; history follows
    // without repeating them.
    QStringList Match(const QString& typedText, const QStringList& typed,
                      int limit = DefaultLimit) const;

    // Whether candidate fits typedText (typedText already case-folded).
    static bool Fits(const QString& candidate, const QString& foldedText);

private:
    struct Item
    {
        QString url;
        QString folded;
        int afterScheme = 0; // index past "scheme://", 0 when none
        int afterWww = 0;    // index past a "www." there, else afterScheme
        // The first character of each of the three beginnings (0: none), so
        // that most entries are passed over without reading their text.
        char16_t heads[3] = {0, 0, 0};
    };
    static Item MakeItem(const QString& url);
    static bool ItemFits(const Item& item, QStringView foldedText);

    QList<Item> m_history;
};
