// TIFF encoding and decoding through libtiff in memory, and the intake's
// verdict on the TIFF layouts it meets in practice.

#include "tests/document/IntakeTestFiles.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"
#include "document/intake/TiffCodec.h"
#include "document/intake/TiffMemoryFile.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace gelcoat {
namespace {

using intaketest::makeRawTiff;
using intaketest::makeRgba;
using intaketest::makeTiff;
using intaketest::pixelAt;
using intaketest::TiffPage;
using Pixel = std::array<std::uint8_t, 4>;

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray samples16(std::initializer_list<std::uint16_t> values)
{
    QByteArray out;
    for (std::uint16_t v : values)
        out.append(reinterpret_cast<const char*>(&v), 2);
    return out;
}

// A premultiplied pattern over an odd size, with padded rows.
BitmapRep patternStencil()
{
    BitmapRep rep = makeRgba(37, 5, 4);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x) {
            std::uint8_t* p = rep.row(y) + x * 4;
            const int a = (x * 7 + y * 50) % 256;
            p[0] = std::uint8_t(a * x / 36), p[1] = std::uint8_t(a * y / 4);
            p[2] = std::uint8_t(a / 2), p[3] = std::uint8_t(a);
        }
    return rep;
}

struct Intake {
    std::optional<SourcePicture> picture;
    std::optional<bool> simple;
    IntakeRefusal refusal = IntakeRefusal::None;
    QString error;
};

Intake takeIn(const QByteArray& bytes, SourcePicture* described = nullptr)
{
    Intake result;
    result.picture = decodePicture(bytes, &result.error);
    if (result.picture) {
        if (described) {
            described->representationCount = result.picture->representationCount;
            described->bitsPerSample = result.picture->bitsPerSample;
            described->samplesPerPixel = result.picture->samplesPerPixel;
            described->bitsPerPixel = result.picture->bitsPerPixel;
            described->hasAlpha = result.picture->hasAlpha;
            described->isPlanar = result.picture->isPlanar;
            described->unsupportedColourModel = result.picture->unsupportedColourModel;
        }
        result.simple = checkImage(*result.picture, &result.refusal);
    }
    return result;
}

class EncodeTiff : public testing::TestWithParam<std::tuple<TiffCompression, TiffAlphaKind>> {};

