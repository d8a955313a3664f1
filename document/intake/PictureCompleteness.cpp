#include "document/intake/PictureCompleteness.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

namespace gelcoat {

namespace {

std::uint32_t byteAt(const QByteArray& bytes, qsizetype i)
{
    return std::uint8_t(bytes[i]);
}

std::uint32_t littleEndian16(const QByteArray& b, qsizetype i)
{
    return byteAt(b, i) | byteAt(b, i + 1) << 8;
}

std::uint32_t littleEndian32(const QByteArray& b, qsizetype i)
{
    return littleEndian16(b, i) | littleEndian16(b, i + 2) << 16;
}

} // namespace

bool jpegDataComplete(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    qsizetype i = 2;   // after SOI
    while (true) {
        // Fill bytes (FF) may precede a marker.
        while (i < n && byteAt(bytes, i) == 0xFF && i + 1 < n && byteAt(bytes, i + 1) == 0xFF)
            ++i;
        if (i + 4 > n || byteAt(bytes, i) != 0xFF)
            return false;
        const std::uint32_t marker = byteAt(bytes, i + 1);
        if (marker == 0xD9)
            return false;   // an image without a scan
        const qsizetype length = qsizetype(byteAt(bytes, i + 2) << 8 | byteAt(bytes, i + 3));
        if (length < 2 || i + 2 + length > n)
            return false;
        i += 2 + length;
        if (marker == 0xDA)
            break;
    }
    // Inside entropy-coded data FF is followed by 00 or a restart marker,
    // so the first FF D9 after the first scan is the end of the image.
    return bytes.indexOf(QByteArray("\xFF\xD9", 2), i) >= 0;
}

bool gifDataComplete(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    if (n < 13)
        return false;
    qsizetype i = 13;
    const std::uint32_t flags = byteAt(bytes, 10);
    if (flags & 0x80)
        i += 3 * (qsizetype(1) << ((flags & 7) + 1));
    auto skipSubBlocks = [&]() {
        while (i < n) {
            const std::uint32_t size = byteAt(bytes, i++);
            if (size == 0)
                return true;
            i += size;
        }
        return false;
    };
    // Every block through the trailer: a file that stops anywhere before it
    // was cut, even when the first picture's data is whole.
    bool sawImage = false;
    while (i < n) {
        const std::uint32_t introducer = byteAt(bytes, i++);
        if (introducer == 0x21) {   // extension: label, then sub-blocks
            ++i;
            if (!skipSubBlocks())
                return false;
        } else if (introducer == 0x2C) {   // image descriptor
            if (i + 9 > n)
                return false;
            const std::uint32_t local = byteAt(bytes, i + 8);
            i += 9;
            if (local & 0x80)
                i += 3 * (qsizetype(1) << ((local & 7) + 1));
            ++i;   // LZW minimum code size
            if (!skipSubBlocks())
                return false;
            sawImage = true;
        } else {
            return introducer == 0x3B && sawImage;   // the trailer, or garbage
        }
    }
    return false;
}

bool pngDataComplete(const QByteArray& bytes)
{
    const qsizetype n = bytes.size();
    qsizetype i = 8;   // after the signature
    while (i + 12 <= n) {
        const qsizetype length = qsizetype(byteAt(bytes, i) << 24 | byteAt(bytes, i + 1) << 16 |
                                           byteAt(bytes, i + 2) << 8 | byteAt(bytes, i + 3));
        if (length < 0 || length > n - i - 12)
            return false;
        if (bytes.mid(i + 4, 4) == "IEND")
            return true;
        i += 12 + length;
    }
    return false;
}

bool xbmDataComplete(const QByteArray& bytes)
{
    static const QRegularExpression width(QStringLiteral(R"(#define\s+\S*width\s+(\d+))"));
    static const QRegularExpression height(QStringLiteral(R"(#define\s+\S*height\s+(\d+))"));
    static const QRegularExpression value(QStringLiteral("0[xX][0-9a-fA-F]+"));
    const QString text = QString::fromLatin1(bytes);
    const QRegularExpressionMatch w = width.match(text), h = height.match(text);
    const qsizetype open = text.indexOf(u'{');
    const qsizetype close = text.indexOf(u'}', open);
    if (!w.hasMatch() || !h.hasMatch() || open < 0 || close < 0)
        return false;
    const qint64 needed = (w.captured(1).toLongLong() + 7) / 8 * h.captured(1).toLongLong();
    qint64 values = 0;
    for (auto it = value.globalMatch(text.mid(open, close - open)); it.hasNext(); it.next())
        ++values;
    return values >= needed;
}

bool xpmDataComplete(const QByteArray& bytes)
{
    const qsizetype open = bytes.indexOf('{');
    return open >= 0 && bytes.indexOf('}', open) >= 0;
}

bool bmpDataComplete(const QByteArray& bytes)
{
    if (bytes.size() < 30)
        return false;
    const std::uint64_t offset = littleEndian32(bytes, 10);
    const std::uint32_t headerSize = littleEndian32(bytes, 14);
    std::uint64_t width = 0, height = 0, bitsPerPixel = 0, compression = 0, imageSize = 0;
    if (headerSize == 12) {   // OS/2 core header
        width = littleEndian16(bytes, 18);
        height = littleEndian16(bytes, 20);
        bitsPerPixel = littleEndian16(bytes, 24);
    } else {
        if (bytes.size() < 38)
            return false;
        width = std::uint64_t(std::llabs(std::int32_t(littleEndian32(bytes, 18))));
        height = std::uint64_t(std::llabs(std::int32_t(littleEndian32(bytes, 22))));
        bitsPerPixel = littleEndian16(bytes, 28);
        compression = littleEndian32(bytes, 30);
        imageSize = littleEndian32(bytes, 34);
    }
    std::uint64_t needed = 0;
    switch (compression) {
    case 0:   // uncompressed
    case 3:   // bit fields
    case 6:   // alpha bit fields
        needed = (width * bitsPerPixel + 31) / 32 * 4 * height;
        break;
    default:  // run-length and embedded kinds: as much as the header says
        needed = imageSize;
        break;
    }
    return offset + needed <= std::uint64_t(bytes.size());
}

} // namespace gelcoat
