#include "navigation/TSearchLists.h"

#include "core/store/RegistryKeys.h"
#include "core/settings/TQWOptions.h"

QString TSearchLists::SubKey(int mode)
{
    switch (mode)
    {
    case ModeSearchBar:
        return RegistryKeys::SearchBar;
    case ModeSearchEngines:
        return RegistryKeys::SearchEngines;
    default:
        return RegistryKeys::QuickSearch;
    }
}

TSearchLists::Entry TSearchLists::ParseLine(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {line, QString()};
    return {line.left(equals), line.mid(equals + 1)};
}

QString TSearchLists::MakeLine(const Entry& entry)
{
    return entry.title + QLatin1Char('=') + entry.address;
}

QList<TSearchLists::Entry> TSearchLists::ParseLines(const QStringList& lines)
{
    QList<Entry> entries;
    entries.reserve(lines.size());
    for (const QString& line : lines)
        entries << ParseLine(line);
    return entries;
}

QStringList TSearchLists::MakeLines(const QList<Entry>& entries)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const Entry& entry : entries)
        lines << MakeLine(entry);
    return lines;
}

QList<TSearchLists::Entry> TSearchLists::Read(const TQWOptions& options, int mode)
{
    return ParseLines(options.ReadListSection(SubKey(mode)));
}

void TSearchLists::Write(TQWOptions& options, int mode, const QList<Entry>& entries)
{
    options.WriteListSection(SubKey(mode), MakeLines(entries));
}
