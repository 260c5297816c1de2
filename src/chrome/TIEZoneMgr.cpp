#include "chrome/TIEZoneMgr.h"

#include "core/dialogs/WindowServices.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

namespace
{
// Values written by hand may be numbers of either type.
std::optional<QString> textOf(const std::optional<RegValue>& value)
{
    if (!value)
        return std::nullopt;
    return value->type == RegValue::DWord ? QString::number(value->dword) : value->text;
}
} // namespace

TIEZoneMgr::TIEZoneMgr(RegistryStore* store, const WindowServices* services)
    : m_store(store), m_services(services)
{
}

QString TIEZoneMgr::PolicyKey(int zone)
{
    if (zone == ZoneRules::Internet)
        return RegistryKeys::ZonePolicies;
    return RegistryKeys::ZonePolicies + QLatin1Char('\\') + QString::number(zone);
}

ZoneRules TIEZoneMgr::ReadRules(RegistryStore& store)
{
    ZoneRules rules;
    for (const QString& name : store.valueNames(RegistryKeys::Zones))
    {
        bool ok = false;
        const int zone =
            textOf(store.value(RegistryKeys::Zones, name)).value_or(QString()).toInt(&ok);
        const QString pattern = ZoneRules::sitePattern(name);
        // A mapping the program cannot have made is left alone, not guessed at.
        if (ok && ZoneRules::validZone(zone) && pattern == name.toLower())
            rules.sites.insert(pattern, zone);
    }
    for (int zone = 0; zone < ZoneRules::ZoneCount; ++zone)
    {
        const QString key = PolicyKey(zone);
        for (const ZoneRules::Action action : ZoneRules::Actions)
        {
            const auto data = textOf(store.value(key, ZoneRules::actionName(action)));
            if (data)
                rules.setPolicy(zone, action, ZoneRules::policyFromSystem(*data));
        }
    }
    return rules;
}

ZoneRules TIEZoneMgr::Rules() const
{
    return ReadRules(*m_store);
}

int TIEZoneMgr::MapUrlToZone(const QString& url) const
{
    return Rules().zoneOf(url);
}

QString TIEZoneMgr::GetZoneName(int zone) const
{
    if (!ZoneRules::validZone(zone))
        return QString();
    return Text(QStringLiteral("ZoneName%1").arg(zone)).trimmed();
}

int TIEZoneMgr::AddSite(const QString& url, int zone)
{
    const QString pattern = ZoneRules::sitePattern(url);
    // The Internet zone is where every unmapped site already is.
    if (pattern.isEmpty() || !ZoneRules::validZone(zone) || zone == ZoneRules::Internet)
        return -1;
    return m_store->setString(RegistryKeys::Zones, pattern, QString::number(zone)) ? 0 : -1;
}

int TIEZoneMgr::RemoveSite(const QString& url, int zone)
{
    // Adding stored the site's pattern, so that is what removal looks for;
    // the page's whole address would never match it.
    const QString pattern = ZoneRules::sitePattern(url);
    if (pattern.isEmpty() || Rules().sites.value(pattern, ZoneRules::NoZone) != zone)
        return -1;
    return m_store->deleteValue(RegistryKeys::Zones, pattern) ? 0 : -1;
}

QStringList TIEZoneMgr::Sites(int zone) const
{
    QStringList found;
    const ZoneRules rules = Rules();
    for (const QString& name : m_store->valueNames(RegistryKeys::Zones))
        if (rules.sites.value(name.toLower(), ZoneRules::NoZone) == zone)
            found.append(name.toLower());
    return found;
}

int TIEZoneMgr::GetPolicy(ZoneRules::Action action, int zone) const
{
    return Rules().policy(zone, action);
}

void TIEZoneMgr::SetPolicy(ZoneRules::Action action, int value, int zone)
{
    if (!ZoneRules::validZone(zone) || value < ZoneRules::Allow || value > ZoneRules::Disallow)
        return;
    m_store->setString(PolicyKey(zone), ZoneRules::actionName(action),
                       ZoneRules::systemFromPolicy(value));
}

QString TIEZoneMgr::PolicyText(int value) const
{
    switch (value)
    {
    case ZoneRules::Allow:
        return Text(QStringLiteral("SecurityAllow"));
    case ZoneRules::Prompt:
        return Text(QStringLiteral("SecurityQuery"));
    case ZoneRules::Disallow:
        return Text(QStringLiteral("SecurityDisallow"));
    default:
        return QString();
    }
}

QString TIEZoneMgr::Text(const QString& key) const
{
    return m_services ? m_services->GetLangText(QStringLiteral("MAIN"), key) : key;
}
