#include "tests/support/TestImages.h"

#include "engine/buffer/EngineLog.h"
#include "engine/colour/ColorConversions.h"
#include "engine/shading/AquaTables.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gelcoat::test {

BitmapRep makeBuffer(int width, int height)
{
    auto rep = BitmapRep::make(width, height);
    if (!rep)
        throw std::runtime_error("test buffer allocation failed");
    return std::move(*rep);
}

BitmapRep makeBuffer(int width, int height, const std::function<std::uint32_t(int, int)>& f)
{
    BitmapRep rep = makeBuffer(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(rep, x, y, f(x, y));
    return rep;
}

std::uint32_t pixel(const BitmapRep& rep, int x, int y)
{
    return loadPixelWord(rep.row(y) + 4 * x);
}

void setPixel(BitmapRep& rep, int x, int y, std::uint32_t rgba)
{
    storePixelWord(rep.row(y) + 4 * x, rgba);
}

BitmapRep randomShapes(int width, int height, std::uint32_t seed, bool opaqueEdges)
{
    BitmapRep rep = makeBuffer(width, height);
    Lcg rng{seed};
    const int shapes = 3 + rng.below(5);
    for (int s = 0; s < shapes; ++s) {
        const float cx = float(rng.below(width));
        const float cy = float(rng.below(height));
        const float radius = 2.0f + float(rng.below(std::max(3, std::min(width, height) / 3)));
        const bool disc = rng.below(2) == 0;
        const std::uint32_t r = std::uint32_t(rng.below(256));
        const std::uint32_t g = std::uint32_t(rng.below(256));
        const std::uint32_t b = std::uint32_t(rng.below(256));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                float d = disc ? std::hypot(x - cx, y - cy) - radius
                               : std::max(std::abs(x - cx), std::abs(y - cy)) - radius;
                float cover = std::clamp(0.5f - d, 0.0f, 1.0f);
                if (opaqueEdges)
                    cover = cover > 0.0f ? 1.0f : 0.0f;
                if (cover <= 0.0f)
                    continue;
                const std::uint32_t a = std::uint32_t(std::lround(cover * 255.0f));
                auto pm = [a](std::uint32_t c) { return (c * a + 127) / 255; };
                setPixel(rep, x, y, (pm(r) << 24) | (pm(g) << 16) | (pm(b) << 8) | a);
            }
    }
    return rep;
}

BitmapRep coverRamp(int width, int height)
{
    BitmapRep rep = makeBuffer(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int a = y * 255 / std::max(1, height - 1), c = x % 256 * a / 255;
            std::uint8_t* p = rep.row(y) + 4 * x;
            p[0] = std::uint8_t(c), p[1] = std::uint8_t(a - c), p[2] = std::uint8_t(c / 2);
            p[3] = std::uint8_t(a);
        }
    return rep;
}

BitmapRep syntheticBase()
{
    return makeBuffer(21, 21, [](int x, int y) {
        const float value = 0.95f - 0.03f * float(y) - 0.004f * float(x);
        const float saturation = 0.2f + 0.03f * float(y) + 0.002f * float(x);
        return valueForHSV(0.59f + 0.001f * float(x % 5), saturation, value) | 0xFFu;
    });
}

void useSyntheticBase()
{
    setBaseImageProvider([] { return std::optional<BitmapRep>(syntheticBase()); });
    resetAquaArraysForTesting();
    initializeAquaArrays();
}

namespace {
std::vector<std::string> captured;
EngineLogSink previousSink = nullptr;
void captureSink(const std::string& line)
{
    captured.push_back(line);
}
} // namespace

LogCapture::LogCapture()
{
    captured.clear();
    resetEngineLogFlagsForTesting();
    previousSink = setEngineLogSink(&captureSink);
}

LogCapture::~LogCapture()
{
    setEngineLogSink(previousSink);
}

const std::vector<std::string>& LogCapture::lines() const
{
    return captured;
}

} // namespace gelcoat::test
