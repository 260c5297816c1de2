#pragma once

#include "core/dialogs/LoginAttempts.h"
#include "core/engine/ClickReport.h"

#include <QWebEnginePage>

class TVostelBrowser;

// The page of one TVostelBrowser: hands the engine's navigation decisions,
// window requests and frame reports to its browser, and the questions a
// page asks of the user (credentials, certificates, permissions, full
// screen) to the program's dialogs.
class TVostelPage : public QWebEnginePage
{
    Q_OBJECT
public:
    TVostelPage(QWebEngineProfile* profile, TVostelBrowser* browser);
    // The browser is being destroyed: nothing is handed to it any more.
    void detachBrowser() { m_browser = nullptr; }

    // A frame report of the injected probe, taken apart; false when the
    // message is not one (wrong prefix, malformed).
    struct FrameMessage
    {
        QString event; // "created", "DOMContentLoaded" or "load"
        QString token; // one document's own id
        bool top = false;
        QString url;
    };
    static bool parseFrameMessage(const QString& message, const QString& prefix,
                                  FrameMessage& parsed);

    // The element of the last click when a navigation to url is its own
    // (the click is then used up); not known otherwise.
    ActivatedElement takeClickFor(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // New windows are decided in newWindowRequested.
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceId) override;

private:
    void connectDialogs();

    TVostelBrowser* m_browser;
    LoginAttempts m_loginAttempts;
    std::optional<ClickReport> m_lastClick;
};
