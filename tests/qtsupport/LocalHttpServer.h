#pragma once
// A small HTTP server on 127.0.0.1 for tests of network code.  Each request
// is answered according to the behaviour set for it (the last one set
// applies to every later request).
//
//     LocalHttpServer server;
//     server.serve(LocalHttpServer::Respond, "org.example.gelcoat 2.0\n");
//     QUrl site = server.baseUrl();          // "http://127.0.0.1:<port>/"
//
// refuse() closes the listening port, so that connections are refused.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    enum Behaviour {
        Respond,       // 200 with the body
        NeverAnswer,   // reads the request, says nothing
        Garbage,       // bytes that are not HTTP, then closes
        NotFound,      // 404
        HugeBody,      // 200 with a body of `hugeSize` bytes, streamed
        RespondLater,  // as Respond, after `delayMs`
    };

    LocalHttpServer();
    void serve(Behaviour behaviour, const QByteArray& body = {});
    // Behaviours for the next requests in order, before the one set by serve().
    void queue(Behaviour behaviour, const QByteArray& body = {});
    void refuse();

    QUrl baseUrl() const;
    int requestCount() const { return int(paths_.size()); }
    QList<QByteArray> paths() const { return paths_; }

    qint64 hugeSize = 8 * 1024 * 1024;
    int delayMs = 300;

private:
    void onConnection();
    void answer(QTcpSocket* socket);

    struct Plan {
        Behaviour behaviour;
        QByteArray body;
    };
    QTcpServer server_;
    quint16 port_ = 0;
    QList<Plan> queued_;
    Plan standing_{NotFound, {}};
    QList<QByteArray> paths_;
};
