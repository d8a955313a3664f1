#include "engine/buffer/EngineLog.h"
#include "engine/colour/ColorConversions.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <array>

namespace gelcoat {

namespace {

OnceOnlyLog hsvConvertLog("Can't hsvConvert");

std::uint32_t hsvCodesFor(std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A)
{
    float r = 0.0f, g = 0.0f, b = 0.0f;
    if (A != 0) {
        const float a = float(A) / 255.0f;
        r = (float(R) / 255.0f) / a;
        g = (float(G) / 255.0f) / a;
        b = (float(B) / 255.0f) / a;
    }
    float h, s, v;
    RGBtoHSV(r, g, b, &h, &s, &v);
    return valueForRGB(h, s, v) | A;
}

// Stencils are flat-coloured, so a small direct-mapped memo of recent
// colours saves most conversions without changing any result.
struct HsvMemo {
    static constexpr std::size_t kSlots = 512;
    std::array<std::uint32_t, kSlots> key{};
    std::array<std::uint32_t, kSlots> code{};
    std::array<bool, kSlots> used{};

    std::uint32_t convert(std::uint32_t rgba)
    {
        const std::size_t slot = (rgba * 2654435761u) >> 23;
        if (used[slot] && key[slot] == rgba)
            return code[slot];
        const std::uint32_t c = hsvCodesFor(std::uint8_t(rgba >> 24), std::uint8_t(rgba >> 16),
                                            std::uint8_t(rgba >> 8), std::uint8_t(rgba));
        used[slot] = true;
        key[slot] = rgba;
        code[slot] = c;
        return c;
    }
};

} // namespace

StageStatus hsvConvertImage(BitmapRep& image)
{
    const int W = image.loopWidth();
    const int H = image.loopHeight();
    if (const StageStatus s = checkStageBuffers(hsvConvertLog, "image", image, {}, W, H);
        s != StageStatus::done)
        return s;
    parallelFor(H, [&](int y0, int y1) {
        HsvMemo memo;
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* p = image.row(y);
            for (int x = 0; x < W; ++x, p += 4)
                storePixelWord(p, memo.convert(loadPixelWord(p)));
        }
    }, 16);
    return StageStatus::done;
}

} // namespace gelcoat
