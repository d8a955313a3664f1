#include "engine/shadow/DropShadow.h"

#include "engine/buffer/EngineLog.h"
#include "engine/shadow/ShadowKernels.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace gelcoat {

namespace {

OnceOnlyLog shadowLog("Can't shadow");

using i64 = std::int64_t;

std::int32_t saturate32(i64 v)
{
    return std::int32_t(std::clamp<i64>(v, std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max()));
}

// Half-widths of the disk's rows: halfWidth[|dy|] is the largest dx with
// dx² + dy² ≤ r².
std::vector<int> diskHalfWidths(int r)
{
    std::vector<int> w(std::size_t(r) + 1);
    for (int dy = 0; dy <= r; ++dy) {
        int dx = 0;
        while ((dx + 1) * (dx + 1) + dy * dy <= r * r)
            ++dx;
        w[std::size_t(dy)] = dx;
    }
    return w;
}

// Prefix sums of one source row's alpha: P[i] = sum of alpha over x < i.
// Sums wrap modulo 2^32; differences of them are exact because no kernel
// span holds more than 255 × (2r + 1) alpha.
void alphaPrefix(const std::uint8_t* row, int W, std::uint32_t* P, bool& any)
{
    std::uint32_t sum = 0;
    P[0] = 0;
    for (int x = 0; x < W; ++x) {
        sum += row[4 * x + 3];
        P[x + 1] = sum;
    }
    any = sum != 0;
}

struct ShadowGeometry {
    int W, H, r;
    i64 xOffset, yOffset;
    const std::vector<int>& halfWidth;
};

// Adds, for every target column, the alpha of one source row under the
// kernel row of half-width w: P(tx − xo + w + 1) − P(tx − xo − w), indices
// clamped to the row.
void addSpan(const std::uint32_t* P, int W, i64 xo, int w, std::uint32_t* acc)
{
    auto at = [&](i64 i) { return P[std::clamp<i64>(i, 0, W)]; };
    // Columns whose whole span lies inside the row take the fast loop.
    const i64 fastBegin = std::clamp<i64>(xo + w, 0, W);
    const i64 fastEnd = std::clamp<i64>(i64(W) + xo - w, fastBegin, W);
    for (i64 tx = 0; tx < fastBegin; ++tx)
        acc[tx] += at(tx - xo + w + 1) - at(tx - xo - w);
    addDifferences(acc + fastBegin, P + (fastBegin - xo + w + 1), P + (fastBegin - xo - w),
                   fastEnd - fastBegin);
    for (i64 tx = fastEnd; tx < W; ++tx)
        acc[tx] += at(tx - xo + w + 1) - at(tx - xo - w);
}

// Target rows [ty0, ty1): each sums the kernel rows of the source rows that
// reach it, kept as prefix sums in a ring of 2r + 1 rows.
void shadowRows(const BitmapRep& image, BitmapRep& stencil, const ShadowGeometry& g, float D,
                int ty0, int ty1)
{
    const int W = g.W;
    const int ring = std::min(2 * g.r + 1, g.H); // source rows a target row can reach
    const std::size_t stride = std::size_t(W) + 1;
    std::unique_ptr<std::uint32_t[]> prefix(new std::uint32_t[stride * std::size_t(ring)]);
    std::unique_ptr<i64[]> ringRow(new i64[std::size_t(ring)]);
    std::unique_ptr<bool[]> ringAny(new bool[std::size_t(ring)]);
    std::fill(ringRow.get(), ringRow.get() + ring, i64(-1));
    std::unique_ptr<std::uint32_t[]> acc(new std::uint32_t[std::size_t(W)]);

    for (int ty = ty0; ty < ty1; ++ty) {
        std::fill(acc.get(), acc.get() + W, 0u);
        for (int dy = -g.r; dy <= g.r; ++dy) {
            const i64 sy = i64(ty) - g.yOffset - dy;
            if (sy < 0 || sy >= g.H)
                continue;
            const std::size_t slot = std::size_t(sy % ring);
            std::uint32_t* P = prefix.get() + slot * stride;
            if (ringRow[slot] != sy) {
                alphaPrefix(image.row(int(sy)), W, P, ringAny[slot]);
                ringRow[slot] = sy;
            }
            if (ringAny[slot])
                addSpan(P, W, g.xOffset, g.halfWidth[std::size_t(std::abs(dy))], acc.get());
        }
        writeShadowRow(acc.get(), stencil.row(ty), W, D);
    }
}

// The clipping report from each row's leftmost and rightmost covered pixel.
void reportClipping(const BitmapRep& image, const ShadowGeometry& g, ShadowReport& report)
{
    i64 top = 0, bottom = 0, left = 0, right = 0;
    bool warn = false;
    const i64 r = g.r;
    for (int y = 0; y < g.H; ++y) {
        const std::uint8_t* row = image.row(y);
        int first = -1, last = -1;
        for (int x = 0; x < g.W; ++x)
            if (row[4 * x + 3] != 0) {
                if (first < 0)
                    first = x;
                last = x;
            }
        if (first < 0)
            continue;
        const i64 cy = y + g.yOffset;
        if (cy - r < 0) {
            warn = true;
            top = std::max(top, r - cy);
        }
        if (cy + r >= g.H) {
            warn = true;
            bottom = std::max(bottom, cy + r - g.H + 1);
        }
        if (cy + r >= 0 && cy - r <= g.H - 1) {
            const i64 cxFirst = first + g.xOffset;
            const i64 cxLast = last + g.xOffset;
            if (cxFirst - r < 0) {
                warn = true;
                left = std::max(left, r - cxFirst);
            }
            if (cxLast + r >= g.W) {
                warn = true;
                right = std::max(right, cxLast + r - g.W + 1);
            }
        }
    }
    report.needsWarning = warn;
    report.top = saturate32(top);
    report.bottom = saturate32(bottom);
    report.left = saturate32(left);
    report.right = saturate32(right);
}

} // namespace

int shadowRadiusForSharpness(float sharpness)
{
    const double v = std::floor((100.0 - double(sharpness)) / 5.0) + 1.0;
    if (!(v < double(kMaxShadowRadius)))
        return kMaxShadowRadius; // also NaN
    if (v < 0.0)
        return 0;
    return int(v);
}

float shadowDivisor(int radius, float density)
{
    const float n = float((2 * radius + 1) * (2 * radius + 1));
    return float(std::floor(double(n) / (double(density) / 100.0)));
}

std::int32_t truncatedOffset(float offset)
{
    if (!(offset == offset))
        return 0;
    const double t = std::trunc(double(offset));
    return saturate32(i64(std::clamp(t, -2147483648.0, 2147483647.0)));
}

StageStatus shadowImage(const BitmapRep& image, BitmapRep& stencil, float density,
                        float sharpness, std::int32_t xOffset, std::int32_t yOffset,
                        ShadowReport* report)
{
    const int W = image.loopWidth();
    const int H = image.loopHeight();
    const int r = shadowRadiusForSharpness(sharpness);
    const float D = shadowDivisor(r, density);
    if (report)
        *report = ShadowReport{};
    if (const StageStatus s = checkStageBuffers(shadowLog, "stencil", stencil, {&image}, W, H);
        s != StageStatus::done)
        return s;

    const std::vector<int> halfWidth = diskHalfWidths(r);
    const ShadowGeometry g{W, H, r, xOffset, yOffset, halfWidth};
    if (report)
        reportClipping(image, g, *report);
    parallelFor(H, [&](int y0, int y1) { shadowRows(image, stencil, g, D, y0, y1); }, 32);
    return StageStatus::done;
}

} // namespace gelcoat
