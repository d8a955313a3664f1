#pragma once
// The file names of gelcoat-render: bytes from the command line to the
// system calls, shown through printablePath() only.

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/types.h>

namespace gelcoat {

// Which file a name stands for, whatever the spelling (links, "./", "..").
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The file the name leads to, links followed; nothing when there is none.
std::optional<FileIdentity> fileIdentity(const QByteArray& path);

// The same file, or, while they do not exist, the same name in the same
// folder.
bool sameFileOrName(const QByteArray& a, const QByteArray& b);

bool isFolder(const QByteArray& path);

// Makes the folder and the folders above it that are missing; false with
// the system's reason in *error.
bool makeFolders(const QByteArray& path, QString* error);

// A batch's output for input: its name up to the last dot, in folder.
QByteArray batchOutputPath(const QByteArray& folder, const QByteArray& input,
                           const QByteArray& extension);

// The path between double quotes, as messages show file names.
QString quotedPath(const QByteArray& path);

} // namespace gelcoat
