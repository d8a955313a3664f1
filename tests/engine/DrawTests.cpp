#include "engine/draw/Draw.h"
#include "tests/support/SimdTargets.h"
#include "tests/support/TestImages.h"
#include "engine/util/Parallel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace gelcoat;
using namespace gelcoat::test;

TEST(CompositeSourceOver, EveryByteRoundsToNearest)
{
    // All (source alpha, destination byte) pairs, with the source colour at 0.
    BitmapRep src = makeBuffer(256, 256, [](int x, int) { return std::uint32_t(x); });
    BitmapRep dst = makeBuffer(256, 256, [](int, int y) {
        const std::uint32_t v = std::uint32_t(y);
        return (v << 24) | (v << 16) | (v << 8) | v;
    });
    ASSERT_TRUE(compositeSourceOver(src, dst));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const double exact = double(y) * (255 - x) / 255.0;
            const std::uint32_t expected = std::uint32_t(std::lround(exact));
            ASSERT_EQ(dst.row(y)[4 * x], expected) << x << "," << y;
            ASSERT_EQ(dst.row(y)[4 * x + 3], std::uint32_t(x) + expected) << x << "," << y;
        }
}

TEST(CompositeSourceOver, RefusesMismatchedSizes)
{
    BitmapRep a = makeBuffer(3, 3), b = makeBuffer(4, 3);
    EXPECT_FALSE(compositeSourceOver(a, b));
    EXPECT_FALSE(copyPixels(a, b));
}

TEST(Resample, SameSizeIsTheIdentity)
{
    const BitmapRep src = randomShapes(123, 77, 9);
    BitmapRep dst = makeBuffer(123, 77);
    ASSERT_TRUE(resamplePixels(src, dst));
    EXPECT_TRUE(src.samePixels(dst));
}

TEST(Resample, FlatAreasStayFlatAndColourNeverExceedsAlpha)
{
    const BitmapRep src = randomShapes(200, 150, 4);
    for (auto [w, h] : {std::pair{100, 75}, {51, 38}, {400, 300}, {37, 150}, {200, 11}, {1, 1}}) {
        BitmapRep dst = makeBuffer(w, h);
        ASSERT_TRUE(resamplePixels(src, dst));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = dst.row(y) + 4 * x;
                ASSERT_LE(p[0], p[3]);
                ASSERT_LE(p[1], p[3]);
                ASSERT_LE(p[2], p[3]);
            }
    }
    const BitmapRep flat = makeBuffer(90, 60, [](int, int) { return 0x40608080u; });
    BitmapRep down = makeBuffer(31, 17);
    resamplePixels(flat, down);
    BitmapRep up = makeBuffer(250, 130);
    resamplePixels(flat, up);
    for (const BitmapRep* r : {&down, &up})
        for (int y = 0; y < r->pixelsHigh(); ++y)
            for (int x = 0; x < r->pixelsWide(); ++x)
                ASSERT_EQ(pixel(*r, x, y), 0x40608080u);
}

TEST(Resample, HalvingAveragesNeighbours)
{
    // A vertical stripe pattern of period 2 halves to its mean colour.
    const BitmapRep stripes =
        makeBuffer(64, 64, [](int x, int) { return x % 2 ? 0xC8C8C8C8u : 0x32323232u; });
    BitmapRep half = makeBuffer(32, 32);
    resamplePixels(stripes, half);
    for (int x = 4; x < 28; ++x)
        EXPECT_NEAR(half.row(16)[4 * x + 3], 125, 2) << x;
}

TEST(Resample, SameBytesOnOneThreadOrMany)
{
    const BitmapRep src = randomShapes(300, 200, 8);
    BitmapRep a = makeBuffer(151, 99), b = makeBuffer(151, 99);
    setParallelThreadCount(1);
    resamplePixels(src, a);
    setParallelThreadCount(4);
    resamplePixels(src, b);
    setParallelThreadCount(0);
    EXPECT_TRUE(a.samePixels(b));
}

