#pragma once
// Where the Help command finds the manual: installed with the program, in
// share/gelcoat/manual beside the folder of the executable (so an install
// under any prefix finds its own), or else on the maker's web site.

#include <QString>
#include <QUrl>

namespace gelcoat {

// The installed manual page below programFolder/../share, or an empty
// string when there is none.
QString installedManualPath(const QString& programFolder);

// The installed page as a file address, or the manual page on the web site.
QUrl manualUrl(const QString& programFolder, const QUrl& webSite);

} // namespace gelcoat