TEST_P(EncodeTiff, RoundTripsByteForByteWithTheLayoutAsked)
{
    const auto [compression, alpha] = GetParam();
    const BitmapRep source = patternStencil();
    const QByteArray tiff = encodeTiff(source, compression, alpha);
    ASSERT_FALSE(tiff.isEmpty());

    auto file = TiffMemoryFile::openForReading(tiff);
    ASSERT_TRUE(file);
    std::uint16_t bps = 0, spp = 0, photometric = 0, planar = 0, orientation = 0, codec = 0;
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    TIFFGetField(file->tiff(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetField(file->tiff(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetField(file->tiff(), TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(file->tiff(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(file->tiff(), TIFFTAG_ORIENTATION, &orientation);
    TIFFGetField(file->tiff(), TIFFTAG_COMPRESSION, &codec);
    ASSERT_TRUE(TIFFGetField(file->tiff(), TIFFTAG_EXTRASAMPLES, &extraCount, &extra));
    EXPECT_EQ(bps, 8);
    EXPECT_EQ(spp, 4);
    EXPECT_EQ(photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(planar, PLANARCONFIG_CONTIG);
    EXPECT_EQ(orientation, ORIENTATION_TOPLEFT);
    EXPECT_EQ(codec, compression == TiffCompression::Lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
    ASSERT_EQ(extraCount, 1);
    EXPECT_EQ(extra[0], alpha == TiffAlphaKind::Associated ? EXTRASAMPLE_ASSOCALPHA
                                                           : EXTRASAMPLE_UNSPECIFIED);

    QString error;
    auto decoded = decodeTiff(tiff, &error);
    ASSERT_TRUE(decoded) << error.toStdString();
    EXPECT_EQ(decoded->representationCount, 1);
    EXPECT_EQ(decoded->samplesPerPixel, 4);
    EXPECT_EQ(decoded->bitsPerSample, 8);
    EXPECT_TRUE(decoded->hasAlpha);
    EXPECT_TRUE(decoded->pixels.samePixels(source));
    const auto simple = checkImage(*decoded);
    ASSERT_TRUE(simple);
    EXPECT_FALSE(*simple);
    EXPECT_TRUE(decoded->pixels.samePixels(source));
}

TEST_P(EncodeTiff, IsReadByLibtiffsOwnToolWithTheRightExtraSamples)
{
    // Another program than ours reads the file from disk, every strip
    // decoded (-D), and lists the tags as libtiff itself names them.
    const QString tiffinfo = QStandardPaths::findExecutable("tiffinfo");
    if (tiffinfo.isEmpty())
        GTEST_SKIP() << "libtiff's tiffinfo is not installed";
    const auto [compression, alpha] = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("out.tiff");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(encodeTiff(patternStencil(), compression, alpha));
    out.close();

    QProcess process;
    process.start(tiffinfo, {"-D", path});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardError(), QByteArray());
    const QString report = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(report.count(QStringLiteral("TIFF Directory")), 1) << report.toStdString();
    for (const QString& line :
         {QStringLiteral("Image Width: 37 Image Length: 5"), QStringLiteral("Bits/Sample: 8"),
          QStringLiteral("Samples/Pixel: 4"),
          QStringLiteral("Extra Samples: 1<%1>")
              .arg(alpha == TiffAlphaKind::Associated ? "assoc-alpha" : "unspecified"),
          QStringLiteral("Compression Scheme: %1")
              .arg(compression == TiffCompression::Lzw ? "LZW" : "None")})
        EXPECT_TRUE(report.contains(line)) << line.toStdString() << " not in\n" << report.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Layouts, EncodeTiff,
                         testing::Combine(testing::Values(TiffCompression::Lzw, TiffCompression::None),
                                          testing::Values(TiffAlphaKind::Associated,
                                                          TiffAlphaKind::Unspecified)));

TEST(EncodeTiffInput, OnlyEngineFormatBuffersAreEncoded)
{
    EXPECT_TRUE(encodeTiff(BitmapRep(), TiffCompression::Lzw, TiffAlphaKind::Associated).isEmpty());
    auto rgb = BitmapRep::makeLayout(4, 4, 3, 8, false, false);
    ASSERT_TRUE(rgb);
    EXPECT_TRUE(encodeTiff(*rgb, TiffCompression::Lzw, TiffAlphaKind::Associated).isEmpty());
}

TEST(TiffIntake, RefusesPagesPlanesAndDepthsTheCheckExcludes)
{
    TiffPage rgb;
    rgb.width = 2, rgb.samples = bytesOf({0, 0, 0, 255, 255, 255});

    SourcePicture described;
    Intake twoPages = takeIn(makeTiff({rgb, rgb}), &described);
    ASSERT_TRUE(twoPages.picture) << twoPages.error.toStdString();
    EXPECT_EQ(described.representationCount, 2);
    EXPECT_EQ(twoPages.refusal, IntakeRefusal::RepresentationCount);

    TiffPage planar = rgb;
    planar.planar = PLANARCONFIG_SEPARATE;   // red plane, green plane, blue plane
    Intake planes = takeIn(makeTiff({planar}), &described);
    ASSERT_TRUE(planes.picture) << planes.error.toStdString();
    EXPECT_TRUE(described.isPlanar);
    EXPECT_EQ(planes.refusal, IntakeRefusal::Planar);

    TiffPage grey16;
    grey16.samplesPerPixel = 1, grey16.bitsPerSample = 16, grey16.photometric = PHOTOMETRIC_MINISBLACK;
    grey16.samples = samples16({40000});
    Intake deep = takeIn(makeTiff({grey16}), &described);
    ASSERT_TRUE(deep.picture) << deep.error.toStdString();
    EXPECT_EQ(described.bitsPerSample, 16);
    ASSERT_TRUE(deep.simple);   // narrowed: 40000 × 255 / 65535 = 155.6
    EXPECT_EQ(pixelAt(deep.picture->pixels, 0, 0)[3], 156);

    TiffPage bilevel;
    bilevel.width = 8, bilevel.samplesPerPixel = 1, bilevel.bitsPerSample = 1;
    bilevel.photometric = PHOTOMETRIC_MINISWHITE, bilevel.samples = bytesOf({0xF0});
    Intake oneBit = takeIn(makeTiff({bilevel}), &described);
    ASSERT_TRUE(oneBit.picture) << oneBit.error.toStdString();
    EXPECT_EQ(described.bitsPerSample, 1);
    EXPECT_EQ(oneBit.refusal, IntakeRefusal::SampleDepth);
}

TEST(TiffIntake, RefusesCmykAndFloatingPointInsteadOfMisreadingThem)
{
    TiffPage cmyk;
    cmyk.samplesPerPixel = 4, cmyk.photometric = PHOTOMETRIC_SEPARATED;
    cmyk.samples = bytesOf({0, 255, 255, 0});
    SourcePicture described;
    Intake ink = takeIn(makeTiff({cmyk}), &described);
    ASSERT_TRUE(ink.picture) << ink.error.toStdString();
    EXPECT_TRUE(described.unsupportedColourModel);
    EXPECT_FALSE(ink.simple);
    EXPECT_EQ(ink.refusal, IntakeRefusal::ColourModel);

    TiffPage floats;
    floats.samplesPerPixel = 4, floats.bitsPerSample = 32, floats.sampleFormat = SAMPLEFORMAT_IEEEFP;
    floats.extraSamples = {EXTRASAMPLE_ASSOCALPHA};
    const float values[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    floats.samples = QByteArray(reinterpret_cast<const char*>(values), sizeof values);
    Intake real = takeIn(makeTiff({floats}));
    ASSERT_TRUE(real.picture) << real.error.toStdString();
    EXPECT_EQ(real.refusal, IntakeRefusal::ColourModel);
}

TEST(TiffIntake, GreyIsReadAsItShows)
{
    TiffPage minIsWhite;
    minIsWhite.width = 2, minIsWhite.samplesPerPixel = 1;
    minIsWhite.photometric = PHOTOMETRIC_MINISWHITE, minIsWhite.samples = bytesOf({55, 255});
    SourcePicture described;
    Intake white = takeIn(makeTiff({minIsWhite}), &described);
    ASSERT_TRUE(white.simple) << white.error.toStdString();
    EXPECT_TRUE(*white.simple);
    EXPECT_EQ(described.samplesPerPixel, 1);
    EXPECT_EQ(pixelAt(white.picture->pixels, 0, 0), (Pixel{0, 0, 0, 200}));
    EXPECT_EQ(pixelAt(white.picture->pixels, 1, 0), (Pixel{0, 0, 0, 0}));

    TiffPage minIsBlack = minIsWhite;
    minIsBlack.photometric = PHOTOMETRIC_MINISBLACK, minIsBlack.samples = bytesOf({200, 0});
    Intake black = takeIn(makeTiff({minIsBlack}));
    ASSERT_TRUE(black.simple) << black.error.toStdString();
    EXPECT_EQ(pixelAt(black.picture->pixels, 0, 0), (Pixel{0, 0, 0, 200}));
    EXPECT_EQ(pixelAt(black.picture->pixels, 1, 0), (Pixel{0, 0, 0, 0}));
}

TEST(TiffIntake, PalettesAreExpandedToRgb)
{
    for (const std::uint16_t depth : {std::uint16_t(4), std::uint16_t(8)}) {
        SCOPED_TRACE(depth);
        TiffPage indexed;
        indexed.width = 2, indexed.height = 2, indexed.samplesPerPixel = 1;
        indexed.bitsPerSample = depth, indexed.photometric = PHOTOMETRIC_PALETTE;
        const std::size_t entries = std::size_t(1) << depth;
        indexed.palette.assign(entries * 3, 0);
        // entry 1 white, entry 2 red (16-bit colour map values)
        indexed.palette[1] = indexed.palette[entries + 1] = indexed.palette[2 * entries + 1] = 65535;
        indexed.palette[2] = 65535;
        indexed.samples = depth == 8 ? bytesOf({0, 1, 2, 1}) : bytesOf({0x01, 0x21});
        SourcePicture described;
        Intake result = takeIn(makeTiff({indexed}), &described);
        ASSERT_TRUE(result.simple) << result.error.toStdString();
        EXPECT_TRUE(*result.simple);
        EXPECT_EQ(described.samplesPerPixel, 3);
        EXPECT_EQ(described.bitsPerSample, 8);
        EXPECT_EQ(pixelAt(result.picture->pixels, 0, 0), (Pixel{0, 0, 0, 255}));
        EXPECT_EQ(pixelAt(result.picture->pixels, 1, 0), (Pixel{0, 0, 0, 0}));
        EXPECT_EQ(pixelAt(result.picture->pixels, 0, 1), (Pixel{0, 0, 0, 170}));
    }
}

TEST(TiffIntake, AlphaEndsUpPremultiplied)
{
    TiffPage straight;
    straight.width = 3, straight.samplesPerPixel = 4;
    straight.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    straight.samples = bytesOf({255, 100, 0, 128, 90, 80, 70, 0, 10, 20, 30, 255});
    SourcePicture described;
    Intake unassociated = takeIn(makeTiff({straight}), &described);
    ASSERT_TRUE(unassociated.simple) << unassociated.error.toStdString();
    EXPECT_FALSE(*unassociated.simple);
    EXPECT_TRUE(described.hasAlpha);
    EXPECT_EQ(pixelAt(unassociated.picture->pixels, 0, 0), (Pixel{128, 50, 0, 128}));
    EXPECT_EQ(pixelAt(unassociated.picture->pixels, 1, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(unassociated.picture->pixels, 2, 0), (Pixel{10, 20, 30, 255}));

    TiffPage associated = straight;
    associated.extraSamples = {EXTRASAMPLE_ASSOCALPHA};
    associated.samples = bytesOf({128, 50, 0, 128, 0, 0, 0, 0, 10, 20, 30, 255});
    Intake kept = takeIn(makeTiff({associated}));
    ASSERT_TRUE(kept.simple) << kept.error.toStdString();
    EXPECT_EQ(pixelAt(kept.picture->pixels, 0, 0), (Pixel{128, 50, 0, 128}));
    EXPECT_EQ(pixelAt(kept.picture->pixels, 2, 0), (Pixel{10, 20, 30, 255}));

    // 16-bit straight alpha: narrowed to 8 bits, then premultiplied.
    TiffPage deep = straight;
    deep.width = 1, deep.bitsPerSample = 16;
    deep.samples = samples16({65535, 0, 32896, 32896});
    Intake narrowed = takeIn(makeTiff({deep}), &described);
    ASSERT_TRUE(narrowed.simple) << narrowed.error.toStdString();
    EXPECT_EQ(described.bitsPerSample, 16);
    const Pixel p = pixelAt(narrowed.picture->pixels, 0, 0);
    EXPECT_EQ(p[0], 128);
    EXPECT_EQ(p[1], 0);
    EXPECT_NEAR(p[2], 64, 1);
    EXPECT_EQ(p[3], 128);
}

TEST(TiffIntake, ReadsLzwTilesAndBottomUpRows)
{
    // 20 × 20 RGB: red is x * 10, green is y * 10.
    TiffPage page;
    page.width = 20, page.height = 20;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            page.samples.append(char(x * 10)).append(char(y * 10)).append(char(0));
    const auto alphaAt = [](int x, int y) { return std::uint8_t(255 - (x * 10 + y * 10) / 3); };

    TiffPage lzw = page;
    lzw.compression = COMPRESSION_LZW;
    TiffPage tiled = lzw;
    tiled.tileSize = 16;   // the right and bottom tiles hang over the edge
    for (const TiffPage& variant : {lzw, tiled}) {
        SCOPED_TRACE(variant.tileSize ? "tiled" : "stripped");
        Intake result = takeIn(makeTiff({variant}));
        ASSERT_TRUE(result.simple) << result.error.toStdString();
        for (const auto& [x, y] : {std::pair{0, 0}, {15, 15}, {16, 15}, {19, 19}, {3, 17}})
            EXPECT_EQ(pixelAt(result.picture->pixels, x, y), (Pixel{0, 0, 0, alphaAt(x, y)}));
    }

    TiffPage bottomUp = page;
    bottomUp.orientation = ORIENTATION_BOTLEFT;   // first stored row is the bottom one
    Intake flipped = takeIn(makeTiff({bottomUp}));
    ASSERT_TRUE(flipped.simple) << flipped.error.toStdString();
    EXPECT_EQ(pixelAt(flipped.picture->pixels, 4, 0), (Pixel{0, 0, 0, alphaAt(4, 19)}));
    EXPECT_EQ(pixelAt(flipped.picture->pixels, 4, 19), (Pixel{0, 0, 0, alphaAt(4, 0)}));
}

TEST(TiffIntake, HostileSizesAreRefusedBeforeDecoding)
{
    for (const std::uint32_t side : {100000u, 65536u, 0u}) {
        SCOPED_TRACE(side);
        const QByteArray tiff = makeRawTiff({{256, 4, side},
                                             {257, 4, side},
                                             {258, 3, 8},
                                             {259, 3, 1},
                                             {262, 3, 1},
                                             {273, 4, 8},
                                             {277, 3, 1},
                                             {278, 4, side},
                                             {279, 4, 16}});
        testing::internal::CaptureStderr();
        QString error;
        EXPECT_FALSE(decodePicture(tiff, &error));
        EXPECT_TRUE(testing::internal::GetCapturedStderr().empty());
        EXPECT_FALSE(error.isEmpty());
        if (side) {
            EXPECT_TRUE(error.contains("too large")) << error.toStdString();
        }
    }
}

TEST(TiffIntake, DamagedDataGivesAnErrorQuietly)
{
    TiffPage page;
    page.width = 64, page.height = 64, page.compression = COMPRESSION_LZW;
    for (int i = 0; i < 64 * 64; ++i)
        page.samples.append(char(i * 7)).append(char(i)).append(char(i / 64));
    const QByteArray whole = makeTiff({page});
    QByteArray scrambled = whole;
    for (qsizetype i = 8; i < scrambled.size(); i += 3)
        scrambled[i] = char(scrambled[i] ^ 0x5A);
    const QByteArray damaged[] = {whole.left(whole.size() / 2), whole.left(6), scrambled,
                                  QByteArray("II*\0\xff\xff\xff\x7f", 8)};
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        testing::internal::CaptureStderr();
        QString error;
        EXPECT_FALSE(decodePicture(bytes, &error));
        EXPECT_TRUE(testing::internal::GetCapturedStderr().empty());
        EXPECT_FALSE(error.isEmpty());
    }
}

// The directory first and the strips after it, cut off inside the third
// of four strips: the error names that strip's first row.
TEST(TiffIntake, ATruncatedStripIsNamedByItsRow)
{
    constexpr std::uint32_t width = 8, height = 64, rowsPerStrip = 16, strips = 4;
    const std::uint32_t entries = 9, ifdEnd = 8 + 2 + entries * 12 + 4;
    const std::uint32_t offsetsAt = ifdEnd, countsAt = ifdEnd + 4 * strips;
    const std::uint32_t dataAt = countsAt + 4 * strips;
    QByteArray tiff("II*\0", 4);
    auto put = [&tiff](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            tiff.append(char(value >> (8 * i)));
    };
    put(8, 4);
    put(entries, 2);
    const std::uint32_t ifd[][4] = {{256, 4, 1, width},       {257, 4, 1, height},
                                    {258, 3, 1, 8},           {259, 3, 1, COMPRESSION_NONE},
                                    {262, 3, 1, 1},           {273, 4, strips, offsetsAt},
                                    {277, 3, 1, 1},           {278, 4, 1, rowsPerStrip},
                                    {279, 4, strips, countsAt}};
    for (const auto& e : ifd) {
        put(e[0], 2), put(e[1], 2), put(e[2], 4);
        put(e[3], 4);
    }
    put(0, 4);
    for (std::uint32_t s = 0; s < strips; ++s)
        put(dataAt + s * width * rowsPerStrip, 4);
    for (std::uint32_t s = 0; s < strips; ++s)
        put(width * rowsPerStrip, 4);
    tiff.append(QByteArray(width * (2 * rowsPerStrip + 5), char(90)));

    QString error;
    EXPECT_FALSE(decodePicture(tiff, &error));
    EXPECT_TRUE(error.contains(u"row 33 of 64")) << error.toStdString();
    EXPECT_FALSE(error.contains(u"scanline")) << error.toStdString();   // libtiff's, stale
}

} // namespace
} // namespace gelcoat
