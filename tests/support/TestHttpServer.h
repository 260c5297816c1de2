#pragma once

#include <QByteArray>
#include <QHash>
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
    bool listen();
    quint16 port() const;
    // "http://127.0.0.1:PORT" + path.
    QString url(const QString& path) const;

    // Routes match the path without its query; unknown paths answer 404.
    void route(const QString& path, const Response& response);
    void route(const QString& path, const Handler& handler);
    void routeHtml(const QString& path, const QByteArray& html, int delayMs = 0);
    void routeRedirect(const QString& path, const QString& location, int status = 302);

    // Every request in the order received (recorded before any delay).
    QList<Request> requests() const { return m_requests; }
    QStringList requestedPaths() const;
    // Whether a request for path (compared without the query) arrived.
    bool wasRequested(const QString& path) const;
    // The last request for path (compared without the query); empty when none.
    Request lastRequest(const QString& path) const;
    void clearRequests() { m_requests.clear(); }

    // Requests whose client closed the connection before their answer went
    // out: a held-back answer that the client gave up waiting for (a load
    // that was stopped), in the order the connections closed.
    QList<Request> abandonedRequests() const { return m_abandoned; }
    // Whether a request for path (compared without the query) was abandoned.
    bool wasAbandoned(const QString& path) const;

private:
    struct Connection
    {
        QByteArray buffer;
        bool answering = false;
        // The request being answered, until its answer is written.
        Request pending;
        bool awaitingAnswer = false;
    };
    void onNewConnection();
    void processBuffer(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Request& request);
    static QByteArray serialize(const Response& response, bool keepAlive);
    static QByteArray reasonPhrase(int status);

    QTcpServer m_server;
    QHash<QString, Handler> m_routes;
    QList<Request> m_requests;
    QList<Request> m_abandoned;
    QHash<QTcpSocket*, Connection> m_connections;
};
