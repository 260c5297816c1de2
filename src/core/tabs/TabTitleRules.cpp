#include "core/tabs/TabTitleRules.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace
{
// The first count characters, never cutting a character in two.
QString leftCharacters(const QString& text, int count)
{
    if (count > 0 && count < text.size() && text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}
} // namespace

QString TabTitleRules::literalAmpersands(const QString& text)
{
    QString result = text;
    result.replace(u'&', u"&&"_s);
    return result;
}

QString TabTitleRules::shortenTitle(const QString& title, int limit, const QString& blankText)
{
    // A negative limit is as meaningless as none: the default applies.
    const int effective = limit > 0 ? limit : 50;
    QString result = title;
    if (title.size() > effective)
        result = leftCharacters(title, effective) + u"..."_s;
    if (result == u"about:blank"_s)
        result = blankText;
    return literalAmpersands(result);
}

QString TabTitleRules::unloadedTitle(const QString& url, const QString& knownTitle)
{
    if (!knownTitle.trimmed().isEmpty())
        return knownTitle;
    const QString host = QUrl(url).host();
    return host.isEmpty() ? url : host;
}

QString TabTitleRules::progressText(int progress, int maximum)
{
    if (progress < 1 || maximum < 1)
        return QString();
    const qint64 scaled = qint64(progress) * 100;
    qint64 percent = scaled / maximum;
    const qint64 twiceRest = (scaled % maximum) * 2;
    // Halves go to the even neighbour.
    if (twiceRest > maximum || (twiceRest == maximum && percent % 2 == 1))
        ++percent;
    return QString::number(qMin<qint64>(percent, 100)) + u'%';
}
