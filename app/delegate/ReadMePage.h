#pragma once
// The read-me page lives in the program's resources, which no other program
// can open; it is copied to a file that a browser can show.

#include <QString>

namespace gelcoat {

// The resource the page is compiled in as.
extern const char* const readMeResource;

// Writes the page into `folder` (by default the user's cache folder) when
// the file there is missing or differs, and returns the file's path; an
// empty string, after one log line, when it cannot be written.
QString readMePagePath(const QString& folder = QString());

} // namespace gelcoat
