#pragma once

#include <QWebEngineUrlRequestInterceptor>

#include <atomic>

class QUrl;

// Keeps every page of the profile off the network while the user works
// offline: requests that would leave the machine are refused; the program's
// own pages and local documents still load.
class TOfflineInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    // offline is read on every request and must outlive the interceptor.
    explicit TOfflineInterceptor(const std::atomic<bool>& offline, QObject* parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // Whether a request for url is refused while offline: the schemes that
    // reach a server (http, https, ws, wss, ftp); quillwave:, file:, data:,
    // blob:, about:, qrc: and other local schemes are not.
    static bool isBlockedOffline(const QUrl& url);

private:
    const std::atomic<bool>& m_offline;
};
