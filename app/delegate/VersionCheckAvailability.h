#pragma once
// Whether this build checks for new versions at all.  A build that still
// names a reserved example site as the maker's web site has no version list
// to read: asking the user about checks, checking at start and the version
// items of the Help menu would only lead to a failed check and an alert.

#include <QString>

namespace gelcoat {

// True for an address that cannot be a real maker's site: empty or not a
// web address, or a host under the names reserved for examples and tests
// (example.org, example.com, example.net, *.example, *.test, *.invalid).
bool isPlaceholderWebSite(const QString& site);

// Decided from the web site of the identity the program has handed to the
// shared library, so that a test can hand it another.
bool versionCheckingAvailable();

} // namespace gelcoat
