#include "engine/stencil/StencilOps.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// The analysis as plainly written: run counters, each run's distances
// written backwards when it closes.
BitmapRep referenceAnalysis(const BitmapRep& src)
{
    const int W = src.pixelsWide(), H = src.pixelsHigh();
    BitmapRep out = makeBuffer(W, H);
    for (int y = 0; y < H; ++y) {
        int n = 0;
        for (int x = 0; x <= W; ++x) {
            if (x < W && src.row(y)[4 * x + 3] >= 127) {
                ++n;
                continue;
            }
            for (int k = 1; k <= n; ++k) {
                std::uint8_t* p = out.row(y) + 4 * (x - k);
                p[0] = std::uint8_t(std::min(n - k + 1, 254));
                p[1] = std::uint8_t(std::min(k, 254));
                p[2] = p[3] = 255;
            }
            n = 0;
            if (x < W)
                std::fill(out.row(y) + 4 * x, out.row(y) + 4 * x + 4, 0);
        }
    }
    for (int x = 0; x < W; ++x) {
        int n = 0;
        for (int y = 0; y <= H; ++y) {
            if (y < H && pixel(out, x, y) != 0) {
                ++n;
                continue;
            }
            for (int k = 1; k <= n; ++k) {
                std::uint8_t* p = out.row(y - k) + 4 * x;
                p[2] = std::uint8_t(std::min(n - k + 1, 254));
                p[3] = std::uint8_t(std::min(k, 254));
            }
            n = 0;
        }
    }
    return out;
}

std::uint32_t distances(int l, int r, int t, int b)
{
    return (std::uint32_t(l) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(t) << 8) |
           std::uint32_t(b);
}

} // namespace

TEST(AnalyzeImage, OpaqueRectangleHasDistancesToEachSide)
{
    const BitmapRep src = makeBuffer(7, 5, [](int, int) { return 0xFFu; });
    BitmapRep out = makeBuffer(7, 5);
    analyzeImage(src, out);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(pixel(out, x, y), distances(x + 1, 7 - x, y + 1, 5 - y));
}

TEST(AnalyzeImage, DistancesCapAt254)
{
    const BitmapRep src = makeBuffer(300, 2, [](int, int) { return 0xFFu; });
    BitmapRep out = makeBuffer(300, 2);
    analyzeImage(src, out);
    EXPECT_EQ(out.row(0)[4 * 253], 254);
    EXPECT_EQ(out.row(0)[4 * 254], 254);
    EXPECT_EQ(out.row(0)[4 * 299 + 1], 1);
    EXPECT_EQ(out.row(0)[4 * 40 + 1], 254);
    EXPECT_EQ(out.row(0)[4 * 298 + 1], 2);
}

TEST(AnalyzeImage, ThresholdThinLinesAndSeparateRuns)
{
    // Row: inside, alpha 126 (outside), alpha 127 (inside), inside.
    const std::uint32_t alphas[4] = {255, 126, 127, 200};
    const BitmapRep src = makeBuffer(4, 3, [&](int x, int) { return alphas[x]; });
    BitmapRep out = makeBuffer(4, 3);
    analyzeImage(src, out);
    EXPECT_EQ(pixel(out, 1, 1), 0u);
    EXPECT_EQ(pixel(out, 0, 1), distances(1, 1, 2, 2)); // a one-pixel-wide column
    EXPECT_EQ(pixel(out, 2, 0), distances(1, 2, 1, 3));
    EXPECT_EQ(pixel(out, 3, 2), distances(2, 1, 3, 1));
}

TEST(AnalyzeImage, MatchesThePlainRunCounterOnRandomShapes)
{
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const int w = 20 + int(seed * 37 % 300), h = 10 + int(seed * 53 % 280);
        const BitmapRep src = randomShapes(w, h, seed);
        BitmapRep out = makeBuffer(w, h);
        std::fill(out.bitmapData(), out.bitmapData() + out.byteCount(), 0xAB); // overwritten
        analyzeImage(src, out);
        EXPECT_TRUE(out.samePixels(referenceAnalysis(src))) << seed;
    }
}

TEST(AnalyzeImage, RefusesAThreeSampleBufferOnce)
{
    LogCapture log;
    const BitmapRep src = makeBuffer(4, 4);
    auto bad = BitmapRep::makeLayout(4, 4, 3, 8, false, false);
    ASSERT_TRUE(bad);
    std::fill(bad->bitmapData(), bad->bitmapData() + bad->byteCount(), 9);
    analyzeImage(src, *bad);
    analyzeImage(src, *bad);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Can't analyze -- [stencil samplesPerPixel] == 3, [stencil "
                              "bitsPerPixel] == 24, [stencil isPlanar] == NO");
    EXPECT_EQ(bad->bitmapData()[0], 9);
}

TEST(HsvConvertImage, TransparentRedAndHalfGrey)
{
    BitmapRep img = makeBuffer(3, 1);
    setPixel(img, 0, 0, 0x00000000u);
    setPixel(img, 1, 0, 0xFF0000FFu);
    setPixel(img, 2, 0, 0x80808080u);
    hsvConvertImage(img);
    EXPECT_EQ(pixel(img, 0, 0), 0x00000000u);
    EXPECT_EQ(pixel(img, 1, 0), 0x00FFFFFFu);
    EXPECT_EQ(pixel(img, 2, 0), 0x0000FF80u); // value 1.0 once un-premultiplied
}

TEST(HsvConvertImage, ColourAboveAlphaClampsAndAlphaIsKept)
{
    BitmapRep img = makeBuffer(1, 1);
    setPixel(img, 0, 0, 0xC8000064u); // red 200 over alpha 100
    hsvConvertImage(img);
    EXPECT_EQ(pixel(img, 0, 0), 0x00FFFF64u);
}

TEST(HsvConvertImage, SameResultWithAndWithoutTheColourMemo)
{
    // Many colours force memo collisions; each pixel must still convert alone.
    BitmapRep img = makeBuffer(300, 200, [](int x, int y) {
        const std::uint32_t a = std::uint32_t((x * 7 + y) % 256);
        const std::uint32_t r = a ? std::uint32_t(x * 13 % (a + 1)) : 0;
        const std::uint32_t g = a ? std::uint32_t(y * 29 % (a + 1)) : 0;
        return (r << 24) | (g << 16) | (std::uint32_t((x + y) % (a + 1)) << 8) | a;
    });
    BitmapRep converted = std::move(*img.clone());
    hsvConvertImage(converted);
    BitmapRep single = makeBuffer(1, 1);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 300; x += 3) {
            setPixel(single, 0, 0, pixel(img, x, y));
            hsvConvertImage(single);
            ASSERT_EQ(pixel(converted, x, y), pixel(single, 0, 0)) << x << "," << y;
        }
}

TEST(HsvConvertImage, LogsOnceForAPlanarBuffer)
{
    LogCapture log;
    auto planar = BitmapRep::makeLayout(2, 2, 4, 8, true, true);
    ASSERT_TRUE(planar);
    hsvConvertImage(*planar);
    hsvConvertImage(*planar);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Can't hsvConvert -- [image samplesPerPixel] == 4, [image "
                              "bitsPerPixel] == 8, [image isPlanar] == YES");
}
