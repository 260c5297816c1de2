#include "core/dialogs/TPageDialogs.h"

#include "core/dialogs/LoginAttempts.h"
#include "core/dialogs/TfrmAuthentication.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TCertificateDecision.h"
#include "core/engine/TPageFullScreen.h"
#include "core/engine/TSitePermissions.h"

#include <QAuthenticator>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWebEngineView>

namespace
{
TPageDialogs::AuthenticationAsker& authenticationAsker()
{
    static TPageDialogs::AuthenticationAsker asker;
    return asker;
}

TPageDialogs::CertificateAsker& certificateAsker()
{
    static TPageDialogs::CertificateAsker asker;
    return asker;
}

TPageDialogs::PermissionAsker& permissionAsker()
{
    static TPageDialogs::PermissionAsker asker;
    return asker;
}

QString GetGlobalText(const QWidget* parent, const QString& key)
{
    return TPageDialogs::textFor(parent, QStringLiteral("GLOBAL"), key);
}

void askForCredentials(QWidget* parent, QAuthenticator* auth, const QString& host, bool proxy,
                       LoginAttempts* attempts)
{
    if (!auth)
        return;
    const QString realm = auth->realm();
    TPageDialogs::Credentials credentials{auth->user(), QString(), false};
    if (attempts)
    {
        if (const std::optional<QString> user = attempts->lastUser(host, realm, proxy))
        {
            credentials.user = *user;
            credentials.refused = true;
        }
    }
    const auto& asker = authenticationAsker();
    const bool ok = asker ? asker(parent, host, realm, proxy, credentials)
                          : TPageDialogs::askCredentials(parent, host, realm, proxy, credentials);
    if (!ok)
    {
        if (attempts)
            attempts->forget(host, realm, proxy);
        *auth = QAuthenticator();
        return;
    }
    auth->setUser(credentials.user);
    auth->setPassword(credentials.password);
    if (attempts)
        attempts->remember(host, realm, proxy, credentials.user);
}

// What a person recognises a site by: its host, or the whole address for
// documents without one (files).
QString siteName(const QUrl& url)
{
    return url.host().isEmpty() ? url.toDisplayString() : url.host();
}
} // namespace

QString TPageDialogs::textFor(const QWidget* parent, const QString& section, const QString& key)
{
    if (const WindowServices* services = WindowServices::of(parent))
        return services->GetLangText(section, key);
    return WindowServices().GetLangText(section, key);
}

void TPageDialogs::setAuthenticationAsker(AuthenticationAsker asker)
{
    authenticationAsker() = std::move(asker);
}

void TPageDialogs::setCertificateAsker(CertificateAsker asker)
{
    certificateAsker() = std::move(asker);
}

void TPageDialogs::setPermissionAsker(PermissionAsker asker)
{
    permissionAsker() = std::move(asker);
}

void TPageDialogs::authenticationRequired(QWidget* parent, const QUrl& url, QAuthenticator* auth,
                                          LoginAttempts* attempts)
{
    askForCredentials(parent, auth, siteName(url), false, attempts);
}

void TPageDialogs::proxyAuthenticationRequired(QWidget* parent, const QUrl& url,
                                               QAuthenticator* auth, const QString& proxyHost,
                                               LoginAttempts* attempts)
{
    askForCredentials(parent, auth, proxyHost.isEmpty() ? siteName(url) : proxyHost, true,
                      attempts);
}

bool TPageDialogs::certificateError(QWidget* parent, QWebEngineCertificateError error)
{
    const QString host = siteName(error.url());
    const QString description = error.description();
    const auto ask = [&]
    {
        const auto& asker = certificateAsker();
        return asker ? asker(parent, host, description) : askCertificate(parent, host, description);
    };
    TCertificateDecision::Actions actions;
    actions.defer = [&error] { error.defer(); };
    actions.accept = [&error] { error.acceptCertificate(); };
    actions.reject = [&error] { error.rejectCertificate(); };
    return TCertificateDecision::resolve(error.isOverridable(), ask, actions) ==
           TCertificateDecision::Accepted;
}

TSitePermissions& TPageDialogs::sitePermissions()
{
    static TSitePermissions permissions;
    return permissions;
}

bool TPageDialogs::decidePermission(TSitePermissions& permissions, QWidget* parent,
                                    const QUrl& origin, QWebEnginePage::Feature feature)
{
    switch (permissions.answer(origin, feature))
    {
    case TSitePermissions::Answer::Granted:
        return true;
    case TSitePermissions::Answer::Denied:
        return false;
    case TSitePermissions::Answer::Unknown:
        break;
    }
    const auto& asker = permissionAsker();
    const bool granted =
        asker ? asker(parent, origin, feature) : askPermission(parent, origin, feature);
    permissions.remember(origin, feature, granted);
    return granted;
}

