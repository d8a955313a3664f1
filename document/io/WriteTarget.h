#pragma once
// Where a write to a path lands when the name is a symbolic link.

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

enum class LinkPolicy {
    // The file the link points to is replaced (a dangling link's target is
    // made), and the link stays. Not in a folder that everyone may write to
    // and whose sticky bit is set (/tmp): there a link that belongs neither
    // to this user nor to the folder's owner is refused, as Linux's
    // protected-symlinks rule refuses to follow it, since anyone could have
    // planted it there.
    FollowWhereSafe,
    // Never written through: the link and what it points to stay as they
    // are. For writes whose names the user did not type one by one.
    Refuse,
};

// The path a write to nativePath replaces, after the links that policy
// follows. Nothing when the write must not happen, with the reason in
// *refusal (or only errno set, for a failure of the system).
std::optional<QByteArray> writeTarget(const QByteArray& nativePath, LinkPolicy policy,
                                      QString* refusal);

// Why LinkPolicy::Refuse refused a write.
QString symbolicLinkRefusal();

// Whether the name itself is a symbolic link (not what it points to).
bool isSymbolicLink(const QByteArray& nativePath);

// The folder part of a path with its last slash ("" for a bare name, "/"
// for a file in the root).
QByteArray folderOf(const QByteArray& nativePath);

} // namespace gelcoat
