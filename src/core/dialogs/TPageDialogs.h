#pragma once

#include <QAuthenticator>
#include <QString>
#include <QUrl>
#include <QWebEngineCertificateError>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>

#include <functional>

class LoginAttempts;
class QWidget;
class TSitePermissions;

// What a page asks of the user while it loads: credentials, trust in a
// certificate, permission for a feature, full screen. The engine wrapper
// forwards the page's signals here. The questions go through replaceable
// askers (the real dialogs by default) so that tests answer them without
// a modal window.
class TPageDialogs
{
public:
    // The text of the window parent sits in (see WindowServices); outside a
    // window every text is the language layer's "UNDEFINED: section > key".
    static QString textFor(const QWidget* parent, const QString& section, const QString& key);

    struct Credentials
    {
        QString user;
        QString password;
        // The site refused what it was given last for this realm: the
        // question says so (user then holds the name given then).
        bool refused = false;
    };
    // host: the site's or the proxy's; realm: the server's text (may be
    // empty). credentials arrive with the known user name. False = cancelled.
    using AuthenticationAsker =
        std::function<bool(QWidget* parent, const QString& host, const QString& realm, bool proxy,
                           Credentials& credentials)>;
    // True = the user wants to go on despite the error.
    using CertificateAsker =
        std::function<bool(QWidget* parent, const QString& host, const QString& description)>;
    // True = allow.
    using PermissionAsker =
        std::function<bool(QWidget* parent, const QUrl& origin, QWebEnginePage::Feature feature)>;
    // An empty function brings the real dialog back.
    static void setAuthenticationAsker(AuthenticationAsker asker);
    static void setCertificateAsker(CertificateAsker asker);
    static void setPermissionAsker(PermissionAsker asker);

    // OK fills auth; Cancel makes it a null authenticator, which cancels the
    // request: the page shows the server's refusal. (An authenticator left
    // as it came is sent as an empty user name and password, refused, and
    // asked about again, for ever.) attempts, when given, are the page's
    // earlier answers: a second question for the same realm says that the
    // last answer was refused.
    static void authenticationRequired(QWidget* parent, const QUrl& url, QAuthenticator* auth,
                                       LoginAttempts* attempts = nullptr);
    static void proxyAuthenticationRequired(QWidget* parent, const QUrl& url, QAuthenticator* auth,
                                            const QString& proxyHost,
                                            LoginAttempts* attempts = nullptr);

    // Refused unless overridable and the user agrees (see
    // TCertificateDecision). True when the user accepted the certificate:
    // the page is then no longer to be shown as secure.
    static bool certificateError(QWidget* parent, QWebEngineCertificateError error);

    // Asks once per site and feature for the run; the answer is given to
    // the page at once and reused for the site's later requests.
    static void featurePermissionRequested(QWebEnginePage* page, QWidget* parent,
                                           const QUrl& origin, QWebEnginePage::Feature feature);
    // The decision without a page: the remembered answer, else the asker's
    // (then remembered).
    static bool decidePermission(TSitePermissions& permissions, QWidget* parent, const QUrl& origin,
                                 QWebEnginePage::Feature feature);
    // The run's answers.
    static TSitePermissions& sitePermissions();

    // Accepted; entering shows the view's top-level window full screen,
    // leaving restores its previous state (see TPageFullScreen).
    static void fullScreenRequested(QWidget* view, QWebEngineFullScreenRequest request);

    // The language text naming what a feature lets a site do.
    static QString featureText(const QWidget* parent, QWebEnginePage::Feature feature);

    // The real dialogs.
    static bool askCredentials(QWidget* parent, const QString& host, const QString& realm,
                               bool proxy, Credentials& credentials);
    static bool askCertificate(QWidget* parent, const QString& host, const QString& description);
    static bool askPermission(QWidget* parent, const QUrl& origin, QWebEnginePage::Feature feature);
};
