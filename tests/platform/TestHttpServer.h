#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for download tests. It runs in the
// test's thread; the download's own event loop drives it.

#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class TestHttpServer {
public:
    // The body served at /file (and, through redirects, /moved and /moved-twice).
    static QByteArray FileBody();

    TestHttpServer();
    bool Listening() const { return server_.isListening(); }
    QUrl Url(const QString& path) const;

    // Routes:
    //   /file         200 with FileBody()
    //   /empty        200 with no body
    //   /missing      404 with an HTML error page
    //   /fails        500 with an HTML error page
    //   /moved        302 to /file
    //   /moved-twice  301 to /moved
    //   /broken       200 promising 200000 bytes, sends 5000 and closes
    //   /stall        200 promising 1000 bytes, sends 10 and then nothing
private:
    void Serve(QTcpSocket* socket, const QByteArray& path);

    // Before the server: its sockets may still report on their way out.
    QHash<QTcpSocket*, QByteArray> heads_;  // request heads still arriving
    QTcpServer server_;
};
