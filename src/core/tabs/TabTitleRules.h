#pragma once

#include <QString>

// What a tab's caption and the progress panel say, from the page's title
// and the engine's progress figures.
class TabTitleRules
{
public:
    // Captions are shown with mnemonics: "&&" shows one ampersand.
    static QString literalAmpersands(const QString& text);
    // The caption for a title: at most limit characters and "..." (50 when
    // limit is not above 0), never a character cut in two; the blank page
    // is blankText.
    static QString shortenTitle(const QString& title, int limit, const QString& blankText);
    // What a tab that has not loaded its page yet shows before any title
    // arrives: the title remembered with its address where one is known,
    // else the address's host, else the address itself.
    static QString unloadedTitle(const QString& url, const QString& knownTitle);
    // The percentage done, rounded half to even; empty before anything is.
    static QString progressText(int progress, int maximum);
};
