#pragma once
// Whole files in and out safely. Reading: only regular files, only up to a
// size limit, never blocking on a FIFO or a device a hostile path may name.
// Writing: beside the target, then renamed over it.

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// The file's bytes, or nothing with the reason in *error.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes,
                                          QString* error = nullptr);

// A file written in full beside its target and renamed over it only by
// commit(), so that several files can be written all or none. The target's
// permission bits carry over (a new file gets 0666 less the umask); a
// symbolic link is followed, not replaced. Destroyed before commit(), it
// removes what it wrote. Failures give the system's reason (strerror).
class PendingFile {
public:
    explicit PendingFile(const QString& path);
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
    bool fail(QString* error);
    bool flushAndClose(QString* error);
    void forgetTemporary(bool remove);

    QByteArray target_;
    QByteArray temporary_;
    int slot_ = -1;   // in the list removeFilesInProgressOnTermination cleans
    int unflushed_ = -1;   // the temporary file's descriptor until it is flushed
};

// From now on, SIGINT, SIGTERM and SIGHUP first remove the temporary files
// of writes in progress, then end the process as they would have, so that
// an interrupted program leaves no partial file behind.
void removeFilesInProgressOnTermination();

// Writes bytes to a temporary file beside path and renames it over path, so
// that a failed write leaves an existing file as it was. False, with the
// system's reason in *error, on failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace gelcoat
