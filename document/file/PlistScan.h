#pragma once
// A strict check of an XML property list before libplist parses it.
//
// libplist 2.2 says nothing about why a parse failed, stores integers as
// unsigned 64-bit values (so that 2^64 − 1 and −1 look alike) and recurses
// without limit. This pass walks the XML once with Qt's stream reader,
// names the first fault with its line and column, limits the nesting, and
// keeps the decoded text of every number of the top-level dictionary: the
// reading rules saturate integers themselves, and libplist reads a number
// written with character references as 0.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace gelcoat {

// Deeper documents are refused before any recursive parser sees them.
inline constexpr int kMaxPlistNesting = 64;

struct PlistScan {
    // <integer> and <real> elements of the top-level dictionary by key, their
    // references decoded, blank space trimmed (the last one wins when a key
    // repeats, as in the parser).
    QHash<QString, QString> numberTexts;
};

// The scan of a well-formed property list whose top level is a dictionary;
// otherwise nothing, with "line L, column C: what went wrong" in *error.
std::optional<PlistScan> scanPropertyList(const QByteArray& xml, QString* error);

} // namespace gelcoat
