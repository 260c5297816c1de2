#include "core/engine/TOfflineInterceptor.h"

#include <QUrl>
#include <QWebEngineUrlRequestInfo>

TOfflineInterceptor::TOfflineInterceptor(const std::atomic<bool>& offline, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), m_offline(offline)
{
}

void TOfflineInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (m_offline.load(std::memory_order_relaxed) && isBlockedOffline(info.requestUrl()))
        info.block(true);
}

bool TOfflineInterceptor::isBlockedOffline(const QUrl& url)
{
    // QUrl keeps schemes in lower case whatever was typed.
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ws") || scheme == QLatin1String("wss") ||
           scheme == QLatin1String("ftp");
}
