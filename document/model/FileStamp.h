#pragma once
// What a document's file looked like when the document last read or wrote
// it, so that a change made by another program since can be noticed before
// a save replaces it.

#include <QString>

#include <cstdint>
#include <optional>

namespace gelcoat {

struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    // The file itself: a program that saves by writing a new file and
    // renaming it over the old one (as this one does) makes a new file even
    // when size and time, which the file system keeps in coarse steps, come
    // out the same.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at path (a symbolic link followed), or nothing when
// there is no such file.
std::optional<FileStamp> fileStampOf(const QString& path);

} // namespace gelcoat
