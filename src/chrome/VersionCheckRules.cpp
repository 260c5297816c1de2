#include "chrome/VersionCheckRules.h"

#include <QStringList>

namespace
{
const QDate DayZero(1899, 12, 30);

bool isWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}
} // namespace

qint64 VersionCheckRules::DayNumber(const QDate& date)
{
    return DayZero.daysTo(date);
}

QDate VersionCheckRules::DateOfDay(qint64 day)
{
    return DayZero.addDays(day);
}

bool VersionCheckRules::ContactDue(const QDate& today, qint64 lastPong)
{
    return DayNumber(today) != lastPong;
}

bool VersionCheckRules::FirstContactOfMonth(const QDate& today, qint64 lastPong)
{
    const QDate last = DateOfDay(lastPong);
    return !(last.isValid() && last.year() == today.year() && last.month() == today.month());
}

std::optional<QUrl> VersionCheckRules::RequestUrl(const QString& server, bool isNew, bool monthFlag)
{
    QUrl url(server.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !isWebScheme(url.scheme()) || url.host().isEmpty() ||
        !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
        !(url.path().isEmpty() || url.path() == QLatin1String("/")))
        return std::nullopt;
    url.setPath(QStringLiteral("/"));
    url.setQuery(QStringLiteral("ver=%1&new=%2&mo=%3")
                     .arg(ClientVersion)
                     .arg(isNew ? QLatin1Char('1') : QLatin1Char('0'))
                     .arg(monthFlag ? QLatin1Char('1') : QLatin1Char('0')));
    return url;
}

VersionCheckRules::Response VersionCheckRules::ParseResponse(const QString& text)
{
    Response response;
    struct Field
    {
        const char* name;
        QString* value;
        bool seen = false;
    } fields[] = {{"PONG", &response.pong},
                  {"VERID", &response.verId},
                  {"VERSION", &response.version},
                  {"VERURL", &response.verUrl}};
    QString body = text;
    if (body.startsWith(QChar(0xFEFF)))
        body.remove(0, 1);
    for (const QString& line : body.split(QLatin1Char('\n')))
    {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString name = line.left(equals).trimmed();
        for (Field& field : fields)
        {
            if (!field.seen && name.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0)
            {
                *field.value = line.mid(equals + 1).trimmed();
                field.seen = true;
            }
        }
    }
    return response;
}

VersionCheckRules::Outcome VersionCheckRules::Decide(const Response& response, const QDate& today,
                                                     bool isNew, int checkedVersion)
{
    Outcome outcome;
    if (response.pong == QLatin1String("TRUE"))
    {
        outcome.lastPong = DayNumber(today);
        outcome.clearNew = isNew;
    }
    bool isNumber = false;
    int id = response.verId.toInt(&isNumber, 10);
    if (!isNumber)
        id = 0;
    if (id > checkedVersion && !response.version.isEmpty() && IsReleasePage(response.verUrl))
    {
        outcome.checkedVersion = id;
        outcome.version = response.version;
        outcome.releasePage = response.verUrl;
    }
    return outcome;
}

bool VersionCheckRules::IsReleasePage(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && isWebScheme(url.scheme()) && !url.host().isEmpty();
}
