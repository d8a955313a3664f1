#pragma once
// Every user-visible text of the shared library comes from a string table:
// one translation context per table ("Base", "About", "VersionCheck",
// "Localizable"), compiled into the resources under ":/strings/<table>.qm"
// (a translation for the user's language as "<table>_<language>.qm").

#include <QString>

// The text for `key` in `table`.  A key the table lacks reads as the key
// between asterisks ("*key*") and writes one warning line naming the key.
QString KPTestLocalizedStringFromTable(const QString& key, const QString& table);
