// Pictures in the formats Qt reads, the vector kinds, and damaged or hostile
// input, each taken through decoding and the acceptance check.

#include "tests/document/IntakeTestFiles.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace gelcoat {
namespace {

using intaketest::encodeWithQt;
using intaketest::makeGif;
using intaketest::makePng;
using intaketest::pixelAt;
using Pixel = std::array<std::uint8_t, 4>;

struct Taken {
    SourcePicture described;   // the description before the check replaced it
    std::optional<bool> simple;
    IntakeRefusal refusal = IntakeRefusal::None;
    BitmapRep stencil;
};

// Decodes (which must succeed) and runs the check.
Taken takeIn(const QByteArray& bytes)
{
    Taken taken;
    QString error;
    auto picture = decodePicture(bytes, &error);
    EXPECT_TRUE(picture) << error.toStdString();
    if (!picture)
        return taken;
    taken.described.representationCount = picture->representationCount;
    taken.described.isBitmap = picture->isBitmap;
    taken.described.bitsPerSample = picture->bitsPerSample;
    taken.described.samplesPerPixel = picture->samplesPerPixel;
    taken.described.bitsPerPixel = picture->bitsPerPixel;
    taken.described.hasAlpha = picture->hasAlpha;
    taken.simple = checkImage(*picture, &taken.refusal);
    taken.stencil = std::move(picture->pixels);
    return taken;
}

QImage solid(int width, int height, QImage::Format format, QRgb colour)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

void expectNear(const Pixel& actual, const Pixel& expected, int tolerance)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[std::size_t(i)], expected[std::size_t(i)], tolerance) << "sample " << i;
}

TEST(PngIntake, RgbAndGreyBecomeSimpleMasks)
{
    const struct {
        QRgb colour;
        std::uint8_t alpha;
    } rgbCases[] = {{qRgb(255, 255, 255), 0}, {qRgb(0, 0, 0), 255}, {qRgb(128, 128, 128), 127}};
    for (const auto& c : rgbCases) {
        SCOPED_TRACE(c.alpha);
        Taken t = takeIn(encodeWithQt(solid(1, 1, QImage::Format_RGB888, c.colour), "png"));
        EXPECT_EQ(t.described.samplesPerPixel, 3);
        EXPECT_EQ(t.described.bitsPerSample, 8);
        ASSERT_TRUE(t.simple);
        EXPECT_TRUE(*t.simple);
        EXPECT_EQ(pixelAt(t.stencil, 0, 0), (Pixel{0, 0, 0, c.alpha}));
    }

    Taken grey = takeIn(encodeWithQt(solid(3, 2, QImage::Format_Grayscale8, qRgb(200, 200, 200)), "png"));
    EXPECT_EQ(grey.described.samplesPerPixel, 1);
    ASSERT_TRUE(grey.simple);
    EXPECT_TRUE(*grey.simple);
    EXPECT_EQ(pixelAt(grey.stencil, 2, 1), (Pixel{0, 0, 0, 200}));
}

TEST(PngIntake, StoredDepthDecidesForPicturesWithoutAlpha)
{
    // 16 bits are narrowed to 8; fewer than 8 are refused.
    Taken grey16 = takeIn(encodeWithQt(solid(1, 1, QImage::Format_Grayscale16, qRgb(9, 9, 9)), "png"));
    EXPECT_EQ(grey16.described.bitsPerSample, 16);
    ASSERT_TRUE(grey16.simple);
    EXPECT_EQ(pixelAt(grey16.stencil, 0, 0), (Pixel{0, 0, 0, 9}));

    Taken rgb16 = takeIn(makePng(1, 1, 16, 2, QByteArray(6, '\x40')));
    EXPECT_EQ(rgb16.described.bitsPerSample, 16);
    ASSERT_TRUE(rgb16.simple);
    EXPECT_EQ(pixelAt(rgb16.stencil, 0, 0), (Pixel{0, 0, 0, 255 - 64}));

    Taken grey2 = takeIn(makePng(4, 1, 2, 0, QByteArray(1, '\x1B')));
    EXPECT_EQ(grey2.described.bitsPerSample, 2);
    EXPECT_EQ(grey2.refusal, IntakeRefusal::SampleDepth);
}

