#include "document/intake/PngHeader.h"

#include <QtEndian>

namespace gelcoat {

namespace {

std::uint32_t bigEndian32(const QByteArray& bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

bool validDepth(int colourType, int depth)
{
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

} // namespace

std::optional<PngHeader> readPngHeader(const QByteArray& bytes)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    // Signature, then IHDR: length, type, 13 bytes of data.
    if (!bytes.startsWith(signature) || bytes.size() < 8 + 8 + 13 ||
        bigEndian32(bytes, 8) != 13 || bytes.mid(12, 4) != "IHDR")
        return std::nullopt;
    PngHeader header;
    header.width = bigEndian32(bytes, 16);
    header.height = bigEndian32(bytes, 20);
    header.bitDepth = static_cast<unsigned char>(bytes[24]);
    header.colourType = static_cast<unsigned char>(bytes[25]);
    if (!validDepth(header.colourType, header.bitDepth))
        return std::nullopt;
    header.interlaced = bytes[28] != 0;

    // Walk the chunks after IHDR (length, type, data, CRC) up to the image data.
    qsizetype at = 8 + 8 + 13 + 4;
    while (at + 8 <= bytes.size()) {
        const qint64 length = bigEndian32(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "tRNS")
            header.hasTransparencyChunk = true;
        at += 12 + length;
    }
    return header;
}

bool pngHasExif(const QByteArray& bytes)
{
    for (qsizetype at = 8; at + 8 <= bytes.size(); at += 12 + qint64(bigEndian32(bytes, at)))
        if (bytes.mid(at + 4, 4) == "eXIf")
            return true;
    return false;
}

} // namespace gelcoat
