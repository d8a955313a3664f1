#include "document/io/PrintablePath.h"

#include <QUtf8StringView>

#include <algorithm>

namespace gelcoat {

namespace {

// The length of the UTF-8 sequence a lead byte announces; 0 for a byte that
// cannot start one.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

void appendEscaped(QString& text, unsigned char byte)
{
    static const char digits[] = "0123456789abcdef";
    text += u"\\x";
    text += QLatin1Char(digits[byte >> 4]);
    text += QLatin1Char(digits[byte & 15]);
}

} // namespace

QString printablePath(QByteArrayView nativePath)
{
    QString text;
    text.reserve(nativePath.size());
    qsizetype i = 0;
    while (i < nativePath.size()) {
        const auto lead = static_cast<unsigned char>(nativePath[i]);
        const int length = sequenceLength(lead);
        if (length == 1) {
            if (lead < 0x20 || lead == 0x7F)
                appendEscaped(text, lead);
            else
                text += QLatin1Char(char(lead));
            ++i;
            continue;
        }
        // Qt's validator rules out overlong forms, surrogates and code
        // points beyond U+10FFFF within the announced length.
        const QByteArrayView sequence =
            nativePath.sliced(i, std::min<qsizetype>(length, nativePath.size() - i));
        // C1 controls (U+0080 to U+009F) are escaped as the C0 ones are.
        const bool control = lead == 0xC2 && sequence.size() > 1 &&
                             static_cast<unsigned char>(sequence[1]) < 0xA0;
        if (length > 0 && sequence.size() == length && !control &&
            QUtf8StringView(sequence).isValidUtf8()) {
            text += QString::fromUtf8(sequence);
            i += length;
        } else {
            appendEscaped(text, lead);
            ++i;
        }
    }
    return text;
}

} // namespace gelcoat
