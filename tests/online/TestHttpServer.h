#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the online services' tests. It runs
// in the test's thread; the downloads' own event loops drive it. Paths without
// a route get a 404 with an HTML error page.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

class TestHttpServer {
public:
    TestHttpServer();
    bool Listening() const { return server_.isListening(); }
    // "http://127.0.0.1:<port>", without a trailing slash.
    QString Address() const;

    // 200 with body.
    void Serve(const QByteArray& path, const QByteArray& body);
    // status with an HTML error page as body.
    void Fail(const QByteArray& path, int status);
    // 200 promising more than body, sending body and closing the connection.
    void BreakOff(const QByteArray& path, const QByteArray& body);

    // The request targets in the order they came.
    const QList<QByteArray>& Requests() const { return requests_; }

private:
    struct Route {
        int status = 200;
        QByteArray body;
        bool breakOff = false;
    };
    void Answer(QTcpSocket* socket, const QByteArray& path);

    QHash<QByteArray, Route> routes_;
    QList<QByteArray> requests_;
    QHash<QTcpSocket*, QByteArray> heads_;  // request heads still arriving
    QTcpServer server_;
};

// A body that arrives in several pieces and shows a piece out of place.
QByteArray InstallerBody(const QByteArray& name);
