// The pictures designers' tools write: SVG drawings, 16-bit samples and
// grey with alpha, each taken through decoding and the acceptance check.

#include "tests/document/IntakeTestFiles.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"

#include <libdeflate.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace gelcoat {
namespace {

using intaketest::makePng;
using intaketest::makeTiff;
using intaketest::pixelAt;
using intaketest::TiffPage;
using Pixel = std::array<std::uint8_t, 4>;

struct Taken {
    std::optional<SourcePicture> picture;
    std::optional<bool> simple;
    QString reason;   // the decoder's or the check's
};

Taken takeIn(const QByteArray& bytes, int vectorSide = kDefaultVectorSide)
{
    Taken t;
    t.picture = decodePicture(bytes, &t.reason, PictureOptions{vectorSide});
    if (!t.picture)
        return t;
    IntakeRefusal why = IntakeRefusal::None;
    t.simple = checkImage(*t.picture, &why);
    if (!t.simple)
        t.reason = intakeRefusalReason(why, *t.picture);
    return t;
}

QByteArray gzipped(const QByteArray& bytes)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    QByteArray out(qsizetype(libdeflate_gzip_compress_bound(compressor, bytes.size())), '\0');
    out.resize(qsizetype(libdeflate_gzip_compress(compressor, bytes.constData(),
                                                  std::size_t(bytes.size()), out.data(),
                                                  std::size_t(out.size()))));
    libdeflate_free_compressor(compressor);
    return out;
}

// A black square from 2.5 to 7.5 on a 10 × 10 drawing.
const QByteArray kSquareSvg =
    "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
    "<path d=\"M2.5 2.5 H7.5 V7.5 H2.5 Z\" fill=\"#000\"/></svg>";

// Round to nearest of v × 255 / 65535, worked out in floating point.
std::uint8_t expectedEight(std::uint32_t v)
{
    return std::uint8_t(std::lround(v * 255.0 / 65535.0));
}

// Values where dropping the low byte, truncating and rounding all differ.
const std::vector<std::uint16_t> kRamp = {0,     128,   129,   200,   257,   385,  386,
                                          32767, 32768, 33000, 65150, 65278, 65535};

TiffPage page(std::uint32_t width, std::uint16_t bits, std::uint16_t samples,
               std::uint16_t photometric, QByteArray data, bool unassociatedAlpha = false)
{
    TiffPage p;
    p.width = width;
    p.bitsPerSample = bits;
    p.samplesPerPixel = samples;
    p.photometric = photometric;
    p.samples = std::move(data);
    if (unassociatedAlpha)
        p.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    return p;
}

QByteArray bigEndian(const std::vector<std::uint16_t>& samples)
{
    QByteArray out;
    for (std::uint16_t v : samples)
        out.append(char(v >> 8)).append(char(v & 0xFF));
    return out;
}

QByteArray hostOrder(const std::vector<std::uint16_t>& samples)
{
    return QByteArray(reinterpret_cast<const char*>(samples.data()),
                      qsizetype(samples.size() * 2));
}

std::vector<std::uint16_t> everySampleThrice(const std::vector<std::uint16_t>& grey, bool alpha)
{
    std::vector<std::uint16_t> out;
    for (std::uint16_t v : grey) {
        out.insert(out.end(), {v, v, v});
        if (alpha)
            out.push_back(65535);
    }
    return out;
}

TEST(VectorStencil, ASquarePathIsAFilledSquareWithAntialiasedEdges)
{
    Taken t = takeIn(kSquareSvg, 10);
    ASSERT_TRUE(t.simple) << t.reason.toStdString();
    EXPECT_FALSE(*t.simple);   // drawn with transparency, colours kept
    const BitmapRep& s = t.picture->pixels;
    ASSERT_EQ(s.pixelsWide(), 10);
    ASSERT_EQ(s.pixelsHigh(), 10);
    // Inside full, outside empty, each edge pixel half covered and each
    // corner a quarter; black throughout.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const auto cover = [](int i) { return i < 2 || i > 7 ? 0.0 : i == 2 || i == 7 ? 0.5 : 1.0; };
            const double expected = 255 * cover(x) * cover(y);
            const Pixel p = pixelAt(s, x, y);
            EXPECT_NEAR(p[3], expected, 3) << x << "," << y;
            EXPECT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
        }
    EXPECT_TRUE(t.picture->fromVector());
    EXPECT_EQ(t.picture->vectorSource, kSquareSvg);
}

