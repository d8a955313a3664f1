#include "shading/Gloss.h"

#include "buffer/EngineLog.h"
#include "colour/ColorConversions.h"
#include "shading/AquaTables.h"
#include "shading/GlossContext.h"
#include "stencil/StencilOps.h"
#include "util/Parallel.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace gelcoat {

namespace {

OnceOnlyLog aquifyLog("Can't aquify");

// outA = A × alpha truncated, kept within a byte (an opacity above 100 %
// saturates instead of wrapping).
inline std::uint32_t scaledAlpha(std::uint8_t A, float alpha)
{
    const float a = float(A) * alpha;
    if (!(a >= 1.0f))
        return 0;
    if (a >= 255.0f)
        return 255;
    return std::uint32_t(a);
}

// The four table taps for one pixel's distances, added in the fixed order.
inline Shading shade(const AquaTables& t, float left, float right, float top, float bottom,
                     float hueStart)
{
    constexpr int N = aquaArraySize;
    const float xpos = detail::horizontalPosition(left, right);
    const int ix = detail::tableIndex(xpos, N);
    const float fx = xpos - float(ix);
    const detail::ColumnSample c0 = detail::columnSample(top, bottom, ix);
    const detail::ColumnSample c1 = detail::columnSample(top, bottom, ix + 1);
    const float w0 = (1.0f - c0.fy) * (1.0f - fx);
    const float w1 = c0.fy * (1.0f - fx);
    const float w2 = (1.0f - c1.fy) * fx;
    const float w3 = c1.fy * fx;

    Shading s{hueStart, 0.0f, 0.0f};
    s.hue += t.hue[ix][c0.iy] * w0;
    s.saturation += t.saturation[ix][c0.iy] * w0;
    s.value += t.value[ix][c0.iy] * w0;
    s.hue += t.hue[ix][c0.iy + 1] * w1;
    s.saturation += t.saturation[ix][c0.iy + 1] * w1;
    s.value += t.value[ix][c0.iy + 1] * w1;
    s.hue += t.hue[ix + 1][c1.iy] * w2;
    s.saturation += t.saturation[ix + 1][c1.iy] * w2;
    s.value += t.value[ix + 1][c1.iy] * w2;
    s.hue += t.hue[ix + 1][c1.iy + 1] * w3;
    s.saturation += t.saturation[ix + 1][c1.iy + 1] * w3;
    s.value += t.value[ix + 1][c1.iy + 1] * w3;
    return s;
}

void aquifyRow(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
               std::uint8_t* out, int y, int W)
{
    const AquifyParameters& p = c.p;
    float dy = 0.0f;
    if (p.rainbow) {
        const float cy = c.halfH + p.yCenter;
        dy = (float(y) - cy) / c.halfH;
    }
    const bool vector = glossAvx2Available();
    for (int x = 0; x < W; ++x, img += 4, ana += 4, out += 4) {
        // Eight pixels at once where the vector path takes them all; the
        // scalar steps below handle the rest and give the same bytes.
        if (vector && (x & 7) == 0 && x + 8 <= W && aquifyEightAvx2(c, img, ana, out, x, dy)) {
            x += 7;
            img += 28;
            ana += 28;
            out += 28;
            continue;
        }
        const std::uint32_t D = loadPixelWord(ana);
        const std::uint8_t A = img[3];
        if (D == 0 && A == 0) {
            std::memset(out, 0, 4);
            continue;
        }
        const float oh = c.codeFraction[img[0]];
        const float os = c.codeFraction[img[1]];
        const float ov = c.codeFraction[img[2]];

        int L = 1, R = 100, T = 1, B = 100;
        if (D != 0) {
            L = ana[0];
            R = ana[1];
            T = ana[2];
            B = ana[3];
        }

        float hue = 0.0f;
        if (p.rainbow) {
            const float dx = c.dxForColumn[x];
            if (p.circular) {
                const float a = dx * c.xOffset;
                const float b = dy * c.yOffset;
                const float sq = a * a + b * b;
                hue = float(std::sqrt(double(sq)));
            } else {
                hue = dx * c.xOffset + dy * c.yOffset;
            }
        }

        const float left = float(L - 1) * c.mf, right = float(R - 1) * c.mf;
        const float top = float(T - 1) * c.mf, bottom = float(B - 1) * c.mf;
        Shading s;
        if (deepInside(left, right, top, bottom))
            s = {hue + c.centre.hue, c.centre.saturation, c.centre.value};
        else
            s = shade(c.tables, left, right, top, bottom, hue);
        hue = float(double(s.hue) - 0.59);
        float saturation = s.saturation;
        float value = s.value;

        if (os == 0.0f) {
            if (p.useOriginalSaturation)
                saturation = 0.0f;
            else
                hue = hue + p.hue;
        } else {
            hue = hue + (p.useOriginalHue ? oh : p.hue);
            if (p.useOriginalSaturation)
                saturation = saturation * os;
        }
        if (p.useOriginalBrightness)
            value = value * ov;

        std::uint32_t outA = scaledAlpha(A, p.alpha);
        value = float((double(value) - 0.85) * double(p.contrast) + 0.85 + double(p.brightness));
        saturation = saturation * p.saturation;
        if (D == 0) {
            outA = outA / 2;
            value = value * 0.5f;
        }
        hue = wrapHue(hue);
        saturation = detail::clampUnit(saturation);
        value = detail::clampUnit(value);
        value = value * (float(outA) / 255.0f);

        const std::uint32_t rgb = valueForHSV(hue, saturation, value);
        storePixelWord(out, rgb | outA);
    }
}

} // namespace

