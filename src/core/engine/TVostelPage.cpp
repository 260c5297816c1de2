#include "core/engine/TVostelPage.h"

#include "core/dialogs/TPageDialogs.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TVostelBrowser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineLoadingInfo>

#include <utility>

TVostelPage::TVostelPage(QWebEngineProfile* profile, TVostelBrowser* browser)
    : QWebEnginePage(profile, browser), m_browser(browser)
{
    connectDialogs();
}

void TVostelPage::connectDialogs()
{
    // The dialogs take the view as their parent.
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* auth)
            { TPageDialogs::authenticationRequired(m_browser, url, auth, &m_loginAttempts); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* auth, const QString& proxyHost) {
                TPageDialogs::proxyAuthenticationRequired(m_browser, url, auth, proxyHost,
                                                          &m_loginAttempts);
            });
    // The engine asks again within one load only when it was refused; a new
    // load asks afresh.
    connect(this, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info)
            {
                if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus)
                    return;
                m_loginAttempts.clear();
                // A click whose navigation never came belongs to the old page.
                m_lastClick.reset();
            });
    connect(this, &QWebEnginePage::certificateError, this,
            [this](const QWebEngineCertificateError& error)
            {
                // A certificate the user let through makes the page insecure.
                if (TPageDialogs::certificateError(m_browser, error) && m_browser)
                    m_browser->insecureContentSeen();
            });
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, QWebEnginePage::Feature feature)
            { TPageDialogs::featurePermissionRequested(this, m_browser, origin, feature); });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [this](QWebEngineFullScreenRequest request)
            { TPageDialogs::fullScreenRequested(m_browser, request); });
}

bool TVostelPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const ActivatedElement element =
        type == NavigationTypeLinkClicked ? takeClickFor(url) : ActivatedElement();
    return m_browser && m_browser->navigationRequested(url, type, isMainFrame, element);
}

ActivatedElement TVostelPage::takeClickFor(const QUrl& url)
{
    if (!m_lastClick || !m_lastClick->matches(url))
        return ActivatedElement();
    return std::exchange(m_lastClick, std::nullopt)->element();
}

QWebEnginePage* TVostelPage::createWindow(WebWindowType)
{
    return nullptr;
}

void TVostelPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceId)
{
    if (auto click = ClickReport::parse(message, TEngineProfile::frameMessagePrefix()))
    {
        m_lastClick = std::move(click);
        return;
    }
    FrameMessage frame;
    if (parseFrameMessage(message, TEngineProfile::frameMessagePrefix(), frame))
    {
        if (m_browser)
            m_browser->frameReported(frame.event, frame.token, frame.top, frame.url);
        return;
    }
    if (m_browser && level != InfoMessageLevel &&
        message.startsWith(QLatin1String("Mixed Content:")))
        m_browser->insecureContentSeen();
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}

bool TVostelPage::parseFrameMessage(const QString& message, const QString& prefix,
                                    FrameMessage& parsed)
{
    if (prefix.isEmpty() || !message.startsWith(prefix))
        return false;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(message.mid(prefix.size()).toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject object = document.object();
    const QString event = object.value(QLatin1String("e")).toString();
    if (event != QLatin1String("created") && event != QLatin1String("DOMContentLoaded") &&
        event != QLatin1String("load"))
        return false;
    const QString token = object.value(QLatin1String("id")).toString();
    if (token.isEmpty() || !object.value(QLatin1String("top")).isBool())
        return false;
    parsed.event = event;
    parsed.token = token;
    parsed.top = object.value(QLatin1String("top")).toBool();
    parsed.url = object.value(QLatin1String("url")).toString();
    return true;
}
