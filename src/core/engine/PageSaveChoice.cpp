#include "core/engine/PageSaveChoice.h"

#include <QFileInfo>
#include <QUrl>

namespace
{
// Known suffixes, lower case, per format.
bool hasSuffixOf(const QString& suffix, PageSaveFormat format)
{
    switch (format)
    {
    case PageSaveFormat::CompleteHtml:
        return suffix == u"html" || suffix == u"htm";
    case PageSaveFormat::SingleFile:
        return suffix == u"mhtml" || suffix == u"mht";
    case PageSaveFormat::PlainText:
        return suffix == u"txt";
    }
    return false;
}

bool refusedInName(QChar c)
{
    // Folder separators, and what other systems refuse, so that a saved
    // page can be copied anywhere.
    return c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c);
}
} // namespace

const QList<PageSaveFormat>& PageSaveChoice::Formats()
{
    static const QList<PageSaveFormat> formats = {
        PageSaveFormat::CompleteHtml, PageSaveFormat::SingleFile, PageSaveFormat::PlainText};
    return formats;
}

QString PageSaveChoice::Suffix(PageSaveFormat format)
{
    switch (format)
    {
    case PageSaveFormat::CompleteHtml:
        break;
    case PageSaveFormat::SingleFile:
        return QStringLiteral("mhtml");
    case PageSaveFormat::PlainText:
        return QStringLiteral("txt");
    }
    return QStringLiteral("html");
}

QString PageSaveChoice::SuggestedName(const QString& title, const QString& url,
                                      PageSaveFormat format)
{
    QString name;
    name.reserve(title.size());
    for (const QChar c : title)
        name += refusedInName(c) ? QChar(u' ') : c;
    name = name.simplified();
    // A leading dot would hide the file, or make it "." or "..".
    while (name.startsWith(u'.'))
        name = name.mid(1).trimmed();
    if (name.size() > MaxNameLength)
    {
        // Never cut between the halves of a surrogate pair.
        qsizetype cut = MaxNameLength;
        if (name.at(cut - 1).isHighSurrogate())
            --cut;
        name = name.left(cut).trimmed();
    }
    if (name.isEmpty())
        name = QUrl(url).host();
    if (name.isEmpty())
        name = QStringLiteral("page");
    return name + u'.' + Suffix(format);
}

PageSaveChoice::Choice PageSaveChoice::Decide(const QString& path, PageSaveFormat chosenType)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const PageSaveFormat format : Formats())
        if (hasSuffixOf(suffix, format))
            return {path, format};
    return {path + u'.' + Suffix(chosenType), chosenType};
}
