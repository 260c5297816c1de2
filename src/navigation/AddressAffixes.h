#pragma once

#include <QString>

class TQWOptions;

// What Enter with Ctrl and/or Shift puts around the text of the address
// box: a prefix in front unless the text already begins with it, and a
// suffix at the end unless the text already ends in a usual top-level
// domain or in that suffix.
class AddressAffixes
{
public:
    QString CtrlShiftPre;
    QString CtrlShiftPost;
    QString CtrlPre;
    QString CtrlPost;
    QString ShiftPre;
    QString ShiftPost;

    // The six values of the settings of the same names.
    static AddressAffixes FromOptions(const TQWOptions& options);

    // The text as Enter with these modifiers submits it. Plain Enter
    // leaves it as it is. Both tests are case-sensitive.
    QString Apply(const QString& text, bool ctrl, bool shift) const;

    // Endings that never get a second suffix, whatever the suffix is.
    static bool HasKnownEnding(const QString& text);
    static QString AddPrefix(const QString& text, const QString& prefix);
    static QString AddSuffix(const QString& text, const QString& suffix);
};
