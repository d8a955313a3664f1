// The 8-bit RGBA PNG reader inflates well-formed files whole and leaves the
// rest to libpng: both ways must give the same pixels, and the fast way must
// never accept a file that libpng refuses.

#include "document/intake/PngImageData.h"
#include "document/intake/RgbaPngReader.h"
#include "tests/document/IntakeTestFiles.h"

#include <QByteArray>

#include <gtest/gtest.h>


#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace gelcoat {
namespace {

using intaketest::appendBigEndian32;
using intaketest::appendChunk;

// The filter's predictor from the unfiltered neighbours, as the PNG
// standard defines it.
int predict(int filter, int left, int up, int upLeft)
{
    switch (filter) {
    case 1: return left;
    case 2: return up;
    case 3: return (left + up) / 2;
    case 4: {
        const int p = left + up - upLeft;
        const int a = std::abs(p - left), b = std::abs(p - up), c = std::abs(p - upLeft);
        return a <= b && a <= c ? left : b <= c ? up : upLeft;
    }
    default: return 0;
    }
}

// Straight RGBA rows, each filtered with filters[y % size].
QByteArray filteredRows(int width, int height, const std::vector<std::uint8_t>& rgba,
                        const std::vector<int>& filters)
{
    const int rowBytes = width * 4;
    QByteArray out;
    for (int y = 0; y < height; ++y) {
        const int filter = filters[std::size_t(y) % filters.size()];
        out.append(char(filter));
        for (int i = 0; i < rowBytes; ++i) {
            auto at = [&](int yy, int ii) {
                return yy < 0 || ii < 0 ? 0 : int(rgba[std::size_t(yy * rowBytes + ii)]);
            };
            const int p = predict(filter, at(y, i - 4), at(y - 1, i), at(y - 1, i - 4));
            out.append(char(std::uint8_t(at(y, i) - p)));
        }
    }
    return out;
}

struct PngParts {
    QByteArray header;   // signature and IHDR
    QByteArray zlib;     // the compressed rows
};

PngParts rgbaPngParts(int width, int height, const std::vector<std::uint8_t>& rgba,
                      const std::vector<int>& filters)
{
    PngParts parts{QByteArray("\x89PNG\r\n\x1a\n", 8), {}};
    QByteArray ihdr;
    appendBigEndian32(ihdr, std::uint32_t(width));
    appendBigEndian32(ihdr, std::uint32_t(height));
    ihdr.append(char(8)).append(char(6)).append(3, '\0');
    appendChunk(parts.header, "IHDR", ihdr);
    parts.zlib = qCompress(filteredRows(width, height, rgba, filters)).mid(4);
    return parts;
}

// The image data split over IDAT chunks of at most `split` bytes.
QByteArray assemble(const PngParts& parts, qsizetype split = 1 << 20)
{
    QByteArray png = parts.header;
    appendChunk(png, "tEXt", QByteArray("Comment\0a stencil", 17));
    for (qsizetype at = 0; at < parts.zlib.size(); at += split)
        appendChunk(png, "IDAT", parts.zlib.mid(at, split));
    appendChunk(png, "IEND", {});
    return png;
}

std::vector<std::uint8_t> noisyRgba(int width, int height)
{
    std::vector<std::uint8_t> rgba(std::size_t(width * height * 4));
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < rgba.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        rgba[i] = std::uint8_t(state >> 24);
    }
    for (std::size_t i = 3; i < rgba.size(); i += 16)   // some opaque and clear pixels
        rgba[i] = (i / 16) % 2 ? 255 : 0;
    return rgba;
}

std::optional<SourcePicture> readFastest(const QByteArray& png)
{
    const std::optional<PngHeader> header = readPngHeader(png);
    return header ? readRgbaPng(png, *header, nullptr) : std::nullopt;
}

// Both readers' verdicts: the same pixels, or both refusing.
void expectSameVerdict(const QByteArray& png)
{
    const std::optional<PngHeader> header = readPngHeader(png);
    ASSERT_TRUE(header && readsAsRgbaPng(*header, png));
    QString fastError, rowsError;
    const std::optional<SourcePicture> fast = readRgbaPng(png, *header, &fastError);
    const std::optional<SourcePicture> rows =
        readRgbaPng(png, *header, &rowsError, RgbaPngPath::ByRows);
    ASSERT_EQ(bool(fast), bool(rows)) << rowsError.toStdString();
    EXPECT_EQ(fastError, rowsError);
    if (!fast)
        return;
    const BitmapRep& a = fast->pixels;
    const BitmapRep& b = rows->pixels;
    ASSERT_EQ(a.pixelsWide(), b.pixelsWide());
    ASSERT_EQ(a.pixelsHigh(), b.pixelsHigh());
    for (int y = 0; y < a.pixelsHigh(); ++y)
        ASSERT_EQ(std::memcmp(a.row(y), b.row(y), std::size_t(a.pixelsWide()) * 4), 0)
            << "row " << y;
}

