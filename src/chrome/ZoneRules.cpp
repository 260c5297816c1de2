#include "chrome/ZoneRules.h"

#include "core/engine/TQuillwaveSchemeHandler.h"

int ZoneRules::zoneOf(const QString& address) const
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return NoZone;
    return zoneOf(QUrl(trimmed));
}

int ZoneRules::zoneOf(const QUrl& url) const
{
    if (!url.isValid() || url.scheme().isEmpty())
        return NoZone;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("file") ||
        scheme == QString::fromLatin1(TQuillwaveSchemeHandler::SchemeName))
        return LocalMachine;
    const QString pattern = sitePattern(url);
    if (!pattern.isEmpty())
    {
        const auto found = sites.constFind(pattern);
        if (found != sites.constEnd())
            return *found;
    }
    const QString host = url.host();
    // A name the local network resolves, not one of the Internet.
    if (!host.isEmpty() && !host.contains(QLatin1Char('.')) && !host.contains(QLatin1Char(':')))
        return Intranet;
    return Internet;
}

QString ZoneRules::sitePattern(const QString& address)
{
    return sitePattern(QUrl(address.trimmed()));
}

QString ZoneRules::sitePattern(const QUrl& url)
{
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return QString();
    return url.scheme().toLower() + QStringLiteral("://") + url.host(QUrl::FullyEncoded).toLower();
}

int ZoneRules::actionIndex(Action action)
{
    for (size_t i = 0; i < Actions.size(); ++i)
        if (Actions[i] == action)
            return int(i);
    return -1;
}

int ZoneRules::policy(int zone, Action action) const
{
    const int index = actionIndex(action);
    if (!validZone(zone) || index < 0)
        return Disallow; // nothing is allowed of what cannot be placed
    return m_policies[zone][index];
}

void ZoneRules::setPolicy(int zone, Action action, int value)
{
    const int index = actionIndex(action);
    if (validZone(zone) && index >= 0 && value >= Allow && value <= Disallow)
        m_policies[zone][index] = value;
}

int ZoneRules::defaultPolicy(int zone)
{
    return zone == Restricted ? Disallow : Allow;
}

std::array<std::array<int, 4>, ZoneRules::ZoneCount> ZoneRules::defaults()
{
    std::array<std::array<int, 4>, ZoneCount> all{};
    for (int zone = 0; zone < ZoneCount; ++zone)
        all[zone].fill(defaultPolicy(zone));
    return all;
}

QString ZoneRules::actionName(Action action)
{
    return QString::number(int(action), 16).toUpper();
}

int ZoneRules::policyFromSystem(const QString& data)
{
    bool ok = false;
    const int value = data.trimmed().toInt(&ok);
    if (ok && value == 1)
        return Prompt;
    if (ok && value == 3)
        return Disallow;
    return Allow;
}

QString ZoneRules::systemFromPolicy(int policy)
{
    switch (policy)
    {
    case Prompt:
        return QStringLiteral("1");
    case Disallow:
        return QStringLiteral("3");
    default:
        return QStringLiteral("0");
    }
}