TEST(PngIntake, GreyWithAlphaIsTwoSamplesWidenedToRgba)
{
    Taken eightBit = takeIn(makePng(1, 1, 8, 4, QByteArray("\x80\x80", 2)));
    EXPECT_EQ(eightBit.described.samplesPerPixel, 2);
    ASSERT_TRUE(eightBit.simple);
    EXPECT_FALSE(*eightBit.simple);
    EXPECT_EQ(pixelAt(eightBit.stencil, 0, 0), (Pixel{64, 64, 64, 128}));

    // At 16 bits the pixel is 32 bits wide and standardised with its colour.
    Taken sixteenBit = takeIn(makePng(1, 1, 16, 4, QByteArray("\xff\xff\x80\x80", 4)));
    EXPECT_EQ(sixteenBit.described.samplesPerPixel, 2);
    EXPECT_EQ(sixteenBit.described.bitsPerPixel, 32);
    ASSERT_TRUE(sixteenBit.simple);
    EXPECT_FALSE(*sixteenBit.simple);
    expectNear(pixelAt(sixteenBit.stencil, 0, 0), {128, 128, 128, 128}, 1);
}

TEST(PngIntake, StraightAlphaIsPremultiplied)
{
    // 8-bit RGBA, then the same colours at 16 bits.
    Taken eight = takeIn(makePng(3, 1, 8, 6, QByteArray("\xff\x64\x00\x80" "\x5a\x50\x46\x00"
                                                         "\x0a\x14\x1e\xff", 12)));
    EXPECT_EQ(eight.described.samplesPerPixel, 4);
    EXPECT_EQ(eight.described.bitsPerSample, 8);
    ASSERT_TRUE(eight.simple);
    EXPECT_FALSE(*eight.simple);
    expectNear(pixelAt(eight.stencil, 0, 0), {128, 50, 0, 128}, 1);
    EXPECT_EQ(pixelAt(eight.stencil, 1, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(eight.stencil, 2, 0), (Pixel{10, 20, 30, 255}));

    Taken sixteen = takeIn(makePng(2, 1, 16, 6, QByteArray("\xff\xff\x64\x64\x00\x00\x80\x80"
                                                           "\x0a\x0a\x14\x14\x1e\x1e\xff\xff", 16)));
    EXPECT_EQ(sixteen.described.samplesPerPixel, 4);
    EXPECT_EQ(sixteen.described.bitsPerSample, 16);
    ASSERT_TRUE(sixteen.simple);
    expectNear(pixelAt(sixteen.stencil, 0, 0), {128, 50, 0, 128}, 1);
    EXPECT_EQ(pixelAt(sixteen.stencil, 1, 0), (Pixel{10, 20, 30, 255}));
}

// Every sample value at every alpha comes out as Qt's own conversion makes
// it, so that a stencil's pixels do not depend on the path that read it.
TEST(PngIntake, PremultipliedExactlyAsQtConverts)
{
    QImage every(256, 256, QImage::Format_ARGB32);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c)
            every.setPixel(c, a, qRgba(c, 255 - c, c ^ 0x5a, a));
    const QImage expected = every.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    Taken taken = takeIn(encodeWithQt(every, "png"));
    ASSERT_FALSE(taken.stencil.isNull());
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(std::memcmp(taken.stencil.row(y), expected.constScanLine(y), 256 * 4), 0) << y;
}

