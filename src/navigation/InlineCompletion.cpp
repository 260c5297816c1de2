#include "navigation/InlineCompletion.h"

namespace
{
const QString HttpPrefix = QStringLiteral("http://");

int firstStartingWith(const QStringList& list, const QString& start)
{
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).startsWith(start, Qt::CaseInsensitive))
            return int(i);
    return -1;
}
} // namespace

bool InlineCompletion::IsCompletingText(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

std::optional<InlineCompletion::Result> InlineCompletion::Complete(const QStringList& list,
                                                                   const QString& beforeCaret,
                                                                   const QString& typed)
{
    if (!IsCompletingText(typed))
        return std::nullopt;
    const QString text = beforeCaret + typed;
    const int typedLength = int(text.size());

    const int direct = firstStartingWith(list, text);
    if (direct >= 0)
    {
        const QString& entry = list.at(direct);
        return Result{direct, entry, typedLength, int(entry.size()) - typedLength};
    }

    // While the text could still become "http://" itself, looking for
    // "http://" + text would complete the scheme the user is typing.
    const bool couldBeScheme = text.size() < HttpPrefix.size() && HttpPrefix.startsWith(text);
    if (couldBeScheme)
        return std::nullopt;
    const int viaHttp = firstStartingWith(list, HttpPrefix + text);
    if (viaHttp < 0)
        return std::nullopt;
    const QString shown = list.at(viaHttp).mid(HttpPrefix.size());
    return Result{viaHttp, shown, typedLength, int(shown.size()) - typedLength};
}
