#pragma once

#include "navigation/SearchTemplate.h"

#include <QString>
#include <QStringList>

// What the address box makes of submitted text: a text without a blank is
// an address for the engine to resolve; otherwise the part before the first
// blank is a keyword of the quick-search list and the rest, as typed, is
// what is searched for: it goes into the keyword's template percent-encoded,
// so that the search service reads back exactly the typed words. An unknown
// keyword is dropped and the words go to the program's own search redirect,
// which forwards them to the user's first search engine.
class QuickSearch
{
public:
    // The redirect served under the program's own scheme; the words are
    // percent-encoded into it.
    static inline const QString DefaultTemplate = QStringLiteral("quillwave:search?f=qs&kw=%s");

    struct Split
    {
        bool isSearch = false; // false: the whole text is an address
        QString keyword;       // before the first blank (may be empty)
        QString words;         // after the first blank, unchanged (may be empty)
    };

    struct Outcome
    {
        enum Kind
        {
            Address,    // open address with AddressNewWin
            Search,     // open address with QuickSearchNewWin
            BadTemplate // the keyword's template cannot be filled: nothing opens
        };
        Kind kind = Address;
        QString address;
        QString keyword;        // the keyword whose template was used (empty: the default)
        QString searchTemplate; // the template used
        SearchTemplate::Error error = SearchTemplate::Error::None;
    };

    static Split SplitText(const QString& text);
    // The template of the first "keyword=template" line whose keyword equals
    // keyword without regard to case; empty when none (or an empty keyword).
    static QString Lookup(const QStringList& lines, const QString& keyword);
    // The whole decision for a submitted text against the quick-search list.
    static Outcome Resolve(const QStringList& lines, const QString& text);
    // The address of the default service for words.
    static QString DefaultSearchAddress(const QString& words);
    // words as they go into an address: every character but letters, digits
    // and "-._~" percent-encoded (UTF-8), a blank as "%20".
    static QString EncodedWords(const QString& words);
};