TEST(VectorStencil, LongerSideAndCompressedDrawings)
{
    const QByteArray wide = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40mm\" "
                            "height=\"10mm\" viewBox=\"0 0 200 50\"><circle cx=\"25\" cy=\"25\" "
                            "r=\"20\"/></svg>";
    Taken byDefault = takeIn(wide);
    ASSERT_TRUE(byDefault.simple) << byDefault.reason.toStdString();
    EXPECT_EQ(byDefault.picture->pixels.pixelsWide(), 1024);
    EXPECT_EQ(byDefault.picture->pixels.pixelsHigh(), 256);

    // The same drawing compressed gives the same bitmap, and the plain text.
    Taken plain = takeIn(kSquareSvg, 64), packed = takeIn(gzipped(kSquareSvg), 64);
    ASSERT_TRUE(packed.simple) << packed.reason.toStdString();
    const BitmapRep &a = plain.picture->pixels, &b = packed.picture->pixels;
    ASSERT_EQ(b.pixelsWide(), 64);
    for (int y = 0; y < 64; ++y)
        ASSERT_EQ(std::memcmp(a.row(y), b.row(y), 64 * 4), 0) << "row " << y;
    EXPECT_EQ(packed.picture->vectorSource, kSquareSvg);

    // A bitmap is no vector.
    Taken bitmap = takeIn(makePng(1, 1, 8, 0, QByteArray(1, '\x10')));
    ASSERT_TRUE(bitmap.picture);
    EXPECT_FALSE(bitmap.picture->fromVector());
}