void TPageDialogs::featurePermissionRequested(QWebEnginePage* page, QWidget* parent,
                                              const QUrl& origin, QWebEnginePage::Feature feature)
{
    if (!page)
        return;
    // The question may stay open while the tab closes.
    QPointer<QWebEnginePage> guard(page);
    const bool granted = decidePermission(sitePermissions(), parent, origin, feature);
    if (guard)
        guard->setFeaturePermission(origin, feature,
                                    granted ? QWebEnginePage::PermissionGrantedByUser
                                            : QWebEnginePage::PermissionDeniedByUser);
}

void TPageDialogs::fullScreenRequested(QWidget* view, QWebEngineFullScreenRequest request)
{
    request.accept();
    if (!request.toggleOn())
    {
        TPageFullScreen::leave(view);
        return;
    }
    auto* webView = qobject_cast<QWebEngineView*>(view);
    if (!webView && view)
        webView = view->findChild<QWebEngineView*>();
    std::function<void()> exitRequest;
    if (webView)
    {
        QPointer<QWebEnginePage> page(webView->page());
        exitRequest = [page]
        {
            if (page)
                page->triggerAction(QWebEnginePage::ExitFullScreen);
        };
    }
    TPageFullScreen::enter(view, exitRequest);
}

QString TPageDialogs::featureText(const QWidget* parent, QWebEnginePage::Feature feature)
{
    switch (feature)
    {
    case QWebEnginePage::Notifications:
        return GetGlobalText(parent, QStringLiteral("PermissionNotifications"));
    case QWebEnginePage::Geolocation:
        return GetGlobalText(parent, QStringLiteral("PermissionGeolocation"));
    case QWebEnginePage::MediaAudioCapture:
        return GetGlobalText(parent, QStringLiteral("PermissionMicrophone"));
    case QWebEnginePage::MediaVideoCapture:
        return GetGlobalText(parent, QStringLiteral("PermissionCamera"));
    case QWebEnginePage::MediaAudioVideoCapture:
        return GetGlobalText(parent, QStringLiteral("PermissionCameraMicrophone"));
    case QWebEnginePage::MouseLock:
        return GetGlobalText(parent, QStringLiteral("PermissionMouseLock"));
    case QWebEnginePage::DesktopVideoCapture:
        return GetGlobalText(parent, QStringLiteral("PermissionScreen"));
    case QWebEnginePage::DesktopAudioVideoCapture:
        return GetGlobalText(parent, QStringLiteral("PermissionScreenAudio"));
    }
    return GetGlobalText(parent, QStringLiteral("PermissionUnknown"));
}

bool TPageDialogs::askCredentials(QWidget* parent, const QString& host, const QString& realm,
                                  bool proxy, Credentials& credentials)
{
    TfrmAuthentication dialog(parent);
    dialog.setRequest(host, realm, proxy);
    dialog.setRefused(credentials.refused);
    dialog.setUser(credentials.user);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    credentials.user = dialog.user();
    credentials.password = dialog.password();
    return true;
}

bool TPageDialogs::askCertificate(QWidget* parent, const QString& host, const QString& description)
{
    QMessageBox box(QMessageBox::Warning, GetGlobalText(parent, QStringLiteral("CertErrorCaption")),
                    GetGlobalText(parent, QStringLiteral("CertErrorPrompt")).arg(host),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("frmCertificateError"));
    box.setTextFormat(Qt::PlainText);
    // The engine's description is shown as text, never as markup.
    box.setInformativeText(
        QStringLiteral("<p>") + description.toHtmlEscaped() + QStringLiteral("</p><p>") +
        GetGlobalText(parent, QStringLiteral("CertErrorWarning")).toHtmlEscaped() +
        QStringLiteral("</p>"));
    QPushButton* back = box.addButton(GetGlobalText(parent, QStringLiteral("CertErrorBack")),
                                      QMessageBox::RejectRole);
    back->setObjectName(QStringLiteral("cmdBack"));
    QPushButton* proceed = box.addButton(GetGlobalText(parent, QStringLiteral("CertErrorProceed")),
                                         QMessageBox::AcceptRole);
    proceed->setObjectName(QStringLiteral("cmdProceed"));
    // Enter and Esc both keep the user safe.
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == proceed;
}

bool TPageDialogs::askPermission(QWidget* parent, const QUrl& origin,
                                 QWebEnginePage::Feature feature)
{
    QMessageBox box(QMessageBox::Question,
                    GetGlobalText(parent, QStringLiteral("PermissionCaption")),
                    GetGlobalText(parent, QStringLiteral("PermissionPrompt"))
                        .arg(TSitePermissions::originKey(origin), featureText(parent, feature)),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("frmPermission"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(GetGlobalText(parent, QStringLiteral("PermissionRemember")));
    QPushButton* allow = box.addButton(GetGlobalText(parent, QStringLiteral("PermissionAllow")),
                                       QMessageBox::AcceptRole);
    allow->setObjectName(QStringLiteral("cmdAllow"));
    QPushButton* deny = box.addButton(GetGlobalText(parent, QStringLiteral("PermissionDeny")),
                                      QMessageBox::RejectRole);
    deny->setObjectName(QStringLiteral("cmdDeny"));
    box.setDefaultButton(deny);
    box.setEscapeButton(deny);
    box.exec();
    return box.clickedButton() == allow;
}
