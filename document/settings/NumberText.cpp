#include "document/settings/NumberText.h"

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

} // namespace

std::int32_t saturatedInt32FromInt64(std::int64_t v)
{
    return std::int32_t(v < kInt32Min ? kInt32Min : v > kInt32Max ? kInt32Max : v);
}

std::int32_t saturatedInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= double(kInt32Min))
        return std::int32_t(kInt32Min);
    if (v >= double(kInt32Max))
        return std::int32_t(kInt32Max);
    return std::int32_t(std::trunc(v));
}

float saturatedFloat(double v)
{
    if (v > double(FLT_MAX))
        return FLT_MAX;
    if (v < -double(FLT_MAX))
        return -FLT_MAX;
    return float(v);
}

std::int64_t leadingInteger(const QString& text, qsizetype i)
{
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    std::int64_t magnitude = 0;
    for (; i < text.size() && isAsciiDigit(text[i]); ++i)
        magnitude = std::min(kMagnitudeLimit, magnitude * 10 + (text[i].unicode() - '0'));
    return negative ? -magnitude : magnitude;
}

std::int32_t integerFromString(const QString& text)
{
    return saturatedInt32FromInt64(leadingInteger(text, skipBlanks(text)));
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
    return saturatedFloat(value);
}

} // namespace gelcoat
