// The PNG writer, through libpng's strict reader: the pixels Qt's writer
// gives, over several strips and with partly covered pixels, for both the
// engine's buffers and Qt images, and the clipboard's PNG.

#include "document/export/PngWriter.h"
#include "document/export/ResultExport.h"
#include "document/image/BitmapImage.h"
#include "tests/support/StrictPng.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QMimeData>

#include <memory>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

DecodedPng strictly(const QByteArray& png)
{
    std::string error;
    std::optional<DecodedPng> decoded = decodePngStrictly(png.constData(), png.size(), &error);
    EXPECT_TRUE(decoded) << error;
    return decoded.value_or(DecodedPng{});
}

QByteArray writtenByQt(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, "png").write(image));
    return png;
}

void expectSamePixels(const DecodedPng& ours, const DecodedPng& theirs, const char* what)
{
    EXPECT_EQ(ours.width, theirs.width) << what;
    EXPECT_EQ(ours.height, theirs.height) << what;
    EXPECT_TRUE(ours.rgba == theirs.rgba) << what;
}

// One row, one strip, a strip and a row, and four strips of odd width.
TEST(PngWriter, BuffersAndTheClipboardGetTheQtWritersPixels)
{
    for (const auto& [width, height] :
         {std::pair{7, 1}, std::pair{256, 64}, std::pair{256, 65}, std::pair{301, 200}}) {
        const BitmapRep image = coverRamp(width, height);
        const DecodedPng theirs = strictly(writtenByQt(imageOverBitmap(image)));
        const QByteArray png = encodePng(image);
        expectSamePixels(strictly(png), theirs, "buffer");

        std::unique_ptr<QMimeData> payload(makeClipboardPayload(image));
        ASSERT_TRUE(payload);
        expectSamePixels(strictly(payload->data(QStringLiteral("image/png"))), theirs,
                         "clipboard");
    }
}

TEST(PngWriter, QtImagesOfAnyFormatKeepTheirPixelsAndResolution)
{
    QImage straight(90, 70, QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y)
        for (int x = 0; x < straight.width(); ++x)
            straight.setPixel(x, y, qRgba(x * 2, 255 - y, x ^ y, (x * 3 + y) & 255));
    straight.setDotsPerMeterX(5000);
    straight.setDotsPerMeterY(2000);
    QImage palette = straight.convertToFormat(QImage::Format_Indexed8);

    for (const QImage& image : {straight, palette, straight.convertToFormat(QImage::Format_RGB888)}) {
        const QByteArray png = encodePng(image);
        expectSamePixels(strictly(png), strictly(writtenByQt(image)), "image");
        const QImage back = QImage::fromData(png, "png");
        EXPECT_EQ(back.dotsPerMeterX(), 5000);
        EXPECT_EQ(back.dotsPerMeterY(), 2000);
    }
    EXPECT_TRUE(encodePng(QImage()).isEmpty());
    EXPECT_TRUE(encodePng(BitmapRep()).isEmpty());
    auto grey = BitmapRep::makeLayout(4, 4, 1, 8, false, false);
    ASSERT_TRUE(grey);
    EXPECT_TRUE(encodePng(*grey).isEmpty());
}

// The checks above mean something only if the reader refuses a damaged
// checksum: the zlib stream's Adler-32 (the last four bytes before the
// final IDAT's CRC and IEND) and a chunk's CRC.
TEST(PngWriter, TheStrictReaderRefusesWrongChecksums)
{
    const QByteArray png = encodePng(coverRamp(40, 150));
    ASSERT_TRUE(decodePngStrictly(png.constData(), png.size()));
    const qsizetype adler = png.size() - 12 - 4 - 4;
    // The CRC of the first strip's chunk ends four bytes before the next type.
    const qsizetype firstStrip = png.indexOf("IDAT", png.indexOf("IDAT") + 4);
    const qsizetype idatCrc = png.indexOf("IDAT", firstStrip + 4) - 8;
    const qsizetype physCrc = png.indexOf("pHYs") + 4 + 9;
    for (const qsizetype at : {adler, adler + 3, idatCrc, physCrc}) {
        QByteArray damaged = png;
        damaged[at] = char(damaged[at] ^ 0x10);
        EXPECT_FALSE(decodePngStrictly(damaged.constData(), damaged.size())) << at;
    }
}

} // namespace
