#pragma once

#include <QString>

class QMimeData;

// What a drop on the tab strip asks for: dropped text or links become an
// address; an Internet shortcut file stands for the address inside it; a
// script address is refused, as from any other program, since it would run
// in whatever page the tab shows.
class TabStripDrop
{
public:
    enum Outcome
    {
        Nothing, // no text, no link: not a drop the strip takes
        Open,    // address holds what to open
        Refused  // a script address
    };
    struct Decoded
    {
        Outcome outcome = Nothing;
        QString address;
    };

    // Whether the strip takes data at all (for the drag's cursor).
    static bool Accepts(const QMimeData* data);
    // The first dropped link (a local ".url" file by its address, another
    // local file by its file address), else the text trimmed of blanks.
    static Decoded Decode(const QMimeData* data);
};
