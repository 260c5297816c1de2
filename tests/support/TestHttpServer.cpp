#include "TestHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace
{
// Bounds that keep a confused client from growing the buffers without end.
constexpr qsizetype MaxHeaderBytes = 64 * 1024;
constexpr qsizetype MaxBodyBytes = 16 * 1024 * 1024;
} // namespace

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::onNewConnection);
}

TestHttpServer::~TestHttpServer()
{
    // The sockets are the server's children and go with it, saying nothing.
    for (QTcpSocket* socket : m_connections.keys())
        socket->disconnect(this);
}

void TestHttpServer::routeReportingPage(const QString& path, const QString& script)
{
    const QString done = path + (path.endsWith(QLatin1Char('/')) ? "done" : "/done");
    routeHtml(path, QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head><body>"
                                   "<p>%1</p><script>%2\nconst report = (what) => fetch(what, "
                                   "{cache: 'no-store'});\naddEventListener('load', () => "
                                   "report('%3'));"
                                   "</script></body></html>")
                        .arg(path.toHtmlEscaped(), script, done)
                        .toUtf8());
}

QStringList TestHttpServer::requestedPaths() const
{
    QStringList paths;
    for (const Request& request : m_requests)
        paths << request.path;
    return paths;
}

QList<TestHttpServer::Request> TestHttpServer::matching(const QString& path,
                                                        const QList<Request>& requests)
{
    const QString wanted = path.section(QLatin1Char('?'), 0, 0);
    QList<Request> found;
    for (const Request& request : requests)
        if (request.pathOnly() == wanted)
            found << request;
    return found;
}

void TestHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection())
    {
        m_connections.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { processBuffer(socket); });
        connect(socket, &QTcpSocket::disconnected, this,
                [this, socket]
                {
                    const Connection closed = m_connections.take(socket);
                    if (closed.answering)
                        m_abandoned.append(closed.pending);
                    socket->deleteLater();
                });
    }
}

void TestHttpServer::processBuffer(QTcpSocket* socket)
{
    auto connection = m_connections.find(socket);
    if (connection == m_connections.end())
        return;
    connection->buffer += socket->readAll();
    if (connection->answering)
        return;
    const qsizetype headerEnd = connection->buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
    {
        if (connection->buffer.size() > MaxHeaderBytes)
            socket->abort();
        return;
    }
    const QList<QByteArray> lines = connection->buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() < 3)
        return socket->abort();
    Request request;
    request.method = requestLine.at(0);
    request.path = QString::fromUtf8(requestLine.at(1));
    for (const QByteArray& line : lines.mid(1))
    {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(),
                                   line.mid(colon + 1).trimmed());
    }
    bool lengthOk = true;
    const qsizetype length = request.headers.value("content-length", "0").toLongLong(&lengthOk);
    if (!lengthOk || length < 0 || length > MaxBodyBytes)
        return socket->abort();
    if (connection->buffer.size() < headerEnd + 4 + length)
        return; // the body is still on its way
    request.body = connection->buffer.mid(headerEnd + 4, length);
    connection->buffer.remove(0, headerEnd + 4 + length);
    connection->answering = true;
    connection->pending = request;
    m_requests.append(request);
    answer(socket, request);
}

void TestHttpServer::answer(QTcpSocket* socket, const Request& request)
{
    Response response;
    response.status = 404;
    response.contentType = QByteArrayLiteral("text/plain");
    response.body = QByteArrayLiteral("not found");
    if (const auto route = m_routes.constFind(request.pathOnly()); route != m_routes.constEnd())
        response = route.value()(request);
    const bool keepAlive = request.headers.value("connection").toLower() != "close";
    const QByteArray bytes = serialize(response, keepAlive);
    const auto send = [this, target = QPointer<QTcpSocket>(socket), bytes, keepAlive]
    {
        if (!target || !m_connections.contains(target))
            return;
        target->write(bytes);
        m_connections[target].answering = false;
        if (!keepAlive)
            target->disconnectFromHost();
        else if (!m_connections[target].buffer.isEmpty())
            processBuffer(target);
    };
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, this, send);
    else
        send();
}

QByteArray TestHttpServer::serialize(const Response& response, bool keepAlive)
{
    const bool hasBody = response.status != 204 && response.status != 304;
    // Clients read the number; the reason phrase is for people.
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    if (hasBody)
        out += "Content-Type: " + response.contentType +
               "\r\nContent-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    for (const auto& [name, value] : response.headers)
        out += name + ": " + value + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "Cache-Control: no-store\r\n\r\n";
    return hasBody ? out + response.body : out;
}
