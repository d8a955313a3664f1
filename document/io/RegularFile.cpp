#include "io/RegularFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gelcoat {

namespace {

std::optional<QByteArray> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* error)
{
    // Non-blocking, so that opening a FIFO returns at once instead of
    // waiting for a writer; fstat on the open descriptor then decides.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(error, QStringLiteral("The file %1 cannot be opened (%2).")
                               .arg(path, systemError()));
    struct stat info {};
    QByteArray bytes;
    QString reason;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = QStringLiteral("%1 is not a regular file.").arg(path);
    } else if (info.st_size > maxBytes) {
        reason = QStringLiteral("The file %1 is larger than %2 MiB.").arg(path).arg(maxBytes >> 20);
    } else {
        try {
            bytes.resize(qsizetype(info.st_size));
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("Not enough memory to read %1.").arg(path);
        }
        qsizetype done = 0;
        while (reason.isEmpty() && done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                reason = QStringLiteral("The file %1 cannot be read (%2).").arg(path, systemError());
            else if (got == 0)
                bytes.truncate(done);   // shrank while being read
            else
                done += got;
        }
    }
    ::close(fd);
    if (!reason.isEmpty())
        return fail(error, reason);
    return bytes;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

} // namespace gelcoat
