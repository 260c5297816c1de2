#pragma once

#include "chrome/ZoneRules.h"

#include <QString>
#include <QUrl>

class QNetworkCookie;
class QWebEnginePage;
class QWebEngineProfile;

// Holds pages to what their site's security zone allows: scripting and
// plug-ins per page before it loads an address, cookies through the
// profile's cookie filter. An action whose policy is "prompt" is asked of
// the user once per site in a run; until the answer comes it is refused.
//
// The rules are a copy of what the store holds, taken again at every
// top-level navigation and by SettingsChanged(): the cookie filter runs on
// the engine's network thread, which must not wait for the store.
class TZoneEnforcer
{
public:
    // Sets the profile's cookie filter and watches its cookies.
    static void install(QWebEngineProfile* profile);

    // Reads the rules from the store again; whoever changes zones or
    // policies calls it.
    static void SettingsChanged();
    static ZoneRules rules();

    // Before page loads url: its scripts and plug-ins follow the zone.
    static void applyBefore(QWebEnginePage* page, const QUrl& url);

    // Forgets this run's answers to questions (tests; clearing site data).
    static void forgetAnswers();

    // What to do with cookies of a site, once prompts are answered: each
    // policy is Allow or Disallow here.
    struct CookieRule
    {
        bool accept = false;         // the filter lets cookies through at all
        bool keepPersistent = false; // a cookie with an expiry stays as it is
        bool keepSession = false;    // one without stays
        // A cookie with an expiry is kept, but only until the program ends.
        bool persistentAsSession() const { return !keepPersistent && keepSession; }
    };
    static CookieRule cookieRule(int persistentPolicy, int sessionPolicy);

    // Whether the filter lets a cookie of origin through (any thread).
    static bool cookieAllowed(const QUrl& origin);
    // The address a cookie belongs to, for its zone.
    static QUrl cookieSite(const QNetworkCookie& cookie);

private:
    // The policy with a prompt answered (or refused until it is).
    static int resolved(int policy, const QString& site, ZoneRules::Action action,
                        QWebEnginePage* page);
    static void ask(const QString& site, ZoneRules::Action action, QWebEnginePage* page);
    static void cookieAdded(QWebEngineProfile* profile, const QNetworkCookie& cookie);
};
