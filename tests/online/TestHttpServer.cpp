#include "TestHttpServer.h"

namespace {

QByteArray Response(int status, const QByteArray& reason, const QByteArray& body, qint64 contentLength)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n" +
           "Content-Length: " + QByteArray::number(contentLength) + "\r\n" + "Connection: close\r\n\r\n" + body;
}

}  // namespace

QByteArray InstallerBody(const QByteArray& name)
{
    QByteArray body;
    for (int i = 0; body.size() < 200'000; ++i) body += "line " + QByteArray::number(i) + " of " + name + "\r\n";
    return body;
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

QString TestHttpServer::Address() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void TestHttpServer::Serve(const QByteArray& path, const QByteArray& body)
{
    routes_.insert(path, {200, body, false});
}

void TestHttpServer::Fail(const QByteArray& path, int status)
{
    routes_.insert(path, {status, "<html><body>Something went wrong</body></html>", false});
}

void TestHttpServer::BreakOff(const QByteArray& path, const QByteArray& body)
{
    routes_.insert(path, {200, body, true});
}

void TestHttpServer::Answer(QTcpSocket* socket, const QByteArray& path)
{
    requests_ << path;
    const Route route = routes_.value(path, {404, "<html><body>Not here</body></html>", false});
    const QByteArray reason = route.status == 200 ? "OK" : route.status == 404 ? "Not Found" : "Error";
    const qint64 promised = route.breakOff ? route.body.size() * 4 + 1000 : route.body.size();
    socket->write(Response(route.status, reason, route.body, promised));
    socket->disconnectFromHost();
}
