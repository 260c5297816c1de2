#pragma once

#include "chrome/ToolbarLayout.h"

#include <QStringList>

// Layouts written as the eye reads a toolbar: "0 1h | 2", where "|" is a
// separator, "h" marks a hidden place and numbers are buttons.
inline QString toolbarText(const QList<ToolbarEntry>& entries)
{
    QStringList words;
    for (const ToolbarEntry& entry : entries)
        words << (entry.IsSeparator() ? QStringLiteral("|") : QString::number(entry.number)) +
                     (entry.shown ? QString() : QStringLiteral("h"));
    return words.join(u' ');
}

inline QList<ToolbarEntry> toolbarEntries(const QString& text)
{
    QList<ToolbarEntry> entries;
    for (QString word : text.split(u' ', Qt::SkipEmptyParts))
    {
        const bool hidden = word.endsWith(u'h');
        if (hidden)
            word.chop(1);
        entries.append({word == QStringLiteral("|") ? -1 : word.toInt(), !hidden});
    }
    return entries;
}
