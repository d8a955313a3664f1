#pragma once
// Whole files in and out safely. Reading: only regular files, only up to a
// size limit, never blocking on a FIFO or a device a hostile path may name.
// Writing: complete before the file appears under its name. Paths are
// bytes, as Linux keeps them; the QString forms take Qt's file name
// encoding (UTF-8).

#include "document/io/InterruptCleanup.h"
#include "document/io/WriteTarget.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace gelcoat {

// The file's bytes, or nothing with the reason in *error.
std::optional<QByteArray> readRegularFile(const QByteArray& nativePath, qint64 maxBytes,
                                          QString* error = nullptr);
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes,
                                          QString* error = nullptr);

// A file written in full in its target's folder and put under the target's
// name only by commit(), so that several files can be written all or none.
// It is written without a name (O_TMPFILE), so that nothing is left of it
// however the process ends, and linked in by commit(); on a file system
// without such files it gets a short hidden name, which a terminating
// signal removes (removeFilesInProgressOnTermination). The target's
// permission bits carry over (a new file gets 0666 less the umask); links
// are treated as the LinkPolicy says. Destroyed before commit(), it leaves
// nothing. Failures give the system's reason (strerror).
class PendingFile {
public:
    explicit PendingFile(const QByteArray& nativePath,
                         LinkPolicy links = LinkPolicy::FollowWhereSafe);
    explicit PendingFile(const QString& path, LinkPolicy links = LinkPolicy::FollowWhereSafe);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // When the written bytes are flushed to the disk (and a full disk or a
    // failing device reported): before write() returns, or by commit(), so
    // that a batch's renderers need not wait for the disk.
    enum class Flush { InWrite, InCommit };

    bool write(const QByteArray& bytes, QString* error = nullptr, Flush flush = Flush::InWrite);
    bool commit(QString* error = nullptr);

private:
    bool openTemporary();
    int createUnderFreshName(const std::function<int(const QByteArray&)>& create);
    bool openNamedTemporary();
    bool flushData(QString* error);
    bool linkIn();
    bool fail(QString* error, const QString& reason = {});
    void discard();

    QByteArray path_;
    LinkPolicy links_;
    QByteArray target_;     // path_, or where its links lead
    int fd_ = -1;           // the file being written
    bool anonymous_ = false;
    bool unflushed_ = false;
    QByteArray named_;      // its name, when it has one
    ListedName listed_;
};

// Writes bytes beside path and puts them under its name (a PendingFile), so
// that a failed write leaves an existing file as it was. False, with the
// system's reason in *error, on failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Files are then written with short hidden names only, as on a file system
// without O_TMPFILE; for tests of that path.
void setAnonymousTemporaryFilesEnabled(bool enabled);

} // namespace gelcoat
