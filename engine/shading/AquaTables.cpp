#include "engine/shading/AquaTables.h"

#include "engine/buffer/EngineLog.h"
#include "engine/colour/ColorConversions.h"

#include <cstring>
#include <mutex>

namespace gelcoat {

namespace {

constexpr int N = aquaArraySize;
constexpr int kSide = 2 * N + 1;

AquaTables tables;
bool initialized = false;
std::mutex initMutex;
BaseImageProvider baseProvider;
OnceOnlyLog sampleLog("Can't sample base.tiff");

// The picture's 21 × 21 region at its lower-left corner, row 0 at the top;
// pixels the picture does not cover stay transparent.
std::optional<BitmapRep> captureBaseRegion(const BitmapRep& base)
{
    if (!isEngineFormat(base))
        return std::nullopt;
    auto region = BitmapRep::make(kSide, kSide);
    if (!region)
        return std::nullopt;
    const int firstRow = base.pixelsHigh() - kSide;
    const int columns = base.pixelsWide() < kSide ? base.pixelsWide() : kSide;
    for (int j = 0; j < kSide; ++j) {
        const int y = firstRow + j;
        if (y < 0 || y >= base.pixelsHigh())
            continue;
        std::memcpy(region->row(j), base.row(y), std::size_t(columns) * 4);
    }
    return region;
}

} // namespace

void setBaseImageProvider(BaseImageProvider provider)
{
    std::lock_guard lock(initMutex);
    baseProvider = std::move(provider);
}

bool aquaArraysInitialized()
{
    std::lock_guard lock(initMutex);
    return initialized;
}

const AquaTables& aquaTables()
{
    return tables;
}

void resetAquaArraysForTesting()
{
    std::lock_guard lock(initMutex);
    initialized = false;
}

void initializeAquaArrays()
{
    std::lock_guard lock(initMutex);
    std::optional<BitmapRep> base;
    if (baseProvider)
        base = baseProvider();
    std::optional<BitmapRep> baseBits;
    if (base)
        baseBits = captureBaseRegion(*base);
    if (!baseBits || !isEngineFormat(*baseBits)) {
        sampleLog.formatFailure("baseBits", base ? &*base : nullptr);
        return;
    }
    for (int i = 0; i <= N; ++i) {
        const int sub = aquaSubarraySize[i];
        for (int j = 0; j <= 2 * N; ++j) {
            float h = 0.0f, s = 0.0f, v = 0.0f;
            if (j <= sub) {
                const std::uint8_t* p = baseBits->row(j + (2 * N - sub) / 2) + 4 * (i + N);
                HSVforValue(loadPixelWord(p), &h, &s, &v);
            }
            tables.hue[i][j] = h;
            tables.saturation[i][j] = s;
            tables.value[i][j] = v;
        }
    }
    initialized = true;
}

void addValuesForDistances(float left, float right, float top, float bottom, float* hue,
                           float* saturation, float* value, float hueAdjustment)
{
    const float xpos = detail::horizontalPosition(left, right);
    const int ix = detail::tableIndex(xpos, N);
    const float fx = xpos - float(ix);
    const detail::ColumnSample c0 = detail::columnSample(top, bottom, ix);
    const detail::ColumnSample c1 = detail::columnSample(top, bottom, ix + 1);

    const struct {
        int i, j;
        float w;
    } taps[4] = {
        {ix, c0.iy, (1.0f - c0.fy) * (1.0f - fx)},
        {ix, c0.iy + 1, c0.fy * (1.0f - fx)},
        {ix + 1, c1.iy, (1.0f - c1.fy) * fx},
        {ix + 1, c1.iy + 1, c1.fy * fx},
    };
    for (const auto& t : taps) {
        *hue += (tables.hue[t.i][t.j] + hueAdjustment) * t.w;
        *saturation += tables.saturation[t.i][t.j] * t.w;
        *value += tables.value[t.i][t.j] * t.w;
    }
}

} // namespace gelcoat
