#include "TestHttpServer.h"

#include <QTcpSocket>

namespace {

QByteArray Response(int status, const QByteArray& reason, const QByteArray& body,
                    const QByteArray& extraHeaders = {}, qint64 contentLength = -1)
{
    const qint64 length = contentLength >= 0 ? contentLength : body.size();
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n" + extraHeaders
           + "Content-Length: " + QByteArray::number(length) + "\r\n"
           + "Connection: close\r\n\r\n" + body;
}

}  // namespace

QByteArray TestHttpServer::FileBody()
{
    // Large enough to arrive in several pieces; not a repeat of one byte, so a
    // piece written twice or out of order shows.
    QByteArray body;
    for (int i = 0; body.size() < 300'000; ++i)
        body += "line " + QByteArray::number(i) + " of the test installer\r\n";
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
                // Collect the request head, then answer once.
                if (!heads_.contains(socket))
                    return;
                QByteArray& head = heads_[socket];
                head += socket->readAll();
                if (!head.contains("\r\n\r\n"))
                    return;
                const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
                heads_.remove(socket);
                Serve(socket, requestLine.value(1));
            });
            heads_.insert(socket, {});
        }
    });
    server_.listen(QHostAddress::LocalHost);
}

QUrl TestHttpServer::Url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

void TestHttpServer::Serve(QTcpSocket* socket, const QByteArray& path)
{
    const QByteArray errorPage = "<html><body>Something went wrong</body></html>";
    bool close = true;
    if (path == "/file") {
        socket->write(Response(200, "OK", FileBody()));
    } else if (path == "/empty") {
        socket->write(Response(200, "OK", {}));
    } else if (path == "/missing") {
        socket->write(Response(404, "Not Found", errorPage));
    } else if (path == "/fails") {
        socket->write(Response(500, "Internal Server Error", errorPage));
    } else if (path == "/moved") {
        socket->write(Response(302, "Found", "moved", "Location: /file\r\n"));
    } else if (path == "/moved-twice") {
        socket->write(Response(301, "Moved Permanently", "moved", "Location: /moved\r\n"));
    } else if (path == "/broken") {
        socket->write(Response(200, "OK", FileBody().left(5000), {}, 200'000));
    } else if (path == "/stall") {
        socket->write(Response(200, "OK", "0123456789", {}, 1000));
        close = false;
    } else {
        socket->write(Response(404, "Not Found", errorPage));
    }
    if (close)
        socket->disconnectFromHost();
}
