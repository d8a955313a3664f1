#include "document/io/RegularFile.h"

#include "document/io/PrintablePath.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdio>
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

QString systemError(int code = errno)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::atomic<bool> anonymousFilesEnabled{true};

// What open() says when the folder's file system (or the kernel) has no
// O_TMPFILE.
bool noAnonymousFiles(int code)
{
    return code == EOPNOTSUPP || code == EISDIR || code == EINVAL;
}

// A short name of the process's own in folder, whatever the length of the
// target's name: a target whose name is as long as a name may be still
// gets a temporary name.
QByteArray temporaryName(const QByteArray& folder)
{
    static std::atomic<unsigned> counter{0};
    return folder + ".gelcoat-" + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(counter++) + ".tmp";
}

// Gives a file written without a name the name path; fails with EEXIST
// when path exists.
int linkAnonymousFile(int fd, const QByteArray& path)
{
    char procPath[48];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    const int code = errno;
    // Without /proc, the descriptor itself (which needs CAP_DAC_READ_SEARCH).
    if (code == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
        return ::linkat(fd, "", AT_FDCWD, path.constData(), AT_EMPTY_PATH);
    errno = code;
    return -1;
}

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, QString* error)
{
    return readRegularFile(QFile::encodeName(path), maxBytes, error);
}

std::optional<QByteArray> readRegularFile(const QByteArray& nativePath, qint64 maxBytes,
                                          QString* error)
{
    const QString path = printablePath(nativePath);
    // Non-blocking, so that opening a FIFO returns at once instead of
    // waiting for a writer; fstat on the open descriptor then decides.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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

PendingFile::PendingFile(const QByteArray& nativePath, LinkPolicy links)
    : path_(nativePath), links_(links)
{
}

PendingFile::PendingFile(const QString& path, LinkPolicy links)
    : PendingFile(QFile::encodeName(path), links)
{
}

PendingFile::~PendingFile()
{
    discard();
}

void PendingFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!named_.isEmpty())
        ::unlink(named_.constData());
    named_.clear();
    listed_.unlist();
    anonymous_ = unflushed_ = false;
}

bool PendingFile::fail(QString* error, const QString& reason)
{
    const int code = errno;
    discard();
    if (error)
        *error = reason.isEmpty() ? systemError(code) : reason;
    return false;
}

bool PendingFile::openTemporary()
{
    if (anonymousFilesEnabled.load()) {
        const QByteArray folder = folderOf(target_);
        fd_ = ::open(folder.isEmpty() ? "." : folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                     0666);
        anonymous_ = fd_ >= 0;
        if (anonymous_ || !noAnonymousFiles(errno))
            return anonymous_;
    }
    return openNamedTemporary();
}

// Tries fresh short names in the target's folder until `create` makes one.
// Each name is listed for the signal handler before the file can exist.
int PendingFile::createUnderFreshName(const std::function<int(const QByteArray&)>& create)
{
    const QByteArray folder = folderOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(folder);
        const int result = listed_.listAndCreate(name, [&] { return create(name); });
        if (result >= 0) {
            named_ = name;
            return result;
        }
        const int code = errno;
        listed_.unlist();
        errno = code;
        if (code != EEXIST)
            return -1;
    }
    return -1;
}

bool PendingFile::openNamedTemporary()
{
    fd_ = createUnderFreshName([](const QByteArray& name) {
        return ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    });
    return fd_ >= 0;
}

bool PendingFile::write(const QByteArray& bytes, QString* error, Flush flush)
{
    discard();
    QString refusal;
    const std::optional<QByteArray> target = writeTarget(path_, links_, &refusal);
    if (!target)
        return fail(error, refusal);
    target_ = *target;
    if (!openTemporary())
        return fail(error);
    struct stat existing {};
    if (::stat(target_.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd_, existing.st_mode & 07777);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return fail(error);
        done += put;
    }
    unflushed_ = true;
    return flush == Flush::InCommit || flushData(error);
}

// Reported here rather than lost: delayed allocation may fail only now.
bool PendingFile::flushData(QString* error)
{
    if (::fdatasync(fd_) != 0)
        return fail(error);
    unflushed_ = false;
    return true;
}

// Straight onto the name when it is free; otherwise under a fresh name of
// its own first, then renamed over the target in one step.
bool PendingFile::linkIn()
{
    if (linkAnonymousFile(fd_, target_) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    return createUnderFreshName([this](const QByteArray& name) {
        return linkAnonymousFile(fd_, name);
    }) == 0;
}

bool PendingFile::commit(QString* error)
{
    if (fd_ < 0) {
        errno = EINVAL;
        return fail(error);
    }
    if (unflushed_ && !flushData(error))
        return false;
    // A link planted since write() is never written through: renaming over
    // it replaces the link itself.
    if (links_ == LinkPolicy::Refuse && isSymbolicLink(target_))
        return fail(error, symbolicLinkRefusal());
    if (anonymous_ && !linkIn())
        return fail(error);
    if (!named_.isEmpty()) {
        if (::rename(named_.constData(), target_.constData()) != 0)
            return fail(error);
        named_.clear();
    }
    discard();
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    PendingFile file(path);
    return file.write(bytes, error) && file.commit(error);
}

void setAnonymousTemporaryFilesEnabled(bool enabled)
{
    anonymousFilesEnabled.store(enabled);
}

} // namespace gelcoat
