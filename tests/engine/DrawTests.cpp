#include "engine/draw/Draw.h"
#include "tests/support/SimdTargets.h"
#include "tests/support/TestImages.h"
#include "engine/util/Parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// The resampler written out plainly, sample by sample in double and plain
// integer arithmetic: a Lanczos-3 filter widened by the reduction, weights
// rounded to 14 bits with the largest taking what rounding lost, each axis
// in turn (rows first), sums shifted down, kept within a byte and colour
// limited to alpha after each pass.
struct ReferenceAxis {
    std::vector<int> first;
    std::vector<std::vector<std::int64_t>> weights;
};

ReferenceAxis referenceAxis(int in, int out)
{
    auto sinc = [](double x) { return x == 0 ? 1.0 : std::sin(M_PI * x) / (M_PI * x); };
    auto lanczos = [&](double x) { return std::abs(x) >= 3 ? 0.0 : sinc(x) * sinc(x / 3); };
    const double scale = double(in) / out, widen = std::max(scale, 1.0), support = 3 * widen;
    const int taps = int(std::ceil(support)) * 2 + 1;
    ReferenceAxis axis;
    for (int i = 0; i < out; ++i) {
        const double centre = (i + 0.5) * scale;
        const int lo = std::max(0, int(std::floor(centre - support + 0.5)));
        const int hi = std::min(in, int(std::floor(centre + support + 0.5)));
        const int n = std::clamp(hi - lo, 1, taps);
        std::vector<double> w;
        double total = 0;
        for (int t = 0; t < n; ++t)
            total += w.emplace_back(lanczos((lo + t - centre + 0.5) / widen));
        std::vector<std::int64_t> fixed;
        std::int64_t sum = 0;
        for (int t = 0; t < n; ++t)
            sum += fixed.emplace_back(std::lround((total != 0 ? w[t] / total : t == 0) * 16384));
        *std::max_element(fixed.begin(), fixed.end()) += 16384 - sum;
        axis.first.push_back(std::min(lo, in - n));
        axis.weights.push_back(std::move(fixed));
    }
    return axis;
}

// One pass: `horizontal` filters along rows, otherwise down columns.
BitmapRep referencePass(const BitmapRep& src, int outW, int outH, bool horizontal)
{
    const ReferenceAxis axis = horizontal ? referenceAxis(src.pixelsWide(), outW)
                                          : referenceAxis(src.pixelsHigh(), outH);
    BitmapRep out = makeBuffer(outW, outH);
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            const int i = horizontal ? x : y;
            std::uint8_t* q = out.row(y) + 4 * x;
            for (int c = 0; c < 4; ++c) {
                std::int64_t sum = 8192;
                for (std::size_t t = 0; t < axis.weights[i].size(); ++t) {
                    const int at = axis.first[i] + int(t);
                    sum += axis.weights[i][t] * (horizontal ? src.row(y)[4 * at + c] : src.row(at)[4 * x + c]);
                }
                q[c] = std::uint8_t(std::clamp<std::int64_t>(sum >> 14, 0, 255));
            }
            for (int c = 0; c < 3; ++c)
                q[c] = std::min(q[c], q[3]);
        }
    return out;
}

BitmapRep referenceResample(const BitmapRep& src, int outW, int outH)
{
    BitmapRep rows = src.pixelsWide() == outW ? std::move(*src.clone())
                                              : referencePass(src, outW, src.pixelsHigh(), true);
    return outH == src.pixelsHigh() ? std::move(rows) : referencePass(rows, outW, outH, false);
}

} // namespace

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

TEST(CompositeSourceOver, EveryCompiledTargetMatchesTheFormulaAtAnyWidth)
{
    // Widths that leave every remainder after each target's vector of
    // pixels; the last source is not premultiplied, so its sums saturate.
    const std::vector<int> widths{1, 3, 4, 7, 8, 9, 13, 15, 16, 17, 31, 33, 37, 64, 67};
    int targets = 0;
    forEachSimdTarget([&](const SimdTarget& target) {
        ++targets;
        for (std::size_t k = 0; k <= widths.size(); ++k) {
            const bool raw = k == widths.size();
            const int w = raw ? 45 : widths[k];
            const BitmapRep src = raw ? makeBuffer(w, 9, [](int x, int y) { return 0x9DC0F130u * std::uint32_t(x + 45 * y + 1); })
                                      : randomShapes(w, 9, std::uint32_t(w));
            const BitmapRep below = randomShapes(w, 9, std::uint32_t(w + 100));
            BitmapRep out = makeBuffer(w, 9);
            ASSERT_TRUE(compositeSourceOver(src, below, out));
            for (int y = 0; y < 9; ++y)
                for (int i = 0; i < 4 * w; ++i) {
                    const int sa = src.row(y)[(i & ~3) + 3];
                    const double exact = src.row(y)[i] + below.row(y)[i] * (255.0 - sa) / 255.0;
                    ASSERT_EQ(out.row(y)[i], std::min(255L, std::lround(exact)))
                        << target.name << ", width " << w << ", byte " << i << " of row " << y;
                }
        }
    });
    EXPECT_GE(targets, 1);
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

TEST(Resample, EveryCompiledTargetGivesThePlainReferenceBytes)
{
    // Widths that leave every remainder after the vector steps of each
    // target, down and up, along each axis and both.
    std::vector<std::pair<BitmapRep, BitmapRep>> runs;
    for (int w : {1, 3, 4, 7, 8, 9, 13, 17, 23, 31, 37, 64, 67})
        for (auto [ow, oh] : {std::pair{w, 17}, {w * 2 + 1, 40}, {(w + 1) / 2, 23}, {w + 2, 40}})
            runs.emplace_back(randomShapes(w, 40, std::uint32_t(w + 7)), makeBuffer(ow, oh));
    std::vector<BitmapRep> expected;
    for (const auto& [src, dst] : runs)
        expected.push_back(referenceResample(src, dst.pixelsWide(), dst.pixelsHigh()));
    int targets = 0;
    forEachSimdTarget([&](const SimdTarget& target) {
        ++targets;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            auto& [src, dst] = runs[r];
            ASSERT_TRUE(resamplePixels(src, dst));
            for (int y = 0; y < dst.pixelsHigh(); ++y)
                for (int x = 0; x < dst.pixelsWide(); ++x)
                    ASSERT_EQ(pixel(dst, x, y), pixel(expected[r], x, y))
                        << target.name << ", " << src.pixelsWide() << "x" << src.pixelsHigh() << " to "
                        << dst.pixelsWide() << "x" << dst.pixelsHigh() << " at " << x << "," << y;
        }
    });
    EXPECT_GE(targets, 1);
}
