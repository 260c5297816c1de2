#include "chrome/VersionFetch.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace
{
// The pages follow the application's proxy when one is set, and the
// system's otherwise; the check goes the same way.
class PageProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        const QNetworkProxy application = QNetworkProxy::applicationProxy();
        if (application.type() != QNetworkProxy::NoProxy &&
            application.type() != QNetworkProxy::DefaultProxy)
            return {application};
        return systemProxyForQuery(query);
    }
};

bool isPlainText(const QVariant& contentType)
{
    const QString mime = contentType.toString().section(QLatin1Char(';'), 0, 0).trimmed();
    return mime.compare(QLatin1String("text/plain"), Qt::CaseInsensitive) == 0;
}
} // namespace

VersionFetch::VersionFetch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    m_network->setProxyFactory(new PageProxyFactory);
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    m_network->setTransferTimeout(TimeoutMs);
}

VersionFetch::~VersionFetch()
{
    if (m_reply)
    {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void VersionFetch::Get(const QUrl& url)
{
    if (m_reply)
    {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    m_body.clear();
    m_refusal.clear();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("%1/%2").arg(QCoreApplication::applicationName(),
                                                  QCoreApplication::applicationVersion()));
    request.setRawHeader("Accept", "text/plain");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setMaximumRedirectsAllowed(5);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &VersionFetch::replyMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionFetch::replyReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &VersionFetch::replyFinished);
}

void VersionFetch::replyMetaDataChanged()
{
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > MaxBytes)
        m_refusal = QStringLiteral("the answer is larger than %1 bytes").arg(MaxBytes);
    if (!m_refusal.isEmpty())
        m_reply->abort();
}

void VersionFetch::replyReadyRead()
{
    if (m_refusal.isEmpty() && !ReadFrom(m_reply))
        m_reply->abort();
}

bool VersionFetch::ReadFrom(QNetworkReply* reply)
{
    // Never more than one byte past the limit is taken in.
    m_body += reply->read(MaxBytes + 1 - m_body.size());
    if (m_body.size() <= MaxBytes)
        return true;
    m_refusal = QStringLiteral("the answer is larger than %1 bytes").arg(MaxBytes);
    return false;
}

void VersionFetch::replyFinished()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_refusal.isEmpty())
        return Fail(m_refusal);
    if (reply->error() != QNetworkReply::NoError)
        return Fail(reply->errorString());
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return Fail(QStringLiteral("HTTP status %1").arg(status));
    if (!isPlainText(reply->header(QNetworkRequest::ContentTypeHeader)))
        return Fail(QStringLiteral("the answer is not plain text"));
    if (!ReadFrom(reply))
        return Fail(m_refusal);
    emit loaded(QString::fromUtf8(m_body));
}

void VersionFetch::Fail(const QString& reason)
{
    m_body.clear();
    emit failed(reason);
}
