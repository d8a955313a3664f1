// Engine buffers and Qt images, both ways, on partly covered pixels: a
// buffer shown as straight colour or a picture premultiplied twice (or not
// at all) changes them.

#include "document/image/BitmapImage.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// Red 200 at alpha 128, green 30 at alpha 1 and blue 255 opaque, straight.
QImage straightPicture(QImage::Format format)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 0, 0, 128));
    image.setPixel(1, 0, qRgba(0, 30, 0, 1));
    image.setPixel(2, 0, qRgba(0, 0, 255, 255));
    image.setPixel(0, 1, qRgba(10, 20, 30, 0));
    image.setPixel(1, 1, qRgba(77, 154, 231, 77));
    image.setPixel(2, 1, qRgba(255, 255, 255, 254));
    return image.convertToFormat(format);
}

TEST(BitmapImage, BuffersShowTheirPremultipliedColour)
{
    auto shared = std::make_shared<const BitmapRep>(coverRamp(40, 9));
    const BitmapRep& ramp = *shared;
    const QImage copied = imageFromBitmap(ramp);
    const QImage over = imageOverBitmap(ramp);
    QImage kept = imageSharingBitmap(shared);
    shared.reset();   // the image keeps the buffer alive
    for (const QImage* image : {&copied, &over, static_cast<const QImage*>(&kept)}) {
        ASSERT_EQ(image->size(), QSize(40, 9));
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 40; ++x) {
                const std::uint32_t p = pixel(ramp, x, y);
                const QRgb premultiplied = qRgba(int(p >> 24), int(p >> 16 & 255),
                                                 int(p >> 8 & 255), int(p & 255));
                ASSERT_EQ(image->pixelColor(x, y).rgba(), qUnpremultiply(premultiplied)) << x << "," << y;
            }
    }
    EXPECT_EQ(over.constBits(), ramp.bitmapData());
    EXPECT_NE(copied.constBits(), ramp.bitmapData());

    auto rgb = BitmapRep::makeLayout(2, 2, 3, 8, false, false);
    ASSERT_TRUE(rgb);
    EXPECT_TRUE(imageFromBitmap(*rgb).isNull());
    EXPECT_TRUE(imageSharingBitmap(nullptr).isNull());
    EXPECT_TRUE(imageOverBitmap(BitmapRep()).isNull());
}

// Straight alpha arrives premultiplied as Qt rounds it, whether Qt converts
// or the one-pass copy does; the way back gives the same buffer.
TEST(BitmapImage, PicturesArePremultipliedOnceAsQtRounds)
{
    const QImage expected =
        straightPicture(QImage::Format_ARGB32).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    for (const QImage::Format format :
         {QImage::Format_ARGB32, QImage::Format_RGBA8888, QImage::Format_ARGB32_Premultiplied}) {
        const std::optional<BitmapRep> bitmap = bitmapFromImage(straightPicture(format));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(pixel(*bitmap, 0, 0), 0x64000080u) << format;   // 200 × 128 / 255
        EXPECT_EQ(pixel(*bitmap, 1, 1), 0x172F464Du) << format;
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(std::memcmp(bitmap->row(y), expected.constScanLine(y), 12), 0) << format;
        EXPECT_EQ(imageFromBitmap(*bitmap), expected);
    }

    const QImage grey = straightPicture(QImage::Format_Grayscale8);
    const std::optional<BitmapRep> oneSample = bitmapFromImage(grey, 1);
    ASSERT_TRUE(oneSample);
    EXPECT_EQ(oneSample->samplesPerPixel(), 1);
    EXPECT_EQ(oneSample->row(1)[2], grey.constScanLine(1)[2]);
    const std::optional<BitmapRep> threeSamples = bitmapFromImage(grey, 3);
    ASSERT_TRUE(threeSamples);
    EXPECT_FALSE(threeSamples->hasAlpha());
    EXPECT_EQ(threeSamples->row(0)[5], grey.constScanLine(0)[1]);
    EXPECT_FALSE(bitmapFromImage(grey, 2));
    EXPECT_FALSE(bitmapFromImage(QImage()));
}

} // namespace
