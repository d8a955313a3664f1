#include "app/documents/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSettings>

#include <unistd.h>

namespace gelcoat {

namespace {

// The answer a running program gives once it has the files.
constexpr char kTaken = 'k';
// A hand-over is a short list of paths; anything longer is not one.
constexpr qint64 kMaxMessageBytes = 1 << 20;

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    // Only this user may hand files over.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::takeConnection);
}

QString SingleInstance::serverName()
{
    const QByteArray folder =
        QFileInfo(QSettings().fileName()).absolutePath().toUtf8();
    const QByteArray key =
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("gelcoat-%1-%2").arg(::getuid()).arg(QString::fromLatin1(key));
}

bool SingleInstance::handOver(const QStringList& files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QStringList absolute;
    for (const QString& file : files)
        absolute << QFileInfo(file).absoluteFilePath();
    QByteArray message;
    QDataStream messageStream(&message, QIODevice::WriteOnly);
    messageStream << absolute;
    QDataStream socketStream(&socket);
    socketStream << message;
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Ended only once the running program has the files: a program that
    // is shutting down does not answer, and this launch goes on alone.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

bool SingleInstance::listen()
{
    if (server_.listen(serverName()))
        return true;
    // A program that crashed leaves its socket behind; nobody answered on
    // it (handOver came first), so it is stale.
    if (server_.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(serverName());
    return server_.listen(serverName());
}

void SingleInstance::takeConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            QDataStream stream(socket);
            stream.startTransaction();
            QByteArray message;
            stream >> message;
            if (!stream.commitTransaction()) {
                if (socket->bytesAvailable() > kMaxMessageBytes)
                    socket->abort();
                return;
            }
            QStringList files;
            QDataStream messageStream(message);
            messageStream >> files;
            socket->putChar(kTaken);
            socket->flush();
            socket->disconnectFromServer();
            emit filesArrived(files);
        });
    }
}

} // namespace gelcoat
