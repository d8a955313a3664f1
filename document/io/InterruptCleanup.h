#pragma once
// Files that a program ended by a signal must not leave behind. Writes make
// their files without a name where the file system allows (nothing is left
// then, whatever ends the process); the names listed here are the few
// moments and file systems where a file in progress has one.

#include <QByteArray>

#include <functional>

namespace gelcoat {

struct ListedNameEntry;

// One listed name, taken off the list when destroyed (the file stays).
class ListedName {
public:
    ListedName() = default;
    ~ListedName() { unlist(); }
    ListedName(const ListedName&) = delete;
    ListedName& operator=(const ListedName&) = delete;

    // Lists path, then calls create, which makes the file and returns a
    // value below 0, with errno set, when it fails. A terminating signal
    // that arrives meanwhile waits for create to return before it removes
    // the listed files, so that no file is made unlisted or after the
    // removal. -1 with errno EINTR, and nothing listed or made, once such a
    // signal is ending the process.
    int listAndCreate(const QByteArray& path, const std::function<int()>& create);
    void unlist();

private:
    ListedNameEntry* entry_ = nullptr;
};

// From now on SIGINT, SIGTERM, SIGHUP, SIGPIPE (a reader of standard output
// that went away) and SIGXFSZ (the file size limit) first remove the listed
// files, then end the process as they would have. A signal that the caller
// ignores (nohup, a shell's trap) stays ignored.
void removeFilesInProgressOnTermination();

} // namespace gelcoat
