#include "engine/shading/Gloss.h"

#include "engine/buffer/EngineLog.h"
#include "engine/colour/ColorConversions.h"
#include "engine/shading/AquaTables.h"
#include "engine/shading/GlossContext.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace gelcoat {

namespace {

OnceOnlyLog aquifyLog("Can't aquify");

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
