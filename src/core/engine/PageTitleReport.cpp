#include "core/engine/PageTitleReport.h"

#include <QStringList>

bool PageTitleReport::isPlaceholder(const QString& title, const QUrl& url)
{
    if (title.isEmpty())
        return true;
    if (url.isEmpty())
        return false;
    const auto bare = [](QString name)
    {
        if (name.startsWith(QLatin1String("//")))
            name.remove(0, 2);
        while (name.endsWith(QLatin1Char('/')))
            name.chop(1);
        return name;
    };
    const QUrl::FormattingOptions hostAndPath = QUrl::RemoveScheme | QUrl::RemoveUserInfo;
    const QStringList names = {url.toString(), url.toDisplayString(),
                               bare(url.toString(hostAndPath)),
                               bare(url.toDisplayString(hostAndPath)), bare(url.toString())};
    return names.contains(title);
}

bool PageTitleReport::take(const QString& title)
{
    if (m_raised && title == m_last)
        return false;
    m_raised = true;
    m_last = title;
    return true;
}
