#include "file/ArchiveValues.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace gelcoat {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t saturateInteger(std::int64_t v)
{
    return std::int32_t(v < kInt32Min ? kInt32Min : v > kInt32Max ? kInt32Max : v);
}

std::int32_t saturateReal(double v)
{
    if (v <= double(kInt32Min))
        return std::int32_t(kInt32Min);
    if (v >= double(kInt32Max))
        return std::int32_t(kInt32Max);
    return std::int32_t(std::trunc(v));
}

float saturateFloat(double v)
{
    if (v > double(FLT_MAX))
        return FLT_MAX;
    if (v < -double(FLT_MAX))
        return -FLT_MAX;
    return float(v);
}

qsizetype skipBlanks(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Magnitudes stop growing here: far beyond 32 bits, and small enough that
// one more digit (×16 + 15) cannot overflow 64 bits.
constexpr std::int64_t kMagnitudeLimit = std::int64_t(1) << 58;

// Sign and digits from i, saturating at ±kMagnitudeLimit; the caller
// saturates again at its own width.
std::int64_t leadingInteger(const QString& text, qsizetype i)
{
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    constexpr std::int64_t kLimit = kMagnitudeLimit;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (text[i].unicode() - '0'));
    return negative ? -magnitude : magnitude;
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return 0;
}

// Whether a decimal number too large or too small for a double is large:
// its integer digits (leading zeros aside) plus its exponent.
bool overflows(const std::string& number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string mantissa = number.substr(0, e);
    long long magnitude = 0;
    bool leading = true;
    for (char c : mantissa) {
        if (c == '.')
            break;
        if (c >= '1' && c <= '9')
            leading = false;
        if (!leading && c >= '0' && c <= '9')
            ++magnitude;
    }
    if (e != std::string::npos) {
        const std::string exponent = number.substr(e + 1);
        const bool negative = !exponent.empty() && exponent[0] == '-';
        long long digits = 0;
        for (char c : exponent)
            if (c >= '0' && c <= '9')
                digits = std::min(digits * 10 + (c - '0'), 100000LL);
        magnitude += negative ? -digits : digits;
    }
    return magnitude > 0;
}

// The element text of <integer>: decimal or 0x-prefixed hexadecimal with a
// sign, as property-list writers produce it.
std::int64_t integerElementValue(const QString& text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (!t.isEmpty() && (t[0] == u'+' || t[0] == u'-')) {
        negative = t[0] == u'-';
        t.remove(0, 1);
    }
    if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) {
        constexpr std::int64_t kLimit = kMagnitudeLimit;
        std::int64_t magnitude = 0;
        for (qsizetype i = 2; i < t.size(); ++i)
            magnitude = std::min(kLimit, magnitude * 16 + hexDigitValue(t[i]));
        return negative ? -magnitude : magnitude;
    }
    const std::int64_t magnitude = leadingInteger(t, 0);
    return negative ? -magnitude : magnitude;
}

} // namespace

std::int32_t integerFromString(const QString& text)
{
    return saturateInteger(leadingInteger(text, skipBlanks(text)));
}

float floatFromString(const QString& text)
{
    // The longest prefix [sign] digits [. digits] [e [sign] digits] with at
    // least one digit before the exponent.
    qsizetype i = skipBlanks(text);
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isAsciiDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    qsizetype end = i;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (j < text.size() && isAsciiDigit(text[j])) {
            while (j < text.size() && isAsciiDigit(text[j]))
                ++j;
            end = j;
        }
    }
    std::string number = text.mid(start, end - start).toStdString();
    if (!number.empty() && number[0] == '+')
        number.erase(0, 1);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (!overflows(number))
            return 0;
        return number[0] == '-' ? -FLT_MAX : FLT_MAX;
    }
    (void)ptr;
    return saturateFloat(value);
}

std::optional<std::int32_t> integerValue(const ArchiveValue& value)
{
    switch (value.kind) {
    case ArchiveValue::Kind::Integer: return saturateInteger(integerElementValue(value.text));
    case ArchiveValue::Kind::Real:
        if (std::isnan(value.real))
            return std::nullopt;
        return saturateReal(value.real);
    case ArchiveValue::Kind::String: return integerFromString(value.text);
    case ArchiveValue::Kind::Boolean: return value.boolean ? 1 : 0;
    default: return std::nullopt;
    }
}

std::optional<float> floatValue(const ArchiveValue& value)
{
    switch (value.kind) {
    case ArchiveValue::Kind::Integer: {
        const QString t = value.text.trimmed();
        const bool hex = t.contains(u'x') || t.contains(u'X');
        return hex ? saturateFloat(double(integerElementValue(t))) : floatFromString(t);
    }
    case ArchiveValue::Kind::Real:
        if (std::isnan(value.real))
            return std::nullopt;
        return saturateFloat(value.real);
    case ArchiveValue::Kind::String: return floatFromString(value.text);
    case ArchiveValue::Kind::Boolean: return value.boolean ? 1.0f : 0.0f;
    default: return std::nullopt;
    }
}

std::optional<bool> booleanValue(const ArchiveValue& value)
{
    switch (value.kind) {
    case ArchiveValue::Kind::String:
        return value.text.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0;
    case ArchiveValue::Kind::Boolean: return value.boolean;
    default: return std::nullopt;
    }
}

} // namespace gelcoat
