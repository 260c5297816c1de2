#include "core/engine/ClickReport.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace
{
// The engine and the document may write one address differently: an empty
// path is "/" to one and nothing to the other.
QUrl comparable(const QUrl& url)
{
    QUrl normal = url.adjusted(QUrl::NormalizePathSegments);
    if (normal.path().isEmpty() && !normal.host().isEmpty())
        normal.setPath(QStringLiteral("/"));
    return normal;
}
} // namespace

std::optional<ClickReport> ClickReport::parse(const QString& message, const QString& prefix)
{
    if (prefix.isEmpty() || !message.startsWith(prefix))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(message.mid(prefix.size()).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(QLatin1String("e")).toString() != QLatin1String("click"))
        return std::nullopt;
    return ClickReport{object.value(QLatin1String("tag")).toString(),
                       object.value(QLatin1String("href")).toString(),
                       object.value(QLatin1String("target")).toString(),
                       object.value(QLatin1String("base")).toString()};
}

bool ClickReport::matches(const QUrl& url) const
{
    if (href.isEmpty())
        return false;
    const QUrl clicked(href);
    return clicked.isValid() && comparable(clicked) == comparable(url);
}

ActivatedElement ClickReport::element() const
{
    return ActivatedElement{true, tag, target, baseTarget};
}
