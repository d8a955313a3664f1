#include "engine/shadow/DropShadow.h"
#include "tests/support/SimdTargets.h"
#include "tests/support/TestImages.h"
#include "engine/util/Parallel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// Plain per-pixel accumulation, as the shadow is defined.
BitmapRep referenceShadow(const BitmapRep& img, float density, float sharpness, int xo, int yo)
{
    const int W = img.pixelsWide(), H = img.pixelsHigh();
    const int r = shadowRadiusForSharpness(sharpness);
    const float D = shadowDivisor(r, density);
    std::vector<std::uint32_t> acc(std::size_t(W) * H, 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const std::uint8_t a = img.row(y)[4 * x + 3];
            if (!a)
                continue;
            const long cx = x + xo, cy = y + yo;
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    if (dx * dx + dy * dy > r * r)
                        continue;
                    const long tx = cx + dx, ty = cy + dy;
                    if (tx >= 0 && tx < W && ty >= 0 && ty < H)
                        acc[std::size_t(ty) * W + std::size_t(tx)] += a;
                }
        }
    BitmapRep out = makeBuffer(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const float q = std::floor(float(acc[std::size_t(y) * W + x]) / D);
            out.row(y)[4 * x + 3] = std::uint8_t(std::min(q, 255.0f));
        }
    return out;
}

BitmapRep shadowOf(const BitmapRep& img, float density, float sharpness, int xo, int yo,
                   ShadowReport* report = nullptr)
{
    BitmapRep out = makeBuffer(img.pixelsWide(), img.pixelsHigh());
    shadowImage(img, out, density, sharpness, xo, yo, report);
    return out;
}

std::uint8_t alphaAt(const BitmapRep& rep, int x, int y)
{
    return rep.row(y)[4 * x + 3];
}

BitmapRep singlePixel(int w, int h, int x, int y)
{
    BitmapRep img = makeBuffer(w, h);
    setPixel(img, x, y, 0xFF);
    return img;
}

} // namespace

TEST(ShadowKernel, RadiusAndDivisor)
{
    EXPECT_EQ(shadowRadiusForSharpness(100), 1);
    EXPECT_EQ(shadowRadiusForSharpness(95), 2);
    EXPECT_EQ(shadowRadiusForSharpness(50), 11);
    EXPECT_EQ(shadowRadiusForSharpness(5), 20);
    EXPECT_EQ(shadowRadiusForSharpness(-1e30f), 20);
    EXPECT_EQ(shadowRadiusForSharpness(std::numeric_limits<float>::quiet_NaN()), 20);
    EXPECT_EQ(shadowRadiusForSharpness(1e30f), 0);
    EXPECT_EQ(shadowDivisor(1, 100), 9.0f);
    EXPECT_EQ(shadowDivisor(1, 50), 18.0f);
}

TEST(DropShadow, SinglePixelAtSharpness100)
{
    const BitmapRep out = shadowOf(singlePixel(9, 9, 4, 4), 100, 100, 0, 0);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool plus = (std::abs(x - 4) + std::abs(y - 4)) <= 1;
            EXPECT_EQ(alphaAt(out, x, y), plus ? 28 : 0) << x << "," << y;
            EXPECT_EQ(pixel(out, x, y) >> 8, 0u); // black
        }
}

TEST(DropShadow, OpaqueInteriorLevelsAndSaturation)
{
    const BitmapRep square = makeBuffer(20, 20, [](int, int) { return 0xFFu; });
    EXPECT_EQ(alphaAt(shadowOf(square, 100, 100, 0, 0), 10, 10), 141);
    EXPECT_EQ(alphaAt(shadowOf(square, 50, 100, 0, 0), 10, 10), 70);
    EXPECT_EQ(alphaAt(shadowOf(square, 400, 100, 0, 0), 10, 10), 255);
}

TEST(DropShadow, DivisorZeroGivesNoNaN)
{
    const BitmapRep img = singlePixel(9, 9, 4, 4);
    forEachSimdTarget([&](const SimdTarget& target) {
        const BitmapRep out = shadowOf(img, 1e12f, 100, 0, 0); // D = 0
        EXPECT_EQ(alphaAt(out, 4, 4), 255) << target.name;
        EXPECT_EQ(alphaAt(out, 0, 0), 0) << target.name;
        const BitmapRep nan = shadowOf(img, std::numeric_limits<float>::quiet_NaN(), 100, 0, 0);
        EXPECT_EQ(alphaAt(nan, 4, 4), 0) << target.name;
    });
}

TEST(DropShadow, EmptySourceGivesEmptyShadowAndNoWarning)
{
    ShadowReport report{true, 1, 2, 3, 4};
    const BitmapRep out = shadowOf(makeBuffer(30, 30), 100, 0, 0, 0, &report);
    EXPECT_FALSE(report.needsWarning);
    EXPECT_EQ(report.top + report.bottom + report.left + report.right, 0);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(pixel(out, x, y), 0u);
}

