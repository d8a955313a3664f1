#include "tests/qtsupport/LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

LocalHttpServer::LocalHttpServer()
{
    server_.listen(QHostAddress::LocalHost, 0);
    port_ = server_.serverPort();
    connect(&server_, &QTcpServer::newConnection, this, &LocalHttpServer::onConnection);
}

void LocalHttpServer::serve(Behaviour behaviour, const QByteArray& body)
{
    standing_ = {behaviour, body};
}

void LocalHttpServer::queue(Behaviour behaviour, const QByteArray& body)
{
    queued_.append({behaviour, body});
}

void LocalHttpServer::refuse()
{
    server_.close();
}

QUrl LocalHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port_));
}

void LocalHttpServer::onConnection()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            if (!buffer->contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            paths_.append(buffer->split(' ').value(1));
            answer(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::answer(QTcpSocket* socket)
{
    const Plan plan = queued_.isEmpty() ? standing_ : queued_.takeFirst();
    switch (plan.behaviour) {
    case RespondLater:
        QTimer::singleShot(delayMs, socket, [this, socket, body = plan.body] {
            queued_.prepend({Respond, body});
            answer(socket);
        });
        break;
    case Respond:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n"
                      "Content-Length: " + QByteArray::number(plan.body.size()) + "\r\n\r\n"
                      + plan.body);
        socket->disconnectFromHost();
        break;
    case NeverAnswer:
        break;
    case Garbage: {
        static const char garbage[] = "\x00\xff\xfe garbage \x01\x02\r\n\r\n";
        socket->write(QByteArray(garbage, sizeof garbage - 1));
        socket->disconnectFromHost();
        break;
    }
    case NotFound:
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        break;
    case HugeBody: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n"
                      "Content-Length: " + QByteArray::number(hugeSize) + "\r\n\r\n");
        // Stream in chunks as the client reads, until it hangs up.
        auto sent = std::make_shared<qint64>(0);
        auto more = [socket, sent, size = hugeSize] {
            while (*sent < size && socket->bytesToWrite() < 256 * 1024) {
                const qint64 chunk = std::min<qint64>(64 * 1024, size - *sent);
                socket->write(QByteArray(int(chunk), 'x'));
                *sent += chunk;
            }
            if (*sent >= size)
                socket->disconnectFromHost();
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, more);
        more();
        break;
    }
    }
}
