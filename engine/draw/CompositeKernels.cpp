// The compositing loop, written once and compiled by Highway for every
// vector target and for plain scalar code, the best one chosen at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/draw/CompositeKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/draw/CompositeKernels.h"

HWY_BEFORE_NAMESPACE();
namespace gelcoat {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

// round(t / 255) for 0 ≤ t ≤ 255 × 255.
inline std::uint32_t div255(std::uint32_t t)
{
    t += 128;
    return (t + (t >> 8)) >> 8;
}

void compositePixelsPlain(const std::uint8_t* s, const std::uint8_t* b, std::uint8_t* d, int pixels)
{
    for (int i = 0; i < 4 * pixels; i += 4) {
        const std::uint32_t inv = 255u - s[i + 3];
        for (int c = 0; c < 4; ++c) {
            const std::uint32_t v = s[i + c] + div255(b[i + c] * inv);
            d[i + c] = std::uint8_t(v > 255 ? 255 : v);
        }
    }
}

#if HWY_TARGET != HWY_SCALAR
// round(t / 255), as div255, in every 16-bit lane; t + 128 + (t + 128) / 256
// stays below 2^16.
template <class D16>
HWY_INLINE hn::Vec<D16> div255Lanes(D16 d16, hn::Vec<D16> t)
{
    t = hn::Add(t, hn::Set(d16, 128));
    return hn::ShiftRight<8>(hn::Add(t, hn::ShiftRight<8>(t)));
}

// One vector of whole pixels. The bytes are worked on as 16-bit lanes, the
// even and odd bytes of each apart, so no lanes are widened or narrowed.
// Pixel words are little-endian: alpha is the top byte.
template <class D8>
HWY_INLINE void compositeVector(D8 d8, const std::uint8_t* s, const std::uint8_t* b, std::uint8_t* d)
{
    const hn::Repartition<std::uint16_t, D8> d16;
    const hn::Repartition<std::uint32_t, D8> d32;
    const hn::Vec<D8> src = hn::LoadU(d8, s);
    const hn::Vec<D8> below = hn::LoadU(d8, b);
    // 255 − alpha in both 16-bit halves of each pixel word.
    const hn::Vec<decltype(d32)> inv = hn::Xor(hn::ShiftRight<24>(hn::BitCast(d32, src)), hn::Set(d32, 0xFFu));
    const hn::Vec<decltype(d16)> inv16 = hn::BitCast(d16, hn::Or(inv, hn::ShiftLeft<16>(inv)));
    const hn::Vec<decltype(d16)> b16 = hn::BitCast(d16, below);
    const hn::Vec<decltype(d16)> even = div255Lanes(d16, hn::Mul(hn::And(b16, hn::Set(d16, 0xFF)), inv16));
    const hn::Vec<decltype(d16)> odd = div255Lanes(d16, hn::Mul(hn::ShiftRight<8>(b16), inv16));
    // Colour never exceeds alpha in premultiplied input, so the sum fits;
    // saturate anyway.
    const hn::Vec<D8> scaled = hn::BitCast(d8, hn::Or(even, hn::ShiftLeft<8>(odd)));
    hn::StoreU(hn::SaturatedAdd(src, scaled), d8, d);
}
#endif

} // namespace

void CompositeRowLanes(const std::uint8_t* s, const std::uint8_t* b, std::uint8_t* d, int pixels)
{
    int x = 0;
#if HWY_TARGET != HWY_SCALAR
    const hn::ScalableTag<std::uint8_t> d8;
    const int step = int(hn::Lanes(d8)) / 4;
    for (; x + step <= pixels; x += step)
        compositeVector(d8, s + 4 * x, b + 4 * x, d + 4 * x);
#endif
    compositePixelsPlain(s + 4 * x, b + 4 * x, d + 4 * x, pixels - x);
}

} // namespace HWY_NAMESPACE
} // namespace gelcoat
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace gelcoat {

HWY_EXPORT(CompositeRowLanes);

void compositeRowBytes(const std::uint8_t* src, const std::uint8_t* below, std::uint8_t* out, int pixels)
{
    HWY_DYNAMIC_DISPATCH(CompositeRowLanes)(src, below, out, pixels);
}

} // namespace gelcoat
#endif
