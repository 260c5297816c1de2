#pragma once

#include "core/engine/IBrowserControl.h"

#include <QList>
#include <QString>

// Save As's file name and format. The save dialog lists the formats in the
// order of Formats(); what the user types wins over the type chosen in the
// dialog where the two disagree, since the file must open as what its name
// says.
class PageSaveChoice
{
public:
    struct Choice
    {
        QString path;
        PageSaveFormat format;
        bool operator==(const Choice& other) const
        {
            return path == other.path && format == other.format;
        }
    };

    static const QList<PageSaveFormat>& Formats();
    // Without the dot: "html", "mhtml", "txt".
    static QString Suffix(PageSaveFormat format);

    // The name the dialog offers: the page's title made safe as a file name
    // (no folder separators, no characters other systems refuse, not hidden,
    // of a sensible length), else the address's host, else "page"; with the
    // format's suffix.
    static QString SuggestedName(const QString& title, const QString& url, PageSaveFormat format);

    // What to write for path typed with chosenType selected: a suffix of a
    // format decides the format; any other name gets the chosen type and its
    // suffix.
    static Choice Decide(const QString& path, PageSaveFormat chosenType);

    static constexpr int MaxNameLength = 120;
};