TEST(VectorStencil, OtherVectorsAndDamagedDrawingsSayWhy)
{
    const struct {
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n", "a PDF is a vector picture"},
        {"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n", "a PostScript file is a vector picture"},
        {gzipped(kSquareSvg).left(30), "damaged: the compressed SVG data cannot be unpacked"},
        {gzipped("just words, no drawing"), "the compressed data holds no SVG drawing"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\"><rect", "damaged: the SVG drawing cannot be read"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"0\" height=\"0\"/>",
         "an SVG drawing without a size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        Taken t = takeIn(c.bytes);
        EXPECT_FALSE(t.simple);
        EXPECT_EQ(t.reason, QString::fromUtf8(c.reason));
    }
}

TEST(DeepSamples, SixteenBitRampsRoundToNearestInEveryFormat)
{
    const int n = int(kRamp.size());
    std::vector<std::uint16_t> rgb = everySampleThrice(kRamp, false);
    std::vector<std::uint16_t> rgba = everySampleThrice(kRamp, true);
    std::vector<std::uint16_t> greyAlpha;
    for (std::uint16_t v : kRamp)
        greyAlpha.insert(greyAlpha.end(), {v, 65535});
    QByteArray asciiPgm = "P2\n" + QByteArray::number(n) + " 1\n65535\n";
    for (std::uint16_t v : kRamp)
        asciiPgm += QByteArray::number(v) + ' ';

    const auto width = std::uint32_t(n);
    const TiffPage greyTiff = page(width, 16, 1, PHOTOMETRIC_MINISBLACK, hostOrder(kRamp));
    const TiffPage rgbTiff = page(width, 16, 3, PHOTOMETRIC_RGB, hostOrder(rgb));
    const TiffPage greyAlphaTiff =
        page(width, 16, 2, PHOTOMETRIC_MINISBLACK, hostOrder(greyAlpha), true);
    TiffPage tiledTiff = greyTiff;
    tiledTiff.width = 16;
    tiledTiff.height = 16;
    tiledTiff.tileSize = 16;
    std::vector<std::uint16_t> tiled(256, 0);
    std::copy(kRamp.begin(), kRamp.end(), tiled.begin());
    tiledTiff.samples = hostOrder(tiled);

    // Grey is coverage; RGB darkness; with alpha the colour is kept.
    enum class Reads { Coverage, Darkness, Colour };
    const struct {
        const char* name;
        QByteArray bytes;
        Reads reads;
    } cases[] = {
        {"PNG grey", makePng(n, 1, 16, 0, bigEndian(kRamp)), Reads::Coverage},
        {"PNG RGB", makePng(n, 1, 16, 2, bigEndian(rgb)), Reads::Darkness},
        {"PNG RGBA", makePng(n, 1, 16, 6, bigEndian(rgba)), Reads::Colour},
        {"PNG grey + alpha", makePng(n, 1, 16, 4, bigEndian(greyAlpha)), Reads::Colour},
        {"TIFF grey", makeTiff({greyTiff}), Reads::Coverage},
        {"TIFF grey, tiled", makeTiff({tiledTiff}), Reads::Coverage},
        {"TIFF RGB", makeTiff({rgbTiff}), Reads::Darkness},
        {"TIFF grey + alpha", makeTiff({greyAlphaTiff}), Reads::Colour},
        {"PGM", "P5\n" + QByteArray::number(n) + " 1\n65535\n" + bigEndian(kRamp), Reads::Coverage},
        {"PGM as text", asciiPgm, Reads::Coverage},
        {"PPM", "P6\n" + QByteArray::number(n) + " 1\n65535\n" + bigEndian(rgb), Reads::Darkness},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Taken t = takeIn(c.bytes);
        ASSERT_TRUE(t.simple) << t.reason.toStdString();
        EXPECT_EQ(*t.simple, c.reads != Reads::Colour);
        for (int x = 0; x < n; ++x) {
            const std::uint8_t e = expectedEight(kRamp[std::size_t(x)]);
            const Pixel p = pixelAt(t.picture->pixels, x, 0);
            const Pixel expected = c.reads == Reads::Coverage   ? Pixel{0, 0, 0, e}
                                   : c.reads == Reads::Darkness ? Pixel{0, 0, 0, std::uint8_t(255 - e)}
                                                                : Pixel{e, e, e, 255};
            EXPECT_EQ(p, expected) << "sample " << kRamp[std::size_t(x)];
        }
    }
}

// ImageMagick writes black shapes on transparency as grey with alpha: the
// stencil is exactly the one of the same picture saved as RGBA.
TEST(DeepSamples, GreyWithAlphaIsTheRgbaPicture)
{
    const std::vector<std::uint8_t> grey = {0, 0, 90, 200, 255, 17};
    const std::vector<std::uint8_t> alpha = {255, 128, 77, 1, 0, 255};
    QByteArray ga, rgba;
    for (std::size_t i = 0; i < grey.size(); ++i) {
        ga.append(char(grey[i])).append(char(alpha[i]));
        rgba.append(3, char(grey[i])).append(char(alpha[i]));
    }
    const TiffPage gaTiff = page(6, 8, 2, PHOTOMETRIC_MINISBLACK, ga, true);
    const TiffPage rgbaTiff = page(6, 8, 4, PHOTOMETRIC_RGB, rgba, true);
    const std::pair<QByteArray, QByteArray> pairs[] = {
        {makePng(6, 1, 8, 4, ga), makePng(6, 1, 8, 6, rgba)},
        {makeTiff({gaTiff}), makeTiff({rgbaTiff})},
    };
    for (const auto& [greyAlpha, colour] : pairs) {
        Taken a = takeIn(greyAlpha), b = takeIn(colour);
        ASSERT_TRUE(a.simple) << a.reason.toStdString();
        ASSERT_TRUE(b.simple) << b.reason.toStdString();
        EXPECT_FALSE(*a.simple);
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(pixelAt(a.picture->pixels, x, 0), pixelAt(b.picture->pixels, x, 0)) << x;
    }
}

} // namespace
} // namespace gelcoat
