#include "engine/draw/Draw.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gelcoat {

namespace {

bool sameEngineSize(const BitmapRep& a, const BitmapRep& b)
{
    return isEngineFormat(a) && isEngineFormat(b) && a.pixelsWide() == b.pixelsWide() &&
           a.pixelsHigh() == b.pixelsHigh();
}

// round(t / 255) for 0 ≤ t ≤ 255 × 255.
inline std::uint32_t div255(std::uint32_t t)
{
    t += 128;
    return (t + (t >> 8)) >> 8;
}

} // namespace

bool copyPixels(const BitmapRep& src, BitmapRep& dst)
{
    if (!sameEngineSize(src, dst))
        return false;
    const std::size_t rowBytes = std::size_t(src.pixelsWide()) * 4;
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            std::memcpy(dst.row(y), src.row(y), rowBytes);
    }, 256);
    return true;
}

namespace {

// One row of src over below into out (out may be below): per byte
// src + below × (255 − srcA) / 255, rounded to nearest.
void compositeRow(const std::uint8_t* s, const std::uint8_t* b, std::uint8_t* d, int W)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(128);
    for (; i + 16 <= 4 * W; i += 16) {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i result[2];
        for (int h = 0; h < 2; ++h) {
            const __m128i s16 = h ? _mm_unpackhi_epi8(src, zero) : _mm_unpacklo_epi8(src, zero);
            const __m128i b16 = h ? _mm_unpackhi_epi8(below, zero) : _mm_unpacklo_epi8(below, zero);
            // Each pixel's source alpha in all four of its lanes.
            __m128i a = _mm_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
            a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
            const __m128i t = _mm_add_epi16(_mm_mullo_epi16(b16, _mm_sub_epi16(full, a)), half);
            const __m128i q = _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
            result[h] = _mm_add_epi16(q, s16);
        }
        // Colour never exceeds 255 here for premultiplied input; saturate anyway.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(result[0], result[1]));
    }
#endif
    for (; i < 4 * W; i += 4) {
        const std::uint32_t inv = 255u - s[i + 3];
        for (int c = 0; c < 4; ++c) {
            const std::uint32_t v = s[i + c] + div255(b[i + c] * inv);
            d[i + c] = std::uint8_t(v > 255 ? 255 : v);
        }
    }
}

} // namespace

bool compositeSourceOver(const BitmapRep& src, BitmapRep& dst)
{
    return compositeSourceOver(src, dst, dst);
}

bool compositeSourceOver(const BitmapRep& src, const BitmapRep& below, BitmapRep& out)
{
    if (!sameEngineSize(src, below) || !sameEngineSize(src, out))
        return false;
    const int W = src.pixelsWide();
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            compositeRow(src.row(y), below.row(y), out.row(y), W);
    }, 32);
    return true;
}

void fillPixels(BitmapRep& dst, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    if (!isEngineFormat(dst))
        return;
    for (int y = 0; y < dst.pixelsHigh(); ++y) {
        std::uint8_t* p = dst.row(y);
        for (int x = 0; x < dst.pixelsWide(); ++x, p += 4) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = a;
        }
    }
}

bool drawRotated(const BitmapRep& src, BitmapRep& dst, int degrees)
{
    if (!isEngineFormat(src) || !isEngineFormat(dst))
        return false;
    const int W = src.pixelsWide();
    const int H = src.pixelsHigh();
    const bool swapped = degrees == 90 || degrees == 270;
    if (degrees != 90 && degrees != 180 && degrees != 270)
        return true;
    const int outW = swapped ? H : W;
    const int outH = swapped ? W : H;
    for (int y = 0; y < outH && y < dst.pixelsHigh(); ++y) {
        std::uint8_t* d = dst.row(y);
        for (int x = 0; x < outW && x < dst.pixelsWide(); ++x) {
            int sx, sy;
            if (degrees == 90) {
                sx = W - 1 - y;
                sy = x;
            } else if (degrees == 180) {
                sx = W - 1 - x;
                sy = H - 1 - y;
            } else {
                sx = y;
                sy = H - 1 - x;
            }
            std::memcpy(d + 4 * x, src.row(sy) + 4 * sx, 4);
        }
    }
    return true;
}

} // namespace gelcoat
