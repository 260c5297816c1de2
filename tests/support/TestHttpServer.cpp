#include "TestHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

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
    m_server.close();
    const QList<QTcpSocket*> sockets = m_connections.keys();
    m_connections.clear();
    for (QTcpSocket* socket : sockets)
    {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool TestHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 TestHttpServer::port() const
{
    return m_server.serverPort();
}

QString TestHttpServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void TestHttpServer::route(const QString& path, const Response& response)
{
    m_routes.insert(path, [response](const Request&) { return response; });
}

void TestHttpServer::route(const QString& path, const Handler& handler)
{
    m_routes.insert(path, handler);
}

void TestHttpServer::routeHtml(const QString& path, const QByteArray& html, int delayMs)
{
    Response response;
    response.body = html;
    response.delayMs = delayMs;
    route(path, response);
}

void TestHttpServer::routeRedirect(const QString& path, const QString& location, int status)
{
    Response response;
    response.status = status;
    response.headers.append({QByteArrayLiteral("Location"), location.toUtf8()});
    route(path, response);
}

QStringList TestHttpServer::requestedPaths() const
{
    QStringList paths;
    for (const Request& request : m_requests)
        paths << request.path;
    return paths;
}

bool TestHttpServer::wasRequested(const QString& path) const
{
    return !lastRequest(path).method.isEmpty();
}

bool TestHttpServer::wasAbandoned(const QString& path) const
{
    const QString wanted = path.section(QLatin1Char('?'), 0, 0);
    return std::any_of(m_abandoned.cbegin(), m_abandoned.cend(),
                       [&wanted](const Request& request) { return request.pathOnly() == wanted; });
}

TestHttpServer::Request TestHttpServer::lastRequest(const QString& path) const
{
    const QString wanted = path.section(QLatin1Char('?'), 0, 0);
    for (auto it = m_requests.crbegin(); it != m_requests.crend(); ++it)
        if (it->pathOnly() == wanted)
            return *it;
    return {};
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
                    const auto closed = m_connections.constFind(socket);
                    if (closed != m_connections.constEnd() && closed->awaitingAnswer)
                        m_abandoned.append(closed->pending);
                    m_connections.remove(socket);
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
    // One request at a time per connection: the next is parsed once the
    // answer to this one has gone out.
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
    {
        socket->abort();
        return;
    }
    Request request;
    request.method = requestLine.at(0);
    request.path = QString::fromUtf8(requestLine.at(1));
    for (qsizetype i = 1; i < lines.size(); ++i)
    {
        const qsizetype colon = lines.at(i).indexOf(':');
        if (colon > 0)
            request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                   lines.at(i).mid(colon + 1).trimmed());
    }
    bool lengthOk = true;
    const qsizetype length = request.headers.value("content-length", "0").toLongLong(&lengthOk);
    if (!lengthOk || length < 0 || length > MaxBodyBytes)
    {
        socket->abort();
        return;
    }
    if (connection->buffer.size() < headerEnd + 4 + length)
        return; // the body is still on its way
    request.body = connection->buffer.mid(headerEnd + 4, length);
    connection->buffer.remove(0, headerEnd + 4 + length);
    connection->answering = true;
    connection->pending = request;
    connection->awaitingAnswer = true;
    m_requests.append(request);
    answer(socket, request);
}

void TestHttpServer::answer(QTcpSocket* socket, const Request& request)
{
    const auto routeIt = m_routes.constFind(request.pathOnly());
    Response response;
    if (routeIt != m_routes.constEnd())
        response = routeIt.value()(request);
    else
    {
        response.status = 404;
        response.contentType = QByteArrayLiteral("text/plain");
        response.body = QByteArrayLiteral("not found");
    }
    const bool keepAlive = request.headers.value("connection").toLower() != "close";
    const QByteArray bytes = serialize(response, keepAlive);
    QPointer<QTcpSocket> target(socket);
    const auto send = [this, target, bytes, keepAlive]
    {
        if (!target || !m_connections.contains(target))
            return;
        target->write(bytes);
        m_connections[target].awaitingAnswer = false;
        if (!keepAlive)
        {
            target->disconnectFromHost();
            return;
        }
        m_connections[target].answering = false;
        if (!m_connections[target].buffer.isEmpty())
            processBuffer(target);
    };
    if (response.delayMs > 0)
        QTimer::singleShot(response.delayMs, this, send);
    else
        send();
}

QByteArray TestHttpServer::serialize(const Response& response, bool keepAlive)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                     reasonPhrase(response.status) + "\r\n";
    if (response.status != 204 && response.status != 304)
    {
        out += "Content-Type: " + response.contentType + "\r\n";
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    }
    for (const auto& header : response.headers)
        out += header.first + ": " + header.second + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "Cache-Control: no-store\r\n\r\n";
    if (response.status != 204 && response.status != 304)
        out += response.body;
    return out;
}

QByteArray TestHttpServer::reasonPhrase(int status)
{
    switch (status)
    {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 304:
        return "Not Modified";
    case 307:
        return "Temporary Redirect";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}