TEST(RgbaPngReader, EveryFilterGivesLibpngsPixels)
{
    const int width = 37, height = 23;
    const std::vector<std::uint8_t> rgba = noisyRgba(width, height);
    for (const std::vector<int>& filters :
         {std::vector<int>{0}, {1}, {2}, {3}, {4}, {4, 3, 2, 1, 0}, {2, 4, 1, 3}}) {
        SCOPED_TRACE(filters.front());
        const QByteArray png = assemble(rgbaPngParts(width, height, rgba, filters), 97);
        ASSERT_TRUE(inflatePngImageData(png, height, width * 4)) << "taken by libpng alone";
        expectSameVerdict(png);
        const std::optional<SourcePicture> picture = readFastest(png);
        ASSERT_TRUE(picture);
        // An opaque pixel keeps its samples.
        const std::uint8_t* opaque = picture->pixels.row(0) + 4 * 4;
        EXPECT_EQ(std::memcmp(opaque, rgba.data() + 4 * 4, 4), 0);
    }
    // One pixel wide, where every left neighbour is outside the row.
    const std::vector<std::uint8_t> column = noisyRgba(1, 9);
    expectSameVerdict(assemble(rgbaPngParts(1, 9, column, {1, 3, 4, 2})));
}

TEST(RgbaPngReader, DamagedOrOddFilesGetLibpngsVerdict)
{
    const int width = 16, height = 12;
    const PngParts parts = rgbaPngParts(width, height, noisyRgba(width, height), {0, 1, 2, 3, 4});
    const QByteArray good = assemble(parts, 40);
    auto flipped = [&](qsizetype at) {
        QByteArray png = good;
        png[at] = char(png[at] ^ 0x10);
        return png;
    };
    const qsizetype text = good.indexOf("tEXt");
    const qsizetype data = good.indexOf("IDAT");
    const qsizetype end = good.indexOf("IEND");
    PngParts unknownFilter = parts;
    {
        QByteArray rows = filteredRows(width, height, noisyRgba(width, height), {0});
        rows[(width * 4 + 1) * 3] = char(7);
        unknownFilter.zlib = qCompress(rows).mid(4);
    }
    PngParts longer = parts;
    longer.zlib =
        qCompress(filteredRows(width, height + 1, noisyRgba(width, height + 1), {1})).mid(4);
    QByteArray separated = parts.header;
    appendChunk(separated, "IDAT", parts.zlib.left(20));
    appendChunk(separated, "tEXt", QByteArray("a\0b", 3));
    appendChunk(separated, "IDAT", parts.zlib.mid(20));
    appendChunk(separated, "IEND", {});
    QByteArray unknownCritical = parts.header;
    appendChunk(unknownCritical, "CRAP", "x");
    appendChunk(unknownCritical, "IDAT", parts.zlib);
    appendChunk(unknownCritical, "IEND", {});
    QByteArray afterEnd = good + QByteArray("trailing bytes");
    PngParts filterMethod = parts;
    {
        QByteArray ihdr = parts.header.mid(16, 13);
        ihdr[11] = char(1);   // the filter method; 0 is the only one
        filterMethod.header = parts.header.left(8);
        appendChunk(filterMethod.header, "IHDR", ihdr);
    }
    QByteArray digitInName = parts.header;
    appendChunk(digitInName, "tE5t", "x");
    appendChunk(digitInName, "IDAT", parts.zlib);
    appendChunk(digitInName, "IEND", {});
    PngParts badAdler = parts;
    badAdler.zlib.back() = char(badAdler.zlib.back() ^ 1);

    const struct {
        const char* name;
        QByteArray png;
        bool accepted;
    } cases[] = {
        {"well formed", good, true},
        {"bytes after IEND", afterEnd, true},
        {"damaged ancillary chunk", flipped(text + 6), true},
        {"damaged image data", flipped(data + 12), false},
        {"damaged Adler checksum", assemble(badAdler), false},
        {"no IEND", good.left(end - 4), false},
        {"cut in the image data", good.left(data + 30), false},
        {"unknown filter", assemble(unknownFilter), false},
        {"more rows than the header says", assemble(longer), true},
        {"image data split by another chunk", separated, false},
        {"unknown critical chunk", unknownCritical, false},
        {"unknown filter method", assemble(filterMethod), false},
        {"digit in a chunk's name", digitInName, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameVerdict(c.png);
        EXPECT_EQ(bool(readFastest(c.png)), c.accepted);
    }
}

} // namespace
} // namespace gelcoat
