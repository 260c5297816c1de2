#include "navigation/SearchTemplate.h"

SearchTemplate::Result SearchTemplate::Expand(const QString& searchTemplate, const QString& words)
{
    QString text;
    text.reserve(searchTemplate.size() + words.size());
    bool placed = false;
    for (qsizetype i = 0; i < searchTemplate.size(); ++i)
    {
        const QChar c = searchTemplate.at(i);
        if (c != QLatin1Char('%'))
        {
            text += c;
            continue;
        }
        const QChar next = i + 1 < searchTemplate.size() ? searchTemplate.at(i + 1) : QChar();
        if (next == QLatin1Char('%'))
        {
            text += QLatin1Char('%');
        }
        else if (next == QLatin1Char('s'))
        {
            if (placed)
                return {QString(), Error::SecondPlaceholder};
            placed = true;
            text += words;
        }
        else
        {
            return {QString(), Error::StrayPercent};
        }
        ++i;
    }
    if (!placed)
        return {QString(), Error::NoPlaceholder};
    return {text, Error::None};
}

SearchTemplate::Error SearchTemplate::Check(const QString& searchTemplate)
{
    return Expand(searchTemplate, QString()).error;
}
