#include "navigation/AddressAffixes.h"

#include "core/settings/TQWOptions.h"

#include <array>

AddressAffixes AddressAffixes::FromOptions(const TQWOptions& options)
{
    AddressAffixes affixes;
    affixes.CtrlShiftPre = options.CtrlShiftPre();
    affixes.CtrlShiftPost = options.CtrlShiftPost();
    affixes.CtrlPre = options.CtrlPre();
    affixes.CtrlPost = options.CtrlPost();
    affixes.ShiftPre = options.ShiftPre();
    affixes.ShiftPost = options.ShiftPost();
    return affixes;
}

QString AddressAffixes::Apply(const QString& text, bool ctrl, bool shift) const
{
    if (ctrl && shift)
        return AddSuffix(AddPrefix(text, CtrlShiftPre), CtrlShiftPost);
    if (ctrl)
        return AddSuffix(AddPrefix(text, CtrlPre), CtrlPost);
    if (shift)
        return AddSuffix(AddPrefix(text, ShiftPre), ShiftPost);
    return text;
}

bool AddressAffixes::HasKnownEnding(const QString& text)
{
    static const std::array<QLatin1String, 6> endings = {
        QLatin1String(".com"),  QLatin1String(".com/"), QLatin1String(".org"),
        QLatin1String(".org/"), QLatin1String(".net"),  QLatin1String(".net/")};
    for (const QLatin1String& ending : endings)
        if (text.endsWith(ending))
            return true;
    return false;
}

QString AddressAffixes::AddPrefix(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix) ? text : prefix + text;
}

QString AddressAffixes::AddSuffix(const QString& text, const QString& suffix)
{
    if (suffix.isEmpty() || HasKnownEnding(text) || text.endsWith(suffix) ||
        text.endsWith(suffix + QLatin1Char('/')))
        return text;
    return text + suffix;
}
