#pragma once
// Numbers as the settings store and the document file read them: the
// leading number of a text, and conversions that saturate instead of
// overflowing.

#include <QString>

#include <cstdint>

namespace gelcoat {

// Truncated toward zero and clamped to the 32-bit range; NaN gives 0.
std::int32_t saturatedInt32(double value);
std::int32_t saturatedInt32FromInt64(std::int64_t value);

// Clamped to ±FLT_MAX (infinities included).
float saturatedFloat(double value);

// Magnitudes stop growing here: far beyond 32 bits, and small enough that
// one more digit (×16 + 15) cannot overflow 64 bits.
inline constexpr std::int64_t kMagnitudeLimit = std::int64_t(1) << 58;

// The sign and ASCII digits of text from index i, saturating at
// ±kMagnitudeLimit; callers saturate again at their own width.
std::int64_t leadingInteger(const QString& text, qsizetype i);

// The leading number of a text as NSString-style readers take it: blank
// space skipped, reading stops at the first character that does not belong
// to the number, none gives 0; values saturate.
std::int32_t integerFromString(const QString& text);
float floatFromString(const QString& text);

} // namespace gelcoat
