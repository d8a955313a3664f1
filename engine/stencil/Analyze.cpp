#include "engine/buffer/EngineLog.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace gelcoat {

namespace {

OnceOnlyLog analyzeLog("Can't analyze");

inline std::uint8_t capped(std::uint32_t n)
{
    return std::uint8_t(std::min<std::uint32_t>(n, kMaxEdgeDistance));
}

// Left and right distances along one row; bytes 2 and 3 of inside pixels
// get 255 as placeholders, outside pixels all zeros.
void analyzeRow(const std::uint8_t* src, std::uint8_t* dst, int W)
{
    std::uint32_t run = 0;
    for (int x = 0; x < W; ++x) {
        std::uint8_t* d = dst + 4 * x;
        if (src[4 * x + 3] >= kInsideAlpha) {
            ++run;
            d[0] = capped(run);
            d[2] = 255;
            d[3] = 255;
        } else {
            run = 0;
            std::memset(d, 0, 4);
        }
    }
    run = 0;
    for (int x = W - 1; x >= 0; --x) {
        std::uint8_t* d = dst + 4 * x;
        if (d[3] != 0) {
            ++run;
            d[1] = capped(run);
        } else {
            run = 0;
        }
    }
}

// Top and bottom distances for the columns [x0, x1), walking whole rows so
// that memory is read in order. Inside pixels are those with a non-zero word.
void analyzeColumns(BitmapRep& stencil, int H, int x0, int x1)
{
    const int n = x1 - x0;
    std::unique_ptr<std::uint32_t[]> run(new std::uint32_t[std::size_t(n)]());
    for (int y = 0; y < H; ++y) {
        std::uint8_t* p = stencil.row(y) + 4 * x0;
        for (int i = 0; i < n; ++i, p += 4) {
            if (p[0] | p[1] | p[2] | p[3]) {
                ++run[i];
                p[2] = capped(run[i]);
            } else {
                run[i] = 0;
            }
        }
    }
    std::fill(run.get(), run.get() + n, 0u);
    for (int y = H - 1; y >= 0; --y) {
        std::uint8_t* p = stencil.row(y) + 4 * x0;
        for (int i = 0; i < n; ++i, p += 4) {
            if (p[2] != 0) {
                ++run[i];
                p[3] = capped(run[i]);
            } else {
                run[i] = 0;
            }
        }
    }
}

} // namespace

StageStatus analyzeImage(const BitmapRep& source, BitmapRep& stencil)
{
    const int W = source.loopWidth();
    const int H = source.loopHeight();
    if (const StageStatus s = checkStageBuffers(analyzeLog, "stencil", stencil, {&source}, W, H);
        s != StageStatus::done)
        return s;
    parallelFor(H, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            analyzeRow(source.row(y), stencil.row(y), W);
    }, 32);
    parallelFor(W, [&](int x0, int x1) { analyzeColumns(stencil, H, x0, x1); }, 64);
    return StageStatus::done;
}

} // namespace gelcoat
