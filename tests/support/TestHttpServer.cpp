#include "tests/support/TestHttpServer.h"

namespace {

QByteArray Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Error";
    }
}

}  // namespace

TestHttpServer::Route TestHttpServer::MakeRoute(int status, const QByteArray& body, qint64 promised, bool keepOpen,
                                                const QByteArray& location)
{
    Route route;
    route.status = status;
    route.body = body;
    route.promised = promised;
    route.keepOpen = keepOpen;
    route.location = location;
    return route;
}

TestHttpServer::TestHttpServer()
{
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                heads_.remove(socket);
                socket->deleteLater();
            });
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                // Collect the request head, then answer once.
                if (!heads_.contains(socket)) return;
                QByteArray& head = heads_[socket];
                head += socket->readAll();
                if (!head.contains("\r\n\r\n")) return;
                const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
                heads_.remove(socket);
                Answer(socket, requestLine.value(1));
            });
            heads_.insert(socket, {});
        }
    });
    server_.listen(QHostAddress::LocalHost);
}

QString TestHttpServer::Address() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

void TestHttpServer::Serve(const QByteArray& path, const QByteArray& body) { routes_.insert(path, MakeRoute(200, body)); }

void TestHttpServer::Fail(const QByteArray& path, int status)
{
    routes_.insert(path, MakeRoute(status, "<html><body>Something went wrong</body></html>"));
}

void TestHttpServer::BreakOff(const QByteArray& path, const QByteArray& body, qint64 promised)
{
    routes_.insert(path, MakeRoute(200, body, promised >= 0 ? promised : body.size() * 4 + 1000));
}

void TestHttpServer::Stall(const QByteArray& path, const QByteArray& body, qint64 promised)
{
    routes_.insert(path, MakeRoute(200, body, promised, true));
}

void TestHttpServer::Redirect(const QByteArray& path, int status, const QByteArray& location)
{
    routes_.insert(path, MakeRoute(status, "moved", -1, false, location));
}

void TestHttpServer::Answer(QTcpSocket* socket, const QByteArray& path)
{
    requests_ << path;
    const Route route = routes_.value(path, MakeRoute(404, "<html><body>Not here</body></html>"));
    QByteArray response = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + Reason(route.status) + "\r\n";
    if (!route.location.isEmpty()) response += "Location: " + route.location + "\r\n";
    response += "Content-Length: " + QByteArray::number(route.promised >= 0 ? route.promised : route.body.size()) +
                "\r\nConnection: close\r\n\r\n" + route.body;
    socket->write(response);
    if (!route.keepOpen) socket->disconnectFromHost();
}