float wrapHue(float hue)
{
    if (!std::isfinite(hue))
        return 0.0f;
    if (hue < -kHueWrapLimit || hue >= kHueWrapLimit)
        hue = float(double(hue) - std::floor(double(hue)));
    while (hue < 0.0f)
        hue += 1.0f;
    while (hue >= 1.0f)
        hue -= 1.0f;
    return hue;
}

StageStatus aquifyImage(const BitmapRep& image, const BitmapRep& analysis, BitmapRep& stencil,
                        const AquifyParameters& params)
{
    const int W = image.loopWidth();
    const int H = image.loopHeight();
    const float halfW = float(W) * 0.5f;
    const float halfH = float(H) * 0.5f;
    const float m2 = params.margin * params.margin;
    const float mf = float(4.0 * (double(m2) / 10000.0) + 0.01);

    if (!aquaArraysInitialized())
        initializeAquaArrays();
    if (!aquaArraysInitialized())
        return StageStatus::tablesUnavailable;

    float xOffset = params.xOffset;
    float yOffset = params.yOffset;
    if (params.circular) {
        xOffset = xOffset * 2.0f;
        yOffset = yOffset * 2.0f;
    }
    if (const StageStatus s =
            checkStageBuffers(aquifyLog, "stencil", stencil, {&image, &analysis}, W, H);
        s != StageStatus::done)
        return s;

    const AquaTables& tables = aquaTables();
    std::vector<float> dxForColumn(static_cast<std::size_t>(W));
    const float cx = halfW + params.xCenter;
    for (int x = 0; x < W; ++x)
        dxForColumn[std::size_t(x)] = (float(x) - cx) / halfW;
    constexpr int mid = aquaSubarraySize[0] / 2;
    GlossContext ctx{params, tables, mf, halfW, halfH, xOffset, yOffset, {}, dxForColumn.data(),
                   {tables.hue[0][mid], tables.saturation[0][mid], tables.value[0][mid]}};
    for (int i = 0; i < 256; ++i)
        ctx.codeFraction[i] = float(double(i) / 255.0);
    parallelFor(H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            aquifyRow(ctx, image.row(y), analysis.row(y), stencil.row(y), y, W);
    }, 16);
    return StageStatus::done;
}

} // namespace gelcoat