TEST(DropShadow, CornerPixelReportsClipping)
{
    ShadowReport report;
    shadowOf(singlePixel(50, 50, 0, 0), 50, 0, 0, 0, &report);
    EXPECT_TRUE(report.needsWarning);
    EXPECT_EQ(report.top, 20);
    EXPECT_EQ(report.left, 20);
    EXPECT_EQ(report.bottom, 0);
    EXPECT_EQ(report.right, 0);

    // Sharpness 0 is radius 20. The pixel at (45, 40) moved by (−5, +3)
    // centres its disc on (40, 43) in a 50 × 50 image: the disc reaches
    // column 60 and row 63, past the last column and row (49) by 11 and 14,
    // and stays inside on the left (40 − 20 ≥ 0) and top (43 − 20 ≥ 0).
    report = {};
    shadowOf(singlePixel(50, 50, 45, 40), 50, 0, -5, 3, &report);
    EXPECT_TRUE(report.needsWarning);
    EXPECT_EQ(report.top, 0);
    EXPECT_EQ(report.left, 0);
    EXPECT_EQ(report.bottom, 14);
    EXPECT_EQ(report.right, 11);
}

TEST(DropShadow, OffsetsMoveTheWholeShadow)
{
    const BitmapRep img = singlePixel(30, 30, 10, 10);
    const BitmapRep still = shadowOf(img, 100, 90, 0, 0);
    const BitmapRep moved = shadowOf(img, 100, 90, 5, -3);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const int sx = x - 5, sy = y + 3;
            const std::uint8_t expected =
                (sx >= 0 && sy >= 0 && sx < 30 && sy < 30) ? alphaAt(still, sx, sy) : 0;
            ASSERT_EQ(alphaAt(moved, x, y), expected) << x << "," << y;
        }
}

TEST(DropShadow, EveryCompiledTargetMatchesThePlainAccumulation)
{
    struct Case {
        int w, h;
        float density, sharpness;
        int xo, yo;
    };
    // Widths leave every kind of remainder after the vector steps.
    const Case cases[] = {
        {64, 48, 50, 85, 0, 5},   {33, 70, 100, 5, -7, 3},  {100, 9, 75, 50, 40, -2},
        {7, 100, 120, 100, 0, 0}, {45, 45, 50, 0, -60, 70}, {1, 1, 100, 5, 0, 0},
        {90, 3, 33, 62, 2, 1},    {23, 31, 0, 80, 1, 1},    {19, 12, 250, 90, 0, 0},
    };
    std::vector<BitmapRep> images, expected;
    std::uint32_t seed = 100;
    for (const Case& c : cases) {
        images.push_back(randomShapes(c.w, c.h, ++seed));
        expected.push_back(referenceShadow(images.back(), c.density, c.sharpness, c.xo, c.yo));
    }
    int targets = 0;
    forEachSimdTarget([&](const SimdTarget& target) {
        ++targets;
        for (std::size_t k = 0; k < std::size(cases); ++k) {
            const Case& c = cases[k];
            const BitmapRep out = shadowOf(images[k], c.density, c.sharpness, c.xo, c.yo);
            EXPECT_TRUE(out.samePixels(expected[k])) << target.name << ", " << c.w << "x" << c.h;
        }
    });
    EXPECT_GE(targets, 1);
}

TEST(DropShadow, SameBytesOnOneThreadOrMany)
{
    const BitmapRep img = randomShapes(211, 190, 5);
    setParallelThreadCount(1);
    const BitmapRep one = shadowOf(img, 50, 5, 3, -4);
    setParallelThreadCount(3);
    const BitmapRep many = shadowOf(img, 50, 5, 3, -4);
    setParallelThreadCount(0);
    EXPECT_TRUE(one.samePixels(many));
}

TEST(DropShadow, HugeOffsetsAreClippedNotOverflowed)
{
    ShadowReport report;
    const BitmapRep img = singlePixel(10, 10, 5, 5);
    const BitmapRep out = shadowOf(img, 50, 85, std::numeric_limits<std::int32_t>::max(),
                                   std::numeric_limits<std::int32_t>::min(), &report);
    EXPECT_TRUE(report.needsWarning);
    EXPECT_EQ(report.top, std::numeric_limits<std::int32_t>::max());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(alphaAt(out, x, y), 0);
    EXPECT_EQ(truncatedOffset(1e30f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncatedOffset(-2.9f), -2);
    EXPECT_EQ(truncatedOffset(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(DropShadow, ThreeSampleStencilIsLeftAloneWithOneLogLine)
{
    LogCapture log;
    auto bad = BitmapRep::makeLayout(4, 4, 3, 8, false, false);
    ShadowReport report{true, 5, 5, 5, 5};
    shadowImage(makeBuffer(4, 4), *bad, 50, 85, 0, 0, &report);
    shadowImage(makeBuffer(4, 4), *bad, 50, 85, 0, 0, &report);
    EXPECT_FALSE(report.needsWarning); // reset before the check
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Can't shadow -- [stencil samplesPerPixel] == 3, [stencil "
                              "bitsPerPixel] == 24, [stencil isPlanar] == NO");
}
