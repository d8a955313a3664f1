#include "app/render/RenderPaths.h"

#include "document/io/PrintablePath.h"
#include "document/io/WriteTarget.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace gelcoat {

namespace {

QByteArray fileNameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The folder's real path and the name in it.
QByteArray canonicalName(const QByteArray& path)
{
    const QByteArray folder = folderOf(path);
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(folder.isEmpty() ? "." : folder.constData(), nullptr), &std::free);
    return real ? QByteArray(real.get()) + '/' + fileNameOf(path) : path;
}

} // namespace

std::optional<FileIdentity> fileIdentity(const QByteArray& path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

bool sameFileOrName(const QByteArray& a, const QByteArray& b)
{
    const std::optional<FileIdentity> first = fileIdentity(a), second = fileIdentity(b);
    if (first && second)
        return *first == *second;
    return canonicalName(a) == canonicalName(b);
}

bool isFolder(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool makeFolders(const QByteArray& path, QString* error)
{
    for (qsizetype end = path.indexOf('/', 1); ; end = path.indexOf('/', end + 1)) {
        const QByteArray folder = end < 0 ? path : path.left(end);
        if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (end < 0 || end + 1 == path.size())
            break;
    }
    if (isFolder(path))
        return true;
    *error = QString::fromLocal8Bit(std::strerror(ENOTDIR));
    return false;
}

QByteArray batchOutputPath(const QByteArray& folder, const QByteArray& input,
                           const QByteArray& extension)
{
    QByteArray name = fileNameOf(input);
    const qsizetype dot = name.lastIndexOf('.');
    // A hidden file without an extension keeps its whole name.
    if (dot > 0)
        name.truncate(dot);
    return (folder.endsWith('/') ? folder : folder + '/') + name + extension;
}

QString quotedPath(const QByteArray& path)
{
    return u'"' + printablePath(path) + u'"';
}

} // namespace gelcoat
