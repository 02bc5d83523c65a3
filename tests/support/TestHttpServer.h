#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the download tests of the platform
// and online layers. It runs in the test's thread; the downloads' own event
// loops drive it. Each test gives it the routes it needs; a path without a
// route gets a 404 with an HTML error page.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class TestHttpServer {
public:
    TestHttpServer();
    bool Listening() const { return server_.isListening(); }
    // "http://127.0.0.1:<port>", without a trailing slash.
    QString Address() const;
    QUrl Url(const QString& path) const { return QUrl(Address() + path); }

    // 200 with body.
    void Serve(const QByteArray& path, const QByteArray& body);
    // status with an HTML error page as body.
    void Fail(const QByteArray& path, int status);
    // 200 promising more than body (promised bytes, or four times as many
    // when none is given), sending body and closing the connection.
    void BreakOff(const QByteArray& path, const QByteArray& body, qint64 promised = -1);
    // 200 promising more than body, sending body and then nothing, with the
    // connection kept open.
    void Stall(const QByteArray& path, const QByteArray& body, qint64 promised);
    // status (301, 302, ...) with a Location header and a small body.
    void Redirect(const QByteArray& path, int status, const QByteArray& location);

    // The request targets in the order they came.
    const QList<QByteArray>& Requests() const { return requests_; }

private:
    struct Route {
        int status = 200;
        QByteArray body;
        qint64 promised = -1;  // Content-Length; the body's size when -1
        bool keepOpen = false;
        QByteArray location;
    };
    static Route MakeRoute(int status, const QByteArray& body, qint64 promised = -1, bool keepOpen = false,
                           const QByteArray& location = {});
    void Answer(QTcpSocket* socket, const QByteArray& path);

    QHash<QByteArray, Route> routes_;
    QList<QByteArray> requests_;
    // Before the server: its sockets may still report on their way out.
    QHash<QTcpSocket*, QByteArray> heads_;  // request heads still arriving
    QTcpServer server_;
};