TEST(PngIntake, PalettesAndColourKeysAreExpanded)
{
    const QByteArray palette("\x00\x00\x00" "\xff\xff\xff" "\xff\x00\x00", 9);
    const QByteArray indices("\x00\x01\x02", 3);

    Taken opaque = takeIn(makePng(3, 1, 8, 3, indices, palette));
    EXPECT_EQ(opaque.described.samplesPerPixel, 3);
    ASSERT_TRUE(opaque.simple);
    EXPECT_TRUE(*opaque.simple);
    EXPECT_EQ(pixelAt(opaque.stencil, 0, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(opaque.stencil, 1, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(opaque.stencil, 2, 0), (Pixel{0, 0, 0, 170}));

    Taken keyed = takeIn(makePng(3, 1, 8, 3, indices, palette, QByteArray("\xff\x00", 2)));
    EXPECT_EQ(keyed.described.samplesPerPixel, 4);
    ASSERT_TRUE(keyed.simple);
    EXPECT_FALSE(*keyed.simple);
    EXPECT_EQ(pixelAt(keyed.stencil, 0, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(keyed.stencil, 1, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(keyed.stencil, 2, 0), (Pixel{255, 0, 0, 255}));

    // A transparent grey level: expanded to RGBA like a palette.
    Taken greyKey = takeIn(makePng(2, 1, 8, 0, QByteArray("\x10\x20", 2), {}, QByteArray("\x00\x10", 2)));
    EXPECT_EQ(greyKey.described.samplesPerPixel, 4);
    ASSERT_TRUE(greyKey.simple);
    EXPECT_EQ(pixelAt(greyKey.stencil, 0, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(greyKey.stencil, 1, 0), (Pixel{32, 32, 32, 255}));
}

TEST(QtIntake, JpegAndBmp)
{
    Taken photo = takeIn(encodeWithQt(solid(16, 16, QImage::Format_RGB888, qRgb(255, 255, 255)), "jpeg", 100));
    EXPECT_EQ(photo.described.samplesPerPixel, 3);
    ASSERT_TRUE(photo.simple);
    EXPECT_TRUE(*photo.simple);
    expectNear(pixelAt(photo.stencil, 8, 8), {0, 0, 0, 0}, 2);

    Taken greyPhoto = takeIn(encodeWithQt(solid(16, 16, QImage::Format_Grayscale8, qRgb(200, 200, 200)), "jpeg", 100));
    EXPECT_EQ(greyPhoto.described.samplesPerPixel, 1);
    ASSERT_TRUE(greyPhoto.simple);
    expectNear(pixelAt(greyPhoto.stencil, 8, 8), {0, 0, 0, 200}, 2);

    Taken bmp = takeIn(encodeWithQt(solid(5, 3, QImage::Format_RGB888, qRgb(0, 0, 0)), "bmp"));
    EXPECT_EQ(bmp.described.samplesPerPixel, 3);
    ASSERT_TRUE(bmp.simple);
    EXPECT_EQ(pixelAt(bmp.stencil, 4, 2), (Pixel{0, 0, 0, 255}));

    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    indexed.fill(1);
    indexed.setPixel(0, 0, 0);
    Taken indexedBmp = takeIn(encodeWithQt(indexed, "bmp"));
    EXPECT_EQ(indexedBmp.described.samplesPerPixel, 3);
    ASSERT_TRUE(indexedBmp.simple);
    EXPECT_EQ(pixelAt(indexedBmp.stencil, 0, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(indexedBmp.stencil, 3, 1), (Pixel{0, 0, 0, 0}));
}

TEST(QtIntake, GifPalettesAndAnimations)
{
    const std::vector<QRgb> palette{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 255)};
    // 300 pixels, more than one LZW clear interval
    std::vector<std::uint8_t> frame(300, 1);
    frame[0] = 0, frame[299] = 2;

    Taken opaque = takeIn(makeGif(30, 10, palette, -1, {frame}));
    EXPECT_EQ(opaque.described.samplesPerPixel, 3);
    ASSERT_TRUE(opaque.simple);
    EXPECT_TRUE(*opaque.simple);
    EXPECT_EQ(pixelAt(opaque.stencil, 0, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(opaque.stencil, 15, 5), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(opaque.stencil, 29, 9), (Pixel{0, 0, 0, 170}));

    std::vector<std::uint8_t> second(300, 0);
    Taken animated = takeIn(makeGif(30, 10, palette, 1, {frame, second}));
    EXPECT_EQ(animated.described.representationCount, 1);
    EXPECT_EQ(animated.described.samplesPerPixel, 4);
    ASSERT_TRUE(animated.simple);
    EXPECT_FALSE(*animated.simple);
    EXPECT_EQ(pixelAt(animated.stencil, 0, 0), (Pixel{0, 0, 0, 255}));     // first frame
    EXPECT_EQ(pixelAt(animated.stencil, 15, 5), (Pixel{0, 0, 0, 0}));      // transparent
    EXPECT_EQ(pixelAt(animated.stencil, 29, 9), (Pixel{0, 0, 255, 255}));
}

TEST(QtIntake, WebpWithAlpha)
{
    if (!QImageWriter::supportedImageFormats().contains("webp"))
        GTEST_SKIP() << "Qt's WebP plugin is not installed";
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 100, 0, 128));
    image.setPixel(1, 0, qRgba(10, 20, 30, 255));
    Taken t = takeIn(encodeWithQt(image, "webp", 100));   // quality 100 is lossless
    EXPECT_EQ(t.described.samplesPerPixel, 4);
    ASSERT_TRUE(t.simple);
    EXPECT_FALSE(*t.simple);
    expectNear(pixelAt(t.stencil, 0, 0), {128, 50, 0, 128}, 1);
    EXPECT_EQ(pixelAt(t.stencil, 1, 0), (Pixel{10, 20, 30, 255}));
}

TEST(VectorIntake, PdfIsDescribedAndRefusedSvgIsDrawn)
{
    Taken pdf = takeIn("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n");
    EXPECT_FALSE(pdf.described.isBitmap);
    EXPECT_FALSE(pdf.simple);
    EXPECT_EQ(pdf.refusal, IntakeRefusal::NotBitmap);

    // After a byte-order mark.
    Taken svg = takeIn("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                       "width=\"10\" height=\"10\"><rect width=\"10\" height=\"10\"/></svg>");
    EXPECT_TRUE(svg.described.isBitmap);
    ASSERT_TRUE(svg.simple);
    EXPECT_EQ(svg.stencil.pixelsWide(), 1024);
    EXPECT_EQ(pixelAt(svg.stencil, 500, 500), (Pixel{0, 0, 0, 255}));

    // XML names are case-sensitive: this is no SVG a reader draws.
    QString error;
    EXPECT_FALSE(decodePicture("  <SVG viewBox=\"0 0 1 1\"></SVG>", &error));
    EXPECT_EQ(error, "damaged: the SVG drawing cannot be read");
}

TEST(DamagedIntake, UnknownTruncatedAndHostileDataGiveAnError)
{
    const QByteArray png = encodeWithQt(solid(64, 64, QImage::Format_RGB888, qRgb(1, 2, 3)), "png");
    const QByteArray hugePng = makePng(100000, 100000, 8, 0, QByteArray(1, '\0'));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* errorHas;
    } cases[] = {
        {"empty", QByteArray(), "empty"},
        {"text", "just some words", "not in a picture format"},
        {"<xml> that is not svg", "<?xml version=\"1.0\"?><html/>", "not in a picture format"},
        {"truncated png", png.left(png.size() / 2), "damaged"},
        {"png signature only", png.left(8), "damaged"},
        {"jpeg marker and noise", QByteArray("\xFF\xD8\xFF\xE0 noise noise noise"), "damaged"},
        {"gif header only", QByteArray("GIF89a\x01\x00\x01\x00"), "damaged"},
        {"hostile png size", hugePng, "beyond the limit of 268435456 pixels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(decodePicture(c.bytes, &error));
        EXPECT_TRUE(error.contains(c.errorHas)) << error.toStdString();
    }
}

// One row or column past 16,384² is refused by the size the header states,
// before a pixel is read: the data after the header is a single byte, so a
// decoder that went on would fail with another reason.
TEST(DamagedIntake, APictureJustPastTheLimitIsRefusedByItsHeader)
{
    for (const auto& [width, height, colourType] :
         {std::tuple{16385u, 16384u, 6}, std::tuple{16384u, 16385u, 0},
          std::tuple{16385u, 16384u, 2}}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2, colour type %3")
                         .arg(width)
                         .arg(height)
                         .arg(colourType)
                         .toStdString());
        QString error;
        EXPECT_FALSE(decodePicture(makePng(width, height, 8, colourType, QByteArray(1, '\0')),
                                   &error));
        EXPECT_TRUE(error.contains(QStringLiteral("%1 × %2").arg(width).arg(height)))
            << error.toStdString();
        EXPECT_TRUE(error.contains("beyond the limit of 268435456 pixels")) << error.toStdString();
    }
}

// Every format Qt's plug-ins read is told by its content, whatever the name.
TEST(QtIntake, OtherRasterFormatsByContent)
{
    QImage picture(6, 4, QImage::Format_RGB888);
    picture.fill(Qt::white);
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    for (const char* format : {"ppm", "pgm", "pbm", "xbm", "xpm", "wbmp", "ico"}) {
        SCOPED_TRACE(format);
        Taken t = takeIn(encodeWithQt(picture, format));
        ASSERT_TRUE(t.simple);
        EXPECT_EQ(t.stencil.pixelsWide(), 6);
        // Grey is coverage; an icon keeps its (opaque) alpha; the rest are
        // darkness masks.
        const bool grey = format == std::string_view("pgm");
        const bool opaque = format == std::string_view("ico");
        EXPECT_EQ(pixelAt(t.stencil, 1, 1)[3], grey ? 0 : 255);
        EXPECT_EQ(pixelAt(t.stencil, 4, 2)[3], grey || opaque ? 255 : 0);
    }
    // 16-bit samples are narrowed to 8, rounded, as for PNG and TIFF.
    Taken deep = takeIn(QByteArray("P5\n2 1\n65535\n\x12\x34\xAB\xCD", 18));
    ASSERT_TRUE(deep.simple);
    EXPECT_EQ(pixelAt(deep.stencil, 0, 0)[3], 18);    // 4660 × 255 / 65535 = 18.1
    EXPECT_EQ(pixelAt(deep.stencil, 1, 0)[3], 171);   // 43981 → 171.1
}

// An EXIF orientation is applied as every viewer applies it.
TEST(QtIntake, JpegOrientationIsApplied)
{
    QImage wide(8, 2, QImage::Format_RGB888);
    wide.fill(Qt::white);
    wide.setPixel(0, 0, qRgb(0, 0, 0));
    wide.setPixel(1, 0, qRgb(0, 0, 0));
    QByteArray jpeg = encodeWithQt(wide, "jpeg", 100);
    // APP1 "Exif": a little-endian TIFF header and one IFD entry,
    // Orientation = 6 (the stored rows are the picture's right-hand column).
    const QByteArray exif("\xFF\xE1\x00\x22" "Exif\x00\x00" "II*\x00\x08\x00\x00\x00"
                          "\x01\x00" "\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00"
                          "\x00\x00\x00\x00", 36);
    jpeg.insert(2, exif);
    Taken t = takeIn(jpeg);
    ASSERT_TRUE(t.simple);
    EXPECT_EQ(t.stencil.pixelsWide(), 2);
    EXPECT_EQ(t.stencil.pixelsHigh(), 8);
    expectNear(pixelAt(t.stencil, 1, 0), {0, 0, 0, 255}, 24);
    expectNear(pixelAt(t.stencil, 0, 7), {0, 0, 0, 0}, 24);
}

TEST(PictureFiles, OnlyRegularFilesWithinTheCapAreRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString picturePath = dir.filePath("white.png");
    QFile file(picturePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encodeWithQt(solid(2, 2, QImage::Format_RGB888, qRgb(255, 255, 255)), "png"));
    file.close();
    QString error;
    const auto picture = decodePictureFile(picturePath, &error);
    ASSERT_TRUE(picture) << error.toStdString();
    EXPECT_EQ(picture->pixels.pixelsWide(), 2);

    const QString fifoPath = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifoPath).constData(), 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(decodePictureFile(fifoPath, &error));   // must not wait for a writer
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();

    EXPECT_FALSE(decodePictureFile(dir.path(), &error));
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();

    EXPECT_FALSE(decodePictureFile(dir.filePath("missing.png"), &error));
    EXPECT_TRUE(error.contains("cannot be opened")) << error.toStdString();

    // A sparse file one byte over the cap: refused by its size, not read.
    const QString bigPath = dir.filePath("big.png");
    QFile big(bigPath);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMaxPictureFileBytes + 1));
    big.close();
    EXPECT_FALSE(decodePictureFile(bigPath, &error));
    EXPECT_TRUE(error.contains("larger than 512 MiB")) << error.toStdString();
}

} // namespace
} // namespace gelcoat
