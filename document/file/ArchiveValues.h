#pragma once
// The reading rules of the document file: how a stored value becomes an
// integer, a float or a boolean field, whatever property-list kind another
// writer chose for it.
//
// A value of a kind that cannot hold the field (data, a date, an array, a
// dictionary; a number in a boolean key) reads as nothing and the field
// keeps the value it had, as does a real that is not a number.

#include "document/settings/NumberText.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace gelcoat {

struct ArchiveValue {
    enum class Kind { Integer, Real, String, Boolean, Data, Other };
    Kind kind = Kind::Other;
    QString text;          // Integer: the element's text; String: the string
    double real = 0;       // Real
    bool boolean = false;  // Boolean
};

// The text of a <real> element (already checked as a number, NaN and
// infinities included): the nearest double, whatever the locale; values
// beyond the double range saturate to infinity or zero.
double realElementValue(const QString& text);

// Numbers, numeric strings (leading blank space skipped, reading stops at
// the first character that does not belong to the number, none gives 0)
// and booleans (1 or 0). Reals truncate toward zero; everything saturates
// at the 32-bit limits.
std::optional<std::int32_t> integerValue(const ArchiveValue& value);

// As integerValue, for 32-bit floats: finite values beyond the float range
// and infinities saturate at ±FLT_MAX.
std::optional<float> floatValue(const ArchiveValue& value);

// YES for a string equal to "YES" in any case and for <true/>; NO for any
// other string and for <false/>.
std::optional<bool> booleanValue(const ArchiveValue& value);

} // namespace gelcoat
