#include "document/file/DocumentInput.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace gelcoat {

bool isDocumentInput(const QString& path)
{
    return isDocumentInput(QFile::encodeName(path));
}

bool isDocumentInput(const QByteArray& nativePath)
{
    if (nativePath.toLower().endsWith(".gelcoat"))
        return true;
    // Only regular files are peeked at: opening a FIFO would wait for a
    // writer, hence O_NONBLOCK, and fstat decides before anything is read.
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat info {};
    char head[1024];
    ssize_t got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        got = ::read(fd, head, sizeof head);
    ::close(fd);
    if (got <= 0)
        return false;
    const QByteArrayView start(head, got);
    return start.contains("<plist") || start.contains("<!DOCTYPE plist");
}

} // namespace gelcoat
