#include "navigation/AddressSuggestions.h"

#include <QSet>

#include <algorithm>

AddressSuggestions::Item AddressSuggestions::MakeItem(const QString& url)
{
    Item item;
    item.url = url;
    item.folded = url.toCaseFolded();
    const qsizetype separator = item.folded.indexOf(QLatin1String("://"));
    // Only a real scheme ("http", "ftp", "view-source") counts, not a "://"
    // somewhere inside a path.
    bool isScheme = separator > 0;
    for (qsizetype i = 0; isScheme && i < separator; ++i)
    {
        const QChar c = item.folded.at(i);
        isScheme = c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
                   c == QLatin1Char('.');
    }
    item.afterScheme = isScheme ? int(separator) + 3 : 0;
    item.afterWww = item.afterScheme;
    if (QStringView(item.folded).mid(item.afterScheme).startsWith(QLatin1String("www.")))
        item.afterWww += 4;
    const auto head = [&item](int at)
    { return at < item.folded.size() ? item.folded.at(at).unicode() : char16_t(0); };
    item.heads[0] = head(0);
    item.heads[1] = item.afterScheme > 0 ? head(item.afterScheme) : 0;
    item.heads[2] = item.afterWww > item.afterScheme ? head(item.afterWww) : 0;
    return item;
}

bool AddressSuggestions::ItemFits(const Item& item, QStringView foldedText)
{
    const char16_t first = foldedText.isEmpty() ? 0 : foldedText.front().unicode();
    const QStringView folded(item.folded);
    if (item.heads[0] == first && folded.startsWith(foldedText))
        return true;
    if (item.heads[1] == first && folded.mid(item.afterScheme).startsWith(foldedText))
        return true;
    return item.heads[2] == first && folded.mid(item.afterWww).startsWith(foldedText);
}

bool AddressSuggestions::Fits(const QString& candidate, const QString& foldedText)
{
    return ItemFits(MakeItem(candidate), foldedText);
}

void AddressSuggestions::SetHistory(const QList<THistoryIndexReader::Entry>& entries)
{
    QList<const THistoryIndexReader::Entry*> ordered;
    ordered.reserve(entries.size());
    for (const THistoryIndexReader::Entry& entry : entries)
        if (!entry.url.isEmpty())
            ordered << &entry;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const THistoryIndexReader::Entry* a, const THistoryIndexReader::Entry* b)
                     { return a->visitedMs > b->visitedMs; });

    m_history.clear();
    m_history.reserve(ordered.size());
    QSet<QString> seen;
    seen.reserve(ordered.size());
    for (const THistoryIndexReader::Entry* entry : ordered)
    {
        Item item = MakeItem(entry->url);
        if (seen.contains(item.folded))
            continue;
        seen.insert(item.folded);
        m_history << std::move(item);
    }
}

QStringList AddressSuggestions::Match(const QString& typedText, const QStringList& typed,
                                      int limit) const
{
    QStringList result;
    if (typedText.isEmpty() || limit <= 0)
        return result;
    const QString foldedText = typedText.toCaseFolded();
    QSet<QString> taken;
    for (const QString& url : typed)
    {
        const Item item = MakeItem(url);
        if (taken.contains(item.folded) || !ItemFits(item, foldedText))
            continue;
        taken.insert(item.folded);
        result << url;
        if (result.size() >= limit)
            return result;
    }
    for (const Item& item : m_history)
    {
        if (!ItemFits(item, foldedText) || taken.contains(item.folded))
            continue;
        taken.insert(item.folded);
        result << item.url;
        if (result.size() >= limit)
            break;
    }
    return result;
}
