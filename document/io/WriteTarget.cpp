#include "document/io/WriteTarget.h"

#include <cerrno>
#include <climits>

#include <sys/stat.h>
#include <unistd.h>

namespace gelcoat {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinkHops = 40;

QString sharedFolderRefusal()
{
    return QStringLiteral("it is a symbolic link in a folder that everyone may write to "
                          "(sticky, such as /tmp) and belongs neither to you nor to the "
                          "folder's owner, so it is not followed");
}

// The protected-symlinks rule: in a world-writable sticky folder a link is
// followed only when its owner is the follower or the folder's owner.
bool linkMayBeFollowed(const QByteArray& link, const struct stat& linkInfo)
{
    const QByteArray folder = folderOf(link);
    struct stat folderInfo {};
    if (::stat(folder.isEmpty() ? "." : folder.constData(), &folderInfo) != 0)
        return false;
    const bool shared = (folderInfo.st_mode & S_ISVTX) && (folderInfo.st_mode & S_IWOTH);
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folderInfo.st_uid;
}

} // namespace

QString symbolicLinkRefusal()
{
    return QStringLiteral("it is a symbolic link, and writing through it is refused");
}

QByteArray folderOf(const QByteArray& nativePath)
{
    const qsizetype slash = nativePath.lastIndexOf('/');
    return slash < 0 ? QByteArray() : nativePath.left(slash + 1);
}

bool isSymbolicLink(const QByteArray& nativePath)
{
    struct stat info {};
    return ::lstat(nativePath.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::optional<QByteArray> writeTarget(const QByteArray& nativePath, LinkPolicy policy,
                                      QString* refusal)
{
    QByteArray path = nativePath;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        // A name that is not there, or cannot be examined, is written as it
        // is; creating the file then reports what is wrong.
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        if (policy == LinkPolicy::Refuse) {
            *refusal = symbolicLinkRefusal();
            return std::nullopt;
        }
        if (!linkMayBeFollowed(path, info)) {
            *refusal = sharedFolderRefusal();
            return std::nullopt;
        }
        QByteArray destination(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), destination.data(),
                                          std::size_t(destination.size()));
        if (length < 0)
            return std::nullopt;
        if (length >= destination.size()) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        destination.truncate(length);
        path = destination.startsWith('/') ? destination : folderOf(path) + destination;
    }
    errno = ELOOP;
    return std::nullopt;
}

} // namespace gelcoat
