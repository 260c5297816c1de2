#include "core/engine/TZoneEnforcer.h"

#include "chrome/TIEZoneMgr.h"
#include "core/dialogs/WindowServices.h"
#include "core/store/ProgramStore.h"

#include <QApplication>
#include <QHash>
#include <QMutex>
#include <QNetworkCookie>
#include <QPointer>
#include <QSet>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <exception>

namespace
{
QMutex lock;
ZoneRules current;
// This run's answers, by site and action; and the questions being asked.
QHash<QString, bool> answers;
QSet<QString> asking;

QString answerKey(const QString& site, ZoneRules::Action action)
{
    return site + QLatin1Char(' ') + ZoneRules::actionName(action);
}

WindowServices* servicesNear(QWebEnginePage* page)
{
    if (page)
        return WindowServices::of(QWebEngineView::forPage(page));
    if (WindowServices* services = WindowServices::of(QApplication::activeWindow()))
        return services;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (WindowServices* services = WindowServices::of(widget))
            return services;
    return nullptr;
}

QString promptKey(ZoneRules::Action action)
{
    switch (action)
    {
    case ZoneRules::Scripting:
        return QStringLiteral("SecurityPromptScripting");
    case ZoneRules::ActiveX:
        return QStringLiteral("SecurityPromptActiveX");
    default:
        return QStringLiteral("SecurityPromptCookies");
    }
}
} // namespace

void TZoneEnforcer::install(QWebEngineProfile* profile)
{
    SettingsChanged();
    QWebEngineCookieStore* cookies = profile->cookieStore();
    cookies->setCookieFilter([](const QWebEngineCookieStore::FilterRequest& request)
                             { return cookieAllowed(request.origin); });
    QObject::connect(cookies, &QWebEngineCookieStore::cookieAdded, profile,
                     [profile](const QNetworkCookie& cookie) { cookieAdded(profile, cookie); });
}

void TZoneEnforcer::SettingsChanged()
{
    ZoneRules read;
    try
    {
        read = TIEZoneMgr::ReadRules(ProgramStore::get());
    }
    catch (const std::exception& error)
    {
        // The last rules read stay in force.
        qWarning("Quillwave: zone settings cannot be read: %s", error.what());
        return;
    }
    QMutexLocker locked(&lock);
    current = read;
}

ZoneRules TZoneEnforcer::rules()
{
    QMutexLocker locked(&lock);
    return current;
}

void TZoneEnforcer::forgetAnswers()
{
    QMutexLocker locked(&lock);
    answers.clear();
}

void TZoneEnforcer::applyBefore(QWebEnginePage* page, const QUrl& url)
{
    SettingsChanged();
    const ZoneRules now = rules();
    const int zone = now.zoneOf(url);
    const QString site = ZoneRules::sitePattern(url);
    const auto allowed = [&](ZoneRules::Action action)
    { return resolved(now.policy(zone, action), site, action, page) == ZoneRules::Allow; };
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, allowed(ZoneRules::Scripting));
    const bool plugins = allowed(ZoneRules::ActiveX);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, plugins);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, plugins);
}

int TZoneEnforcer::resolved(int policy, const QString& site, ZoneRules::Action action,
                            QWebEnginePage* page)
{
    if (policy != ZoneRules::Prompt)
        return policy;
    // Without a site there is nothing to name in a question.
    if (site.isEmpty())
        return ZoneRules::Disallow;
    {
        QMutexLocker locked(&lock);
        const auto found = answers.constFind(answerKey(site, action));
        if (found != answers.constEnd())
            return *found ? ZoneRules::Allow : ZoneRules::Disallow;
        if (asking.contains(answerKey(site, action)))
            return ZoneRules::Disallow;
        asking.insert(answerKey(site, action));
    }
    // The question waits for the event loop: the engine (or its network
    // thread) is asking now and must not wait for the user.
    QPointer<QWebEnginePage> target(page);
    QMetaObject::invokeMethod(
        qApp, [site, action, target] { ask(site, action, target.data()); }, Qt::QueuedConnection);
    return ZoneRules::Disallow;
}

void TZoneEnforcer::ask(const QString& site, ZoneRules::Action action, QWebEnginePage* page)
{
    WindowServices* services = servicesNear(page);
    bool allow = false;
    if (services)
    {
        const QString main = QStringLiteral("MAIN");
        allow = services
                    ->confirm(services->GetLangText(main, QStringLiteral("SecurityPromptCaption")),
                              false, QString(),
                              services->GetLangText(main, promptKey(action)).arg(site),
                              services->GetGlobalText(QStringLiteral("Yes")),
                              services->GetGlobalText(QStringLiteral("No")), QString())
                    .ok;
    }
    {
        QMutexLocker locked(&lock);
        asking.remove(answerKey(site, action));
        // A window to ask in may come later; until then nothing is decided.
        if (services)
            answers.insert(answerKey(site, action), allow);
    }
    // The page loaded without what it was refused; it gets it now.
    const bool pageAction = action == ZoneRules::Scripting || action == ZoneRules::ActiveX;
    if (allow && pageAction && page && ZoneRules::sitePattern(page->url()) == site)
    {
        applyBefore(page, page->url());
        page->triggerAction(QWebEnginePage::Reload);
    }
}

TZoneEnforcer::CookieRule TZoneEnforcer::cookieRule(int persistentPolicy, int sessionPolicy)
{
    CookieRule rule;
    rule.keepPersistent = persistentPolicy == ZoneRules::Allow;
    rule.keepSession = sessionPolicy == ZoneRules::Allow;
    rule.accept = rule.keepPersistent || rule.keepSession;
    return rule;
}

bool TZoneEnforcer::cookieAllowed(const QUrl& origin)
{
    const ZoneRules now = rules();
    const int zone = now.zoneOf(origin);
    const QString site = ZoneRules::sitePattern(origin);
    const auto policy = [&](ZoneRules::Action action)
    { return resolved(now.policy(zone, action), site, action, nullptr); };
    return cookieRule(policy(ZoneRules::Cookies), policy(ZoneRules::SessionCookies)).accept;
}

QUrl TZoneEnforcer::cookieSite(const QNetworkCookie& cookie)
{
    QString domain = cookie.domain();
    while (domain.startsWith(QLatin1Char('.')))
        domain.remove(0, 1);
    QUrl url;
    url.setScheme(cookie.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(domain);
    return url;
}

void TZoneEnforcer::cookieAdded(QWebEngineProfile* profile, const QNetworkCookie& cookie)
{
    const QUrl site = cookieSite(cookie);
    const ZoneRules now = rules();
    const int zone = now.zoneOf(site);
    const QString pattern = ZoneRules::sitePattern(site);
    const auto policy = [&](ZoneRules::Action action)
    { return resolved(now.policy(zone, action), pattern, action, nullptr); };
    const CookieRule rule =
        cookieRule(policy(ZoneRules::Cookies), policy(ZoneRules::SessionCookies));
    const bool keep = cookie.isSessionCookie() ? rule.keepSession : rule.keepPersistent;
    if (keep)
        return;
    QWebEngineCookieStore* store = profile->cookieStore();
    store->deleteCookie(cookie);
    if (!cookie.isSessionCookie() && rule.persistentAsSession())
    {
        QNetworkCookie session = cookie;
        session.setExpirationDate(QDateTime());
        store->setCookie(session);
    }
}
