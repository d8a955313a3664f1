// The acceptance check and the two stencil edit commands, on pictures built
// in memory so that each description and pixel layout is exactly as meant.

#include "tests/document/IntakeTestFiles.h"

#include "document/intake/StencilIntake.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace gelcoat {
namespace {

using intaketest::makeRgba;
using intaketest::pixelAt;
using Pixel = std::array<std::uint8_t, 4>;

// A picture described by the arguments whose pixels hold `samples` (8-bit,
// chunky, pixelSamples per pixel), rows padded to catch stride mistakes.
SourcePicture describedPicture(int width, int height, int pixelSamples,
                               const std::vector<std::uint8_t>& samples, int describedSpp,
                               int describedBps, bool alpha)
{
    SourcePicture picture;
    picture.samplesPerPixel = describedSpp;
    picture.bitsPerSample = describedBps;
    picture.bitsPerPixel = describedSpp * describedBps;
    picture.hasAlpha = alpha;
    auto pixels = BitmapRep::makeLayout(width, height, pixelSamples, 8, pixelSamples == 4, false,
                                        width * pixelSamples + 5);
    EXPECT_TRUE(pixels);
    const std::size_t rowBytes = std::size_t(width * pixelSamples);
    EXPECT_EQ(samples.size(), rowBytes * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        std::memcpy(pixels->row(y), samples.data() + std::size_t(y) * rowBytes, rowBytes);
        std::memset(pixels->row(y) + rowBytes, 0x77, 5);
    }
    picture.pixels = std::move(*pixels);
    return picture;
}

void expectStandardStencil(const SourcePicture& picture, int width, int height)
{
    EXPECT_TRUE(isEngineFormat(picture.pixels));
    EXPECT_EQ(picture.pixels.pixelsWide(), width);
    EXPECT_EQ(picture.pixels.pixelsHigh(), height);
    EXPECT_EQ(picture.samplesPerPixel, 4);
    EXPECT_EQ(picture.bitsPerSample, 8);
    EXPECT_EQ(picture.bitsPerPixel, 32);
    EXPECT_TRUE(picture.hasAlpha);
    EXPECT_FALSE(picture.isPlanar);
}

TEST(AcceptanceCheck, RgbDarknessBecomesBlackCoverage)
{
    // white, black, mid grey, and two sums whose third must be floored
    SourcePicture picture = describedPicture(
        5, 1, 3, {255, 255, 255, 0, 0, 0, 128, 128, 128, 1, 1, 0, 255, 255, 254}, 3, 8, false);
    const auto simple = checkImage(picture);
    ASSERT_TRUE(simple);
    EXPECT_TRUE(*simple);
    expectStandardStencil(picture, 5, 1);
    EXPECT_EQ(pixelAt(picture.pixels, 0, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(picture.pixels, 1, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(picture.pixels, 2, 0), (Pixel{0, 0, 0, 127}));
    EXPECT_EQ(pixelAt(picture.pixels, 3, 0), (Pixel{0, 0, 0, 255}));   // floor(2/3) = 0
    EXPECT_EQ(pixelAt(picture.pixels, 4, 0), (Pixel{0, 0, 0, 1}));     // floor(764/3) = 254
}

TEST(AcceptanceCheck, GreySampleBecomesCoverageOnEveryRow)
{
    SourcePicture picture = describedPicture(2, 2, 1, {200, 0, 255, 17}, 1, 8, false);
    const auto simple = checkImage(picture);
    ASSERT_TRUE(simple);
    EXPECT_TRUE(*simple);
    expectStandardStencil(picture, 2, 2);
    EXPECT_EQ(pixelAt(picture.pixels, 0, 0), (Pixel{0, 0, 0, 200}));
    EXPECT_EQ(pixelAt(picture.pixels, 1, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(picture.pixels, 0, 1), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(picture.pixels, 1, 1), (Pixel{0, 0, 0, 17}));
}

TEST(AcceptanceCheck, RgbaKeepsItsBytesAndIsNotSimple)
{
    const std::vector<std::uint8_t> bytes{10, 20, 30, 40, 255, 0, 0, 255, 0, 0, 0, 0, 9, 9, 9, 3};
    SourcePicture picture = describedPicture(2, 2, 4, bytes, 4, 8, true);
    const auto simple = checkImage(picture);
    ASSERT_TRUE(simple);
    EXPECT_FALSE(*simple);
    expectStandardStencil(picture, 2, 2);
    EXPECT_EQ(pixelAt(picture.pixels, 0, 0), (Pixel{10, 20, 30, 40}));
    EXPECT_EQ(pixelAt(picture.pixels, 1, 0), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(picture.pixels, 0, 1), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(pixelAt(picture.pixels, 1, 1), (Pixel{9, 9, 9, 3}));   // kept even though 9 > 3
}

TEST(AcceptanceCheck, ClassifiesByBitsPerPixelWhenSamplesDoNotDecide)
{
    // 16-bit grey + alpha is 32 bits per pixel: standardised, colours kept.
    SourcePicture greyAlpha = describedPicture(1, 1, 4, {90, 90, 90, 128}, 2, 16, true);
    const auto first = checkImage(greyAlpha);
    ASSERT_TRUE(first);
    EXPECT_FALSE(*first);
    EXPECT_EQ(pixelAt(greyAlpha.pixels, 0, 0), (Pixel{90, 90, 90, 128}));

    // Four 4-bit samples with alpha: decoded to 8 bits, so standardised safely.
    SourcePicture shallow = describedPicture(1, 1, 4, {17, 34, 51, 68}, 4, 4, true);
    const auto second = checkImage(shallow);
    ASSERT_TRUE(second);
    EXPECT_FALSE(*second);
    EXPECT_EQ(pixelAt(shallow.pixels, 0, 0), (Pixel{17, 34, 51, 68}));
}

struct RefusalCase {
    const char* name;
    SourcePicture (*make)();
    IntakeRefusal expected;
};

SourcePicture rgbaOnePixel() { return describedPicture(1, 1, 4, {1, 2, 3, 4}, 4, 8, true); }

const RefusalCase kRefusals[] = {
    {"two pages", [] { auto p = rgbaOnePixel(); p.representationCount = 2; return p; },
     IntakeRefusal::RepresentationCount},
    {"no pages", [] { auto p = rgbaOnePixel(); p.representationCount = 0; return p; },
     IntakeRefusal::RepresentationCount},
    {"1-bit grey", [] { return describedPicture(1, 1, 1, {255}, 1, 1, false); },
     IntakeRefusal::SampleDepth},
    {"12-bit RGB without alpha",
     [] { return describedPicture(1, 1, 3, {1, 2, 3}, 3, 12, false); }, IntakeRefusal::SampleDepth},
    {"vector", [] { auto p = rgbaOnePixel(); p.isBitmap = false; return p; },
     IntakeRefusal::NotBitmap},
    {"planar", [] { auto p = rgbaOnePixel(); p.isPlanar = true; return p; },
     IntakeRefusal::Planar},
    {"CMYK", [] { auto p = rgbaOnePixel(); p.unsupportedColourModel = true; return p; },
     IntakeRefusal::ColourModel},
    {"grey + alpha whose pixels were not widened to RGBA",
     [] { return describedPicture(1, 1, 1, {5}, 2, 8, true); }, IntakeRefusal::Layout},
    {"five samples", [] { return describedPicture(1, 1, 4, {5, 5, 5, 5}, 5, 8, true); },
     IntakeRefusal::Layout},
    {"pixels disagree with the description",
     [] { return describedPicture(1, 1, 3, {5, 5, 5}, 4, 8, true); }, IntakeRefusal::Layout},
    {"no pixels", [] { auto p = rgbaOnePixel(); p.pixels = BitmapRep(); return p; },
     IntakeRefusal::NoPixels},
};

TEST(AcceptanceCheck, RefusesAtTheFirstFailedTestAndReleasesThePixels)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.name);
        SourcePicture picture = c.make();
        IntakeRefusal why = IntakeRefusal::None;
        EXPECT_FALSE(checkImage(picture, &why));
        EXPECT_EQ(why, c.expected);
        EXPECT_TRUE(picture.pixels.isNull());
    }
}

TEST(AcceptanceCheck, RefusalAndAlertTexts)
{
    EXPECT_EQ(incompatibleImageTitle(), "Incompatible image");
    EXPECT_EQ(incompatibleImageMessage(), "The image chosen is not compatible with Gelcoat.  "
                                          "Please see Gelcoat's help for more information.");
    EXPECT_EQ(intakeAlertButton(), "OK");
    EXPECT_EQ(adjustSizeTitle(), "Adjust Stencil Size");
    EXPECT_EQ(adjustSizeObliteratedMessage(),
              "The margins entered would completely obliterate the existing stencil, so the "
              "size adjustment will not be performed.");
}

TEST(InvertStencil, FlipsAlphaOnlyAndTwiceRestoresTheBytes)
{
    BitmapRep source = makeRgba(3, 2, 8);
    const std::uint8_t bytes[6][4] = {{10, 20, 30, 40}, {0, 0, 0, 0},     {255, 255, 255, 255},
                                      {1, 2, 3, 254},   {200, 0, 7, 255}, {0, 0, 0, 128}};
    for (int i = 0; i < 6; ++i)
        std::memcpy(source.row(i / 3) + (i % 3) * 4, bytes[i], 4);

    const auto once = invertedStencil(source);
    ASSERT_TRUE(once);
    EXPECT_TRUE(isEngineFormat(*once));
    EXPECT_EQ(pixelAt(*once, 0, 0), (Pixel{10, 20, 30, 215}));   // colour above alpha is kept
    EXPECT_EQ(pixelAt(*once, 1, 0), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(pixelAt(*once, 2, 0), (Pixel{255, 255, 255, 0}));
    EXPECT_EQ(pixelAt(*once, 2, 1), (Pixel{0, 0, 0, 127}));

    const auto twice = invertedStencil(*once);
    ASSERT_TRUE(twice);
    EXPECT_TRUE(twice->samePixels(source));
}

TEST(InvertStencil, RefusesWhatIsNotFourBytesPerPixel)
{
    EXPECT_FALSE(invertedStencil(BitmapRep()));
    auto rgb = BitmapRep::makeLayout(2, 2, 3, 8, false, false);
    ASSERT_TRUE(rgb);
    EXPECT_FALSE(invertedStencil(*rgb));
}

// Source pixel (x, y) holds x, y, 7, 255 so every move is visible.
BitmapRep numberedStencil(int width, int height)
{
    BitmapRep source = makeRgba(width, height, 12);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = source.row(y) + x * 4;
            p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = 7, p[3] = 255;
        }
    return source;
}

TEST(AdjustStencil, CropsLeftAndGrowsTopAndRight)
{
    const BitmapRep source = numberedStencil(10, 10);
    QString refusal = "stale";
    const auto out = adjustedStencil(source, {2, 0, -3, 1}, &refusal);
    ASSERT_TRUE(out);
    EXPECT_TRUE(refusal.isEmpty());
    EXPECT_TRUE(isEngineFormat(*out));
    ASSERT_EQ(out->pixelsWide(), 8);
    ASSERT_EQ(out->pixelsHigh(), 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 8; ++x) {
            SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
            const bool inside = y >= 2 && x < 7;
            const Pixel expected = inside ? Pixel{std::uint8_t(x + 3), std::uint8_t(y - 2), 7, 255}
                                          : Pixel{0, 0, 0, 0};
            EXPECT_EQ(pixelAt(*out, x, y), expected);
        }
}

TEST(AdjustStencil, GrowsEverySideWithTransparency)
{
    const auto out = adjustedStencil(numberedStencil(2, 2), {1, 2, 3, 1});
    ASSERT_TRUE(out);
    ASSERT_EQ(out->pixelsWide(), 6);
    ASSERT_EQ(out->pixelsHigh(), 5);
    int opaque = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            opaque += pixelAt(*out, x, y)[3] == 255;
    EXPECT_EQ(opaque, 4);
    EXPECT_EQ(pixelAt(*out, 3, 1), (Pixel{0, 0, 7, 255}));
    EXPECT_EQ(pixelAt(*out, 4, 2), (Pixel{1, 1, 7, 255}));
}

TEST(AdjustStencil, RefusesMarginsThatLeaveNothing)
{
    const BitmapRep source = numberedStencil(10, 10);
    const StencilMargins cases[] = {
        {0, 0, -10, 0},            // w + left = 0
        {0, 0, 0, -10},            // w + right = 0
        {0, 0, -6, -4},            // each side keeps something, the width does not
        {-10, 0, 0, 0},            // h + top = 0
        {0, -11, 0, 0},            // h + bottom < 0
        {-5, -5, 0, 0},            // height 0
        {0, 0, INT_MIN, INT_MAX},  // would wrap around in 32 bits
        {INT_MAX, INT_MIN, 0, 0},
    };
    for (const StencilMargins& m : cases) {
        SCOPED_TRACE(testing::Message() << m.top << " " << m.bottom << " " << m.left << " " << m.right);
        QString refusal;
        EXPECT_FALSE(adjustedStencil(source, m, &refusal));
        EXPECT_EQ(refusal, adjustSizeObliteratedMessage());
    }
}

TEST(AdjustStencil, RefusesResultsBeyondTheBitmapLimit)
{
    const BitmapRep source = numberedStencil(1, 1);
    QString refusal;
    EXPECT_FALSE(adjustedStencil(source, {0, 0, 0, 1 << 28}, &refusal));
    EXPECT_EQ(refusal, "The stencil would be 268435457 × 1 pixels, which is too large.");
    EXPECT_FALSE(adjustedStencil(source, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, &refusal));
    EXPECT_EQ(refusal, adjustSizeTooLargeMessage(4294967295LL, 4294967295LL));
}

TEST(AdjustStencil, UnusableSourceGivesNothingWithoutAMessage)
{
    QString refusal = "stale";
    EXPECT_FALSE(adjustedStencil(BitmapRep(), {1, 1, 1, 1}, &refusal));
    EXPECT_TRUE(refusal.isEmpty());
}

} // namespace
} // namespace gelcoat
