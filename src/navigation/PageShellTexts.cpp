#include "navigation/PageShellTexts.h"

#include <QUrlQuery>

namespace
{
bool isPlainCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
           u == u' ';
}

// A name of blanks and dots only is hidden in file managers or says
// nothing; such a file gets a plain name instead.
QString orPlainName(const QString& name)
{
    for (const QChar c : name)
        if (c != u' ' && c != u'.')
            return name;
    return QStringLiteral("page");
}

// Where the host part of "scheme://host" may end at the earliest.
constexpr qsizetype BaseSearchStart = 8;
} // namespace

QString PageShellTexts::ShortcutFileName(const QString& title)
{
    QString name;
    if (title.contains(QStringLiteral("//")))
    {
        const qsizetype slash = qMax(title.lastIndexOf(u'/'), title.lastIndexOf(u'\\'));
        name = title.mid(slash + 1);
    }
    else
    {
        for (const QChar c : title)
            if (isPlainCharacter(c))
                name += c;
    }
    return orPlainName(name) + QStringLiteral(".url");
}

QString PageShellTexts::MailFileName(const QString& title)
{
    QString name = title;
    for (QChar& c : name)
        if (!isPlainCharacter(c) && c != u'.')
            c = u' ';
    return orPlainName(name) + QStringLiteral(".htm");
}

QUrl PageShellTexts::MailtoForLink(const QString& title, const QString& address)
{
    const QString subject = title + QStringLiteral(" (") + address + u')';
    const QByteArray text = "mailto:?subject=" + QUrl::toPercentEncoding(subject) +
                            "&body=" + QUrl::toPercentEncoding(address);
    return QUrl::fromEncoded(text, QUrl::StrictMode);
}

QString PageShellTexts::BaseHref(const QString& address)
{
    const qsizetype slash = address.lastIndexOf(u'/');
    if (slash >= BaseSearchStart)
        return address.left(slash + 1);
    return address + u'/';
}

QString PageShellTexts::PageForMail(const QString& html, const QString& address)
{
    // The base is written as the engine reported the address; a quote in it
    // would end the attribute early.
    QString base = BaseHref(address);
    base.replace(u'"', QStringLiteral("%22"));
    return QStringLiteral("<BASE HREF=\"") + base + QStringLiteral("\">\n") + html;
}
