#include "app/documents/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSettings>

#include <memory>

#include <unistd.h>

namespace gelcoat {

namespace {

// The hand-over takes two steps, so that the files open in one program
// only. The running program answers kReady once it has read the list; the
// launch then sends kConfirmed and ends, and only that byte makes the
// running program open the files. A launch that stopped waiting before the
// answer (and opens its files itself) never confirms, and the running
// program, however late it reads the request, opens nothing.
constexpr char kReady = 'r';
constexpr char kConfirmed = 'c';
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
    // A program that is busy, stopped or shutting down does not answer in
    // time, and this launch goes on alone.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    if (!socket.getChar(&answer) || answer != kReady)
        return false;
    // From here on the files are the running program's: once the byte has
    // left, this launch must not open them too.
    socket.putChar(kConfirmed);
    return socket.waitForBytesWritten(timeoutMs) || socket.bytesToWrite() == 0;
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
        auto handOver = std::make_shared<PendingHandOver>();
        auto read = [this, socket, handOver] { readHandOver(*socket, *handOver); };
        connect(socket, &QLocalSocket::readyRead, socket, read);
        // A confirmation may arrive together with the end of the connection.
        connect(socket, &QLocalSocket::disconnected, socket, [socket, read] {
            read();
            socket->deleteLater();
        });
    }
}

void SingleInstance::readHandOver(QLocalSocket& socket, PendingHandOver& handOver)
{
    if (handOver.finished)
        return;
    if (!handOver.files) {
        QDataStream stream(&socket);
        stream.startTransaction();
        QByteArray message;
        stream >> message;
        if (!stream.commitTransaction()) {
            if (socket.bytesAvailable() > kMaxMessageBytes)
                socket.abort();
            return;
        }
        QStringList files;
        QDataStream messageStream(message);
        messageStream >> files;
        handOver.files = files;
        if (socket.state() == QLocalSocket::ConnectedState) {
            socket.putChar(kReady);
            socket.flush();
        }
    }
    char confirmation = 0;
    if (socket.bytesAvailable() < 1 || !socket.getChar(&confirmation))
        return;
    handOver.finished = true;
    socket.disconnectFromServer();
    if (confirmation == kConfirmed)
        emit filesArrived(*handOver.files);
}

} // namespace gelcoat