TEST(DrawRotated, QuarterTurnCounterClockwise)
{
    // 2 × 1: left pixel A, right pixel B. Turned counter-clockwise, B is on top.
    BitmapRep src = makeBuffer(2, 1);
    setPixel(src, 0, 0, 0x0A0A0A0Au);
    setPixel(src, 1, 0, 0x0B0B0B0Bu);
    BitmapRep dst = makeBuffer(1, 2);
    ASSERT_TRUE(drawRotated(src, dst, 90));
    EXPECT_EQ(pixel(dst, 0, 0), 0x0B0B0B0Bu);
    EXPECT_EQ(pixel(dst, 0, 1), 0x0A0A0A0Au);
    BitmapRep same = makeBuffer(1, 2);
    ASSERT_TRUE(drawRotated(src, same, 45)); // draws nothing
    EXPECT_EQ(pixel(same, 0, 0), 0u);
}

TEST(CompositeSourceOver, PremultipliedPixelsMatchTheFormulaAtAnyWidth)
{
    for (int w : {1, 3, 4, 13, 37}) {
        const BitmapRep src = randomShapes(w, 9, std::uint32_t(w));
        const BitmapRep below = randomShapes(w, 9, std::uint32_t(w + 100));
        BitmapRep out = makeBuffer(w, 9);
        ASSERT_TRUE(compositeSourceOver(src, below, out));
        for (int y = 0; y < 9; ++y)
            for (int i = 0; i < 4 * w; ++i) {
                const int sa = src.row(y)[(i & ~3) + 3];
                const double exact = src.row(y)[i] + below.row(y)[i] * (255.0 - sa) / 255.0;
                ASSERT_EQ(out.row(y)[i], std::min(255L, std::lround(exact))) << w << " " << i;
            }
    }
}

TEST(Resample, TwoPixelsHalveToTheirRoundedMean)
{
    // Two inputs to one output: the filter centre falls midway, both taps
    // sit 0.25 filter widths from it, so the Lanczos weights are equal and
    // normalise to 8192 each (of 16384). With the rounding half added, each
    // byte is (8192 a + 8192 b + 8192) >> 14 = floor((a + b + 1) / 2).
    const BitmapRep row = makeBuffer(2, 1, [](int x, int) { return x ? 0x3200FFFFu : 0xC86433FFu; });
    BitmapRep one = makeBuffer(1, 1);
    ASSERT_TRUE(resamplePixels(row, one));
    EXPECT_EQ(pixel(one, 0, 0), 0x7D3299FFu); // (200+50+1)/2, (100+0+1)/2, (51+255+1)/2
    // Both axes: the same rule along the rows and then down the column.
    const BitmapRep square = makeBuffer(2, 2, [](int x, int y) {
        return x == 0 && y == 0 ? 0xFF3301FFu : y == 0 ? 0x333301FFu : 0x000000FFu;
    });
    ASSERT_TRUE(resamplePixels(square, one));
    // Rows first: (255+51+1)/2 = 153, (51+51+1)/2 = 51, (1+1+1)/2 = 1 and
    // 0 below; then down: (153+0+1)/2 = 77, (51+1)/2 = 26, (1+1)/2 = 1.
    EXPECT_EQ(pixel(one, 0, 0), 0x4D1A01FFu);
}

TEST(Resample, EveryVectorTargetGivesTheScalarBytes)
{
    // Widths that leave every remainder after the vector steps of each
    // target, down and up, along each axis and both.
    std::vector<std::pair<BitmapRep, BitmapRep>> runs;
    for (int w : {1, 3, 4, 7, 8, 9, 13, 17, 23, 31, 37, 64, 67})
        for (auto [ow, oh] : {std::pair{w, 17}, {w * 2 + 1, 40}, {(w + 1) / 2, 23}}) {
            runs.emplace_back(randomShapes(w, 40, std::uint32_t(w + 7)), makeBuffer(ow, oh));
        }
    std::vector<std::vector<BitmapRep>> results;
    forEachSimdTarget([&](const SimdTarget&) {
        results.emplace_back();
        for (auto& [src, dst] : runs) {
            ASSERT_TRUE(resamplePixels(src, dst));
            results.back().push_back(std::move(*dst.clone()));
        }
    });
    const std::vector<SimdTarget> targets = simdTargets();
    ASSERT_GE(targets.size(), 2u);
    ASSERT_TRUE(isScalarTarget(targets.back().bits));
    for (std::size_t t = 0; t + 1 < targets.size(); ++t)
        for (std::size_t r = 0; r < runs.size(); ++r)
            ASSERT_TRUE(results[t][r].samePixels(results.back()[r]))
                << targets[t].name << " differs from " << targets.back().name << " in run " << r;
}
