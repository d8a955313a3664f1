#include "document/io/RegularFile.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

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

// Temporary files being written, for a signal handler to remove: fixed
// storage and atomic slot states, since a handler may neither allocate nor
// lock. A write that finds no free slot simply goes unlisted.
struct InProgressSlot {
    std::atomic<int> state{0};   // 0 free, 1 being filled, 2 listed
    char path[PATH_MAX];
};
InProgressSlot inProgress[64];

int listInProgress(const QByteArray& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < int(std::size(inProgress)); ++i) {
        int expected = 0;
        if (inProgress[i].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(inProgress[i].path, path.constData(), std::size_t(path.size()) + 1);
            inProgress[i].state.store(2);
            return i;
        }
    }
    return -1;
}

extern "C" void removeInProgressAndEnd(int signal)
{
    // Twice: other threads go on writing while the first pass runs.
    for (int pass = 0; pass < 2; ++pass)
        for (InProgressSlot& slot : inProgress)
            if (slot.state.load() == 2)
                ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
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
    if (::fstat(fd, &info) != 0) {
        reason = QStringLiteral("The file %1 cannot be examined (%2).").arg(path, systemError());
    } else if (!S_ISREG(info.st_mode)) {
        const char* kind = S_ISFIFO(info.st_mode)  ? "a FIFO"
                           : S_ISDIR(info.st_mode) ? "a folder"
                           : S_ISSOCK(info.st_mode) ? "a socket"
                           : S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ? "a device"
                                                                              : "not a file";
        reason = QStringLiteral("%1 is %2, not a regular file.").arg(path, QLatin1String(kind));
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

PendingFile::PendingFile(const QString& path) : target_(QFile::encodeName(path))
{
    // Writing through a link keeps the link and replaces what it points to.
    char resolved[PATH_MAX];
    struct stat info {};
    if (::lstat(target_.constData(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(target_.constData(), resolved))
        target_ = resolved;
}

PendingFile::~PendingFile()
{
    if (unflushed_ >= 0)
        ::close(unflushed_);
    forgetTemporary(true);
}

void PendingFile::forgetTemporary(bool remove)
{
    if (remove && !temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
    if (slot_ >= 0)
        inProgress[slot_].state.store(0);
    slot_ = -1;
}

bool PendingFile::fail(QString* error)
{
    const int code = errno;
    forgetTemporary(true);
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

bool PendingFile::write(const QByteArray& bytes, QString* error, Flush flush)
{
    if (unflushed_ >= 0) {
        ::close(unflushed_);
        unflushed_ = -1;
    }
    const qsizetype slash = target_.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target_.left(slash + 1);
    const QByteArray name = target_.mid(slash + 1);
    static std::atomic<unsigned> counter{0};
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        forgetTemporary(false);
        temporary_ = folder + '.' + name + '.' + QByteArray::number(::getpid()) + '-' +
                     QByteArray::number(counter++) + ".tmp";
        // Listed before it exists, so that no moment has it unlisted.
        slot_ = listInProgress(temporary_);
        fd = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            forgetTemporary(false);
            return fail(error);
        }
    }
    if (fd < 0) {
        forgetTemporary(false);
        return fail(error);
    }
    struct stat existing {};
    if (::stat(target_.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            ::close(fd);
            return fail(error);
        }
        done += put;
    }
    unflushed_ = fd;
    return flush == Flush::InCommit || flushAndClose(error);
}

// Reported here rather than lost: delayed allocation may fail only now.
bool PendingFile::flushAndClose(QString* error)
{
    const int fd = std::exchange(unflushed_, -1);
    if (::fdatasync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        errno = code;
        return fail(error);
    }
    if (::close(fd) != 0)
        return fail(error);
    return true;
}

bool PendingFile::commit(QString* error)
{
    if (temporary_.isEmpty()) {
        errno = EINVAL;
        return fail(error);
    }
    if (unflushed_ >= 0 && !flushAndClose(error))
        return false;
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        return fail(error);
    forgetTemporary(false);
    return true;
}

void removeFilesInProgressOnTermination()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, removeInProgressAndEnd);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    PendingFile file(path);
    return file.write(bytes, error) && file.commit(error);
}

} // namespace gelcoat
