#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

// An HTTP/1.1 server on 127.0.0.1 for tests: a route table from path to
// response, a record of every request it received, keep-alive connections
// (the engine opens several at once), and responses that can be held back.
class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method;
        QString path;                          // with the query, as sent
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
        QString pathOnly() const { return path.section(QLatin1Char('?'), 0, 0); }
    };
    struct Response
    {
        int status = 200;
        QByteArray contentType = QByteArrayLiteral("text/html; charset=utf-8");
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        int delayMs = 0; // hold the answer back this long
    };
    using Handler = std::function<Response(const Request&)>;

    explicit TestHttpServer(QObject* parent = nullptr);
    ~TestHttpServer() override;

    // Listens on 127.0.0.1 at a free port.
    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:PORT" + path.
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    // Routes match the path without its query; unknown paths answer 404.
    void route(const QString& path, const Handler& handler) { m_routes.insert(path, handler); }
    void route(const QString& path, const Response& response)
    {
        route(path, [response](const Request&) { return response; });
    }
    void routeHtml(const QString& path, const QByteArray& html, int delayMs = 0)
    {
        route(path, Response{200, Response().contentType, html, {}, delayMs});
    }
    void routeRedirect(const QString& path, const QString& location, int status = 302)
    {
        route(path, Response{status, {}, {}, {{"Location", location.toUtf8()}}, 0});
    }
    // A page titled path that runs script and, once it has loaded, asks for
    // "<path>/done": what a real program does with it can be waited for here.
    void routeReportingPage(const QString& path, const QString& script = QString());

    // Every request in the order received (recorded before any delay).
    QList<Request> requests() const { return m_requests; }
    QStringList requestedPaths() const;
    // Whether, and how often, a request for path (compared without the
    // query) arrived.
    bool wasRequested(const QString& path) const { return requestCount(path) > 0; }
    int requestCount(const QString& path) const { return int(matching(path, m_requests).size()); }
    // The last request for path (compared without the query); empty when none.
    Request lastRequest(const QString& path) const
    {
        const QList<Request> found = matching(path, m_requests);
        return found.isEmpty() ? Request() : found.last();
    }
    void clearRequests() { m_requests.clear(); }
    // Whether the client closed the connection of a request for path before
    // its answer went out: a held-back load that was stopped.
    bool wasAbandoned(const QString& path) const { return !matching(path, m_abandoned).isEmpty(); }

private:
    struct Connection
    {
        QByteArray buffer;
        // The request being answered, until its answer is written: the next
        // is parsed once the answer to this one has gone out.
        Request pending;
        bool answering = false;
    };
    static QList<Request> matching(const QString& path, const QList<Request>& requests);
    void onNewConnection();
    void processBuffer(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request);
    static QByteArray serialize(const Response& response, bool keepAlive);

    QTcpServer m_server;
    QHash<QString, Handler> m_routes;
    QList<Request> m_requests;
    QList<Request> m_abandoned;
    QHash<QTcpSocket*, Connection> m_connections;
};
