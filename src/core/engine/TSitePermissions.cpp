#include "core/engine/TSitePermissions.h"

namespace
{
int defaultPort(const QString& scheme)
{
    if (scheme == QLatin1String("http") || scheme == QLatin1String("ws"))
        return 80;
    if (scheme == QLatin1String("https") || scheme == QLatin1String("wss"))
        return 443;
    if (scheme == QLatin1String("ftp"))
        return 21;
    return -1;
}
} // namespace

QString TSitePermissions::originKey(const QUrl& origin)
{
    const QString scheme = origin.scheme().toLower();
    QString key = scheme + QStringLiteral("://") + origin.host().toLower();
    const int port = origin.port();
    if (port >= 0 && port != defaultPort(scheme))
        key += u':' + QString::number(port);
    return key;
}

QString TSitePermissions::key(const QUrl& origin, QWebEnginePage::Feature feature)
{
    return originKey(origin) + u'\n' + QString::number(int(feature));
}

TSitePermissions::Answer TSitePermissions::answer(const QUrl& origin,
                                                  QWebEnginePage::Feature feature) const
{
    const auto it = m_answers.constFind(key(origin, feature));
    if (it == m_answers.cend())
        return Answer::Unknown;
    return *it ? Answer::Granted : Answer::Denied;
}

void TSitePermissions::remember(const QUrl& origin, QWebEnginePage::Feature feature, bool granted)
{
    m_answers.insert(key(origin, feature), granted);
}

void TSitePermissions::forget(const QUrl& origin)
{
    const QString prefix = originKey(origin) + u'\n';
    for (auto it = m_answers.begin(); it != m_answers.end();)
    {
        if (it.key().startsWith(prefix))
            it = m_answers.erase(it);
        else
            ++it;
    }
}

void TSitePermissions::clear()
{
    m_answers.clear();
}
