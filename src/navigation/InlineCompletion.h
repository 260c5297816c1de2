#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The address box's own inline completion: a character typed at the caret
// completes the text to the first address of the typed list that begins
// with what is typed (ignoring case), or, failing that, to the first that
// begins with "http://" and what is typed, shown without the "http://".
// The completed part is selected so that typing on replaces it.
class InlineCompletion
{
public:
    struct Result
    {
        int index = -1;          // the entry of the list
        QString text;            // what the box shows
        int selectionStart = 0;  // the completed part: from here...
        int selectionLength = 0; // ...to the end of text
    };

    // beforeCaret: the box's text up to the selection start; typed: the new
    // character(s). Nothing when no entry fits: the character is then
    // processed normally.
    static std::optional<Result> Complete(const QStringList& list, const QString& beforeCaret,
                                          const QString& typed);

    // Whether a key's text may start a completion: control characters
    // (Backspace, Tab, Escape, Delete) never do.
    static bool IsCompletingText(const QString& text);
};
