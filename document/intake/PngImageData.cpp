#include "document/intake/PngImageData.h"

#include <QtEndian>

#include <libdeflate.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace gelcoat {

namespace {

std::uint32_t bigEndian32(const unsigned char* p)
{
    return qFromBigEndian<quint32>(p);
}

bool isCritical(const unsigned char* type)
{
    return (type[0] & 0x20) == 0;
}

bool isType(const unsigned char* type, const char* name)
{
    return std::memcmp(type, name, 4) == 0;
}

bool isLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What libpng checks in a chunk before reading it: letters for a name and a
// length within its default limit (larger image data goes to libpng too).
bool chunkAsLibpngTakesIt(const unsigned char* type, std::uint32_t length)
{
    return isLetter(type[0]) && isLetter(type[1]) && isLetter(type[2]) && isLetter(type[3]) &&
           length <= PNG_USER_CHUNK_MALLOC_MAX;
}

// The IHDR fields libpng refuses beyond those the header reader checks:
// its default size limits and the one compression and filter method.
bool headerAsLibpngTakesIt(const unsigned char* ihdr)
{
    return bigEndian32(ihdr) <= PNG_USER_WIDTH_MAX && bigEndian32(ihdr + 4) <= PNG_USER_HEIGHT_MAX &&
           ihdr[10] == 0 && ihdr[11] == 0;
}

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The concatenated IDAT payloads, or nothing when any chunk is out of place
// or damaged.
std::optional<std::vector<std::uint8_t>> gatherImageData(const QByteArray& png)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(png.constData());
    const std::size_t size = std::size_t(png.size());
    std::vector<std::uint8_t> data;
    enum { BeforeData, InData, AfterData } where = BeforeData;
    for (std::size_t at = 8; at + 12 <= size;) {
        const std::uint32_t length = bigEndian32(bytes + at);
        const unsigned char* type = bytes + at + 4;
        if (length > size - at - 12)
            return std::nullopt;
        const unsigned char* payload = type + 4;
        if (!chunkAsLibpngTakesIt(type, length) ||
            libdeflate_crc32(0, type, length + 4) != bigEndian32(payload + length))
            return std::nullopt;
        at += 12 + std::size_t(length);
        if (isType(type, "IEND"))
            return where == BeforeData ? std::nullopt : std::optional(std::move(data));
        if (isType(type, "IDAT")) {
            if (where == AfterData)
                return std::nullopt;
            where = InData;
            data.insert(data.end(), payload, payload + length);
            continue;
        }
        if (where == InData)
            where = AfterData;
        if (isCritical(type) && !isType(type, "IHDR") && !isType(type, "PLTE"))
            return std::nullopt;
        if (isType(type, "IHDR") && (at != 8 + 25 || !headerAsLibpngTakesIt(payload)))
            return std::nullopt;
        if (isType(type, "PLTE") && where != BeforeData)
            return std::nullopt;
    }
    return std::nullopt;   // no IEND
}

// The predictor of the PNG standard, ties going to left, then up.
int paeth(int left, int up, int upLeft)
{
    const int p = left + up - upLeft;
    const int toLeft = std::abs(p - left), toUp = std::abs(p - up), toUpLeft = std::abs(p - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return left;
    return toUp <= toUpLeft ? up : upLeft;
}

} // namespace

std::unique_ptr<std::uint8_t[]> inflatePngImageData(const QByteArray& png, std::uint32_t height,
                                                     std::size_t rowBytes)
{
    const std::optional<std::vector<std::uint8_t>> compressed = gatherImageData(png);
    if (!compressed)
        return nullptr;
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
        libdeflate_alloc_decompressor());
    if (!decompressor)
        return nullptr;
    // Left uninitialised: the inflater writes every byte or fails.
    const std::size_t size = std::size_t(height) * (rowBytes + 1);
    std::unique_ptr<std::uint8_t[]> rows;
    try {
        rows = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // Without an out-size to report, libdeflate insists on exactly the
    // requested size: a short or overlong stream fails.
    if (libdeflate_zlib_decompress(decompressor.get(), compressed->data(), compressed->size(),
                                   rows.get(), size, nullptr) != LIBDEFLATE_SUCCESS)
        return nullptr;
    return rows;
}

bool unfilterPngRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* previous,
                    std::size_t rowBytes, int bytesPerPixel)
{
    const std::size_t bpp = std::min(std::size_t(bytesPerPixel), rowBytes);
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = bpp; i < rowBytes; ++i)
            row[i] = std::uint8_t(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[i] = std::uint8_t(row[i] + previous[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < bpp; ++i)
            row[i] = std::uint8_t(row[i] + (previous[i] >> 1));
        for (std::size_t i = bpp; i < rowBytes; ++i)
            row[i] = std::uint8_t(row[i] + ((unsigned(row[i - bpp]) + previous[i]) >> 1));
        return true;
    case 4:
        for (std::size_t i = 0; i < bpp; ++i)   // left and upper left are 0: the upper byte
            row[i] = std::uint8_t(row[i] + previous[i]);
        for (std::size_t i = bpp; i < rowBytes; ++i)
            row[i] = std::uint8_t(row[i] + paeth(row[i - bpp], previous[i], previous[i - bpp]));
        return true;
    default:
        return false;
    }
}

} // namespace gelcoat
