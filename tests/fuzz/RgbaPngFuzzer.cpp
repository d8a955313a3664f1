// Feeds arbitrary bytes to the 8-bit RGBA PNG reader and checks the one
// promise of its whole-data path: it accepts only what libpng reading row
// by row accepts, with the same pixels.

#include "document/intake/RgbaPngReader.h"

#include <QtEndian>

#include <libdeflate.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace gelcoat;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The signature is given, so that mutations go to the chunks; and a
    // first byte with its low bit set has every chunk's CRC made right, so
    // that they reach the image data instead of failing the CRC check.
    if (size == 0)
        return 0;
    const bool fixCrcs = data[0] & 1;
    QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
    bytes.append(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    for (qsizetype at = 8; fixCrcs && at + 12 <= bytes.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
        const std::uint32_t length = qFromBigEndian<quint32>(p);
        if (length > std::uint32_t(bytes.size() - at - 12))
            break;
        qToBigEndian<quint32>(libdeflate_crc32(0, p + 4, length + 4),
                              bytes.data() + at + 8 + qsizetype(length));
        at += 12 + qsizetype(length);
    }
    const std::optional<PngHeader> header = readPngHeader(bytes);
    if (!header || !readsAsRgbaPng(*header, bytes) || std::uint64_t(header->width) *
                                                              header->height > 1u << 20)
        return 0;
    const std::optional<SourcePicture> fast = readRgbaPng(bytes, *header, nullptr);
    const std::optional<SourcePicture> rows =
        readRgbaPng(bytes, *header, nullptr, RgbaPngPath::ByRows);
    if (bool(fast) != bool(rows))
        std::abort();
    if (!fast)
        return 0;
    for (int y = 0; y < fast->pixels.pixelsHigh(); ++y)
        if (std::memcmp(fast->pixels.row(y), rows->pixels.row(y),
                        std::size_t(fast->pixels.pixelsWide()) * 4) != 0)
            std::abort();
    return 0;
}
