#include "document/file/ArchiveValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace gelcoat {

namespace {

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
        std::int64_t magnitude = 0;
        for (qsizetype i = 2; i < t.size(); ++i)
            magnitude = std::min(kMagnitudeLimit, magnitude * 16 + hexDigitValue(t[i]));
        return negative ? -magnitude : magnitude;
    }
    const std::int64_t magnitude = leadingInteger(t, 0);
    return negative ? -magnitude : magnitude;
}

} // namespace

double realElementValue(const QString& text)
{
    QByteArray bytes = text.trimmed().toLatin1();
    if (bytes.startsWith('+'))
        bytes.remove(0, 1);
    double v = 0;
    const char* end = bytes.constData() + bytes.size();
    const auto [ptr, ec] = std::from_chars(bytes.constData(), end, v);
    if (ec == std::errc::result_out_of_range) {
        const bool tiny = bytes.contains("e-") || bytes.contains("E-");
        return tiny ? 0.0 : (bytes.startsWith('-') ? -HUGE_VAL : HUGE_VAL);
    }
    return ec == std::errc() ? v : 0.0;
}

std::optional<std::int32_t> integerValue(const ArchiveValue& value)
{
    switch (value.kind) {
    case ArchiveValue::Kind::Integer: return saturatedInt32FromInt64(integerElementValue(value.text));
    case ArchiveValue::Kind::Real:
        if (std::isnan(value.real))
            return std::nullopt;
        return saturatedInt32(value.real);
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
        return hex ? saturatedFloat(double(integerElementValue(t))) : floatFromString(t);
    }
    case ArchiveValue::Kind::Real:
        if (std::isnan(value.real))
            return std::nullopt;
        return saturatedFloat(value.real);
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
