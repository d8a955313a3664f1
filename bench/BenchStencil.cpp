#include "bench/BenchStencil.h"

#include "document/image/BitmapImage.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace gelcoat::bench {

namespace {

struct Shape {
    float cx, cy, rx, ry; // fractions of the side
    bool ellipse;
    std::uint8_t r, g, b;
};

// Rounded rectangles and ellipses; signed distance in pixels, negative inside.
float distance(const Shape& s, float x, float y, float side)
{
    const float dx = x - s.cx * side, dy = y - s.cy * side;
    const float rx = s.rx * side, ry = s.ry * side;
    if (s.ellipse) {
        const float k = std::hypot(dx / rx, dy / ry);
        return (k - 1.0f) * std::min(rx, ry);
    }
    const float corner = 0.25f * std::min(rx, ry);
    const float qx = std::abs(dx) - (rx - corner), qy = std::abs(dy) - (ry - corner);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - corner;
}

} // namespace

BitmapRep makeBenchStencil(int side)
{
    static const Shape shapes[] = {
        {0.50f, 0.52f, 0.44f, 0.40f, true, 60, 140, 220},
        {0.28f, 0.25f, 0.20f, 0.17f, false, 230, 120, 40},
        {0.74f, 0.27f, 0.20f, 0.19f, true, 90, 200, 80},
        {0.50f, 0.84f, 0.40f, 0.12f, false, 200, 60, 120},
        {0.50f, 0.50f, 0.14f, 0.14f, true, 250, 230, 90},
    };
    auto rep = BitmapRep::make(side, side);
    const float s = float(side);
    for (int y = 0; y < side; ++y) {
        std::uint8_t* p = rep->row(y);
        for (int x = 0; x < side; ++x, p += 4) {
            for (const Shape& shape : shapes) {
                const float cover =
                    std::clamp(0.5f - distance(shape, float(x) + 0.5f, float(y) + 0.5f, s), 0.0f, 1.0f);
                if (cover <= 0.0f)
                    continue;
                // Paint over what lies below, premultiplied.
                const float inv = 1.0f - cover;
                p[0] = std::uint8_t(std::lround(shape.r * cover + p[0] * inv));
                p[1] = std::uint8_t(std::lround(shape.g * cover + p[1] * inv));
                p[2] = std::uint8_t(std::lround(shape.b * cover + p[2] * inv));
                p[3] = std::uint8_t(std::lround(255.0f * cover + p[3] * inv));
            }
        }
    }
    return std::move(*rep);
}

bool writeBenchStencil(int side, const QString& path)
{
    const BitmapRep rep = makeBenchStencil(side);
    return imageOverBitmap(rep).convertToFormat(QImage::Format_RGBA8888).save(path);
}

double coverage(const BitmapRep& stencil)
{
    std::size_t inside = 0;
    for (int y = 0; y < stencil.pixelsHigh(); ++y)
        for (int x = 0; x < stencil.pixelsWide(); ++x)
            inside += stencil.row(y)[4 * x + 3] >= 128;
    return double(inside) / (double(stencil.pixelsWide()) * stencil.pixelsHigh());
}

} // namespace gelcoat::bench
