#include "navigation/QuickSearch.h"

#include <QUrl>

QuickSearch::Split QuickSearch::SplitText(const QString& text)
{
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {false, QString(), QString()};
    return {true, text.left(blank), text.mid(blank + 1)};
}

QString QuickSearch::Lookup(const QStringList& lines, const QString& keyword)
{
    if (keyword.isEmpty())
        return QString();
    for (const QString& line : lines)
    {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        if (QStringView(line).left(equals).compare(keyword, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return QString();
}

QString QuickSearch::EncodedWords(const QString& words)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(words));
}

QString QuickSearch::DefaultSearchAddress(const QString& words)
{
    // The redirect reads its words back from the query: anything that could
    // end or split the "kw" value must arrive encoded.
    return SearchTemplate::Expand(DefaultTemplate, EncodedWords(words)).text;
}

QuickSearch::Outcome QuickSearch::Resolve(const QStringList& lines, const QString& text)
{
    const Split split = SplitText(text);
    Outcome outcome;
    if (!split.isSearch)
    {
        outcome.kind = Outcome::Address;
        outcome.address = text;
        return outcome;
    }
    const QString found = Lookup(lines, split.keyword);
    if (found.isEmpty())
    {
        outcome.kind = Outcome::Search;
        outcome.searchTemplate = DefaultTemplate;
        outcome.address = DefaultSearchAddress(split.words);
        return outcome;
    }
    outcome.keyword = split.keyword;
    outcome.searchTemplate = found;
    // Typed as they are, "a&b" would end the search service's parameter at
    // the "&", "c#" would lose everything from "#" on and "1+1" would arrive
    // as "1 1": the service is to get exactly what the user typed.
    const SearchTemplate::Result expanded =
        SearchTemplate::Expand(found, EncodedWords(split.words));
    if (!expanded.ok())
    {
        outcome.kind = Outcome::BadTemplate;
        outcome.error = expanded.error;
        return outcome;
    }
    outcome.kind = Outcome::Search;
    outcome.address = expanded.text;
    return outcome;
}
