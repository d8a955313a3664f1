#include "document/intake/PictureCompleteness.h"

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
            return skipSubBlocks();
        } else {
            return false;   // the trailer or garbage before any image
        }
    }
    return false;
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
