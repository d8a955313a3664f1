// The resampler's inner loops, written once and compiled by Highway for
// every vector target and for plain scalar code (EMU128), the best one
// chosen at run time. Each 32-bit lane holds one sample's exact integer sum,
// so every target gives the same bytes.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "draw/ResampleKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include "draw/ResampleKernels.h"

HWY_BEFORE_NAMESPACE();
namespace gelcoat {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

// Samples of one tap, widened to 32 bits, times its weight, added.
template <class D>
HWY_INLINE hn::Vec<D> addTap(D d, hn::Vec<D> acc, const std::uint8_t* samples, std::int32_t weight)
{
    const hn::Rebind<std::uint8_t, D> d8;
    return hn::Add(acc, hn::Mul(hn::PromoteTo(d, hn::LoadU(d8, samples)), hn::Set(d, weight)));
}

// Shifts the sums down and stores them as bytes, kept within 0–255.
template <class D>
HWY_INLINE void storeBytes(D d, hn::Vec<D> acc, std::uint8_t* dst)
{
    const hn::Rebind<std::uint8_t, D> d8;
    const hn::Vec<D> v = hn::ShiftRight<kResamplePrecision>(acc);
    hn::StoreU(hn::DemoteTo(d8, hn::Min(hn::Max(v, hn::Zero(d)), hn::Set(d, 255))), d8, dst);
}

// Premultiplied colour never exceeds its alpha, whatever the filter's
// negative lobes did. Pixel words are little-endian: red is the low byte.
template <class D>
HWY_INLINE void limitToAlpha(D d, std::uint8_t* pixels)
{
    std::uint32_t* words = reinterpret_cast<std::uint32_t*>(pixels);
    const hn::Vec<D> w = hn::LoadU(d, words);
    const hn::Vec<D> byte = hn::Set(d, 0xFFu);
    const hn::Vec<D> a = hn::ShiftRight<24>(w);
    const hn::Vec<D> r = hn::Min(hn::And(w, byte), a);
    const hn::Vec<D> g = hn::Min(hn::And(hn::ShiftRight<8>(w), byte), a);
    const hn::Vec<D> b = hn::Min(hn::And(hn::ShiftRight<16>(w), byte), a);
    hn::StoreU(hn::Or(hn::Or(r, hn::ShiftLeft<8>(g)), hn::Or(hn::ShiftLeft<16>(b), hn::ShiftLeft<24>(a))),
               d, words);
}

void limitRowToAlpha(std::uint8_t* dst, int pixels)
{
    const hn::ScalableTag<std::uint32_t> d;
    const int L = int(hn::Lanes(d));
    int x = 0;
    for (; x + L <= pixels; x += L)
        limitToAlpha(d, dst + 4 * x);
    for (; x < pixels; ++x)
        limitToAlpha(hn::CappedTag<std::uint32_t, 1>(), dst + 4 * x);
}

// The vertical pass over `bytes` bytes from column i: four vectors of
// samples at a time, keeping four independent sums in flight.
template <class D>
HWY_INLINE void columnSpan(D d, const std::uint8_t* top, std::ptrdiff_t stride, std::uint8_t* dst,
                           const std::int32_t* w, int n)
{
    const int L = int(hn::Lanes(d));
    auto a0 = hn::Set(d, kResampleHalf), a1 = a0, a2 = a0, a3 = a0;
    for (int t = 0; t < n; ++t) {
        const std::uint8_t* s = top + std::ptrdiff_t(t) * stride;
        a0 = addTap(d, a0, s, w[t]);
        a1 = addTap(d, a1, s + L, w[t]);
        a2 = addTap(d, a2, s + 2 * L, w[t]);
        a3 = addTap(d, a3, s + 3 * L, w[t]);
    }
    storeBytes(d, a0, dst);
    storeBytes(d, a1, dst + L);
    storeBytes(d, a2, dst + 2 * L);
    storeBytes(d, a3, dst + 3 * L);
}

} // namespace

void ResampleRowLanes(const std::uint8_t* src, std::uint8_t* dst, const ResampleTaps& k, int outW)
{
    // One pixel's channels at a time, in as many steps as that takes.
    const hn::CappedTag<std::int32_t, 4> d;
    const int L = int(hn::Lanes(d));
    for (int x = 0; x < outW; ++x) {
        const std::int32_t* w = k.weights + std::size_t(x) * std::size_t(k.taps);
        const std::uint8_t* s = src + 4 * std::ptrdiff_t(k.first[x]);
        const int n = k.count[x];
        for (int c = 0; c < 4; c += L) {
            auto acc = hn::Set(d, kResampleHalf);
            for (int t = 0; t < n; ++t)
                acc = addTap(d, acc, s + 4 * t + c, w[t]);
            storeBytes(d, acc, dst + 4 * std::ptrdiff_t(x) + c);
        }
    }
    limitRowToAlpha(dst, outW);
}

void ResampleColumnLanes(const std::uint8_t* src, std::ptrdiff_t stride, std::uint8_t* dst,
                         const ResampleTaps& k, int y, int rowBytes)
{
    const std::int32_t* w = k.weights + std::size_t(y) * std::size_t(k.taps);
    const std::uint8_t* top = src + std::ptrdiff_t(k.first[y]) * stride;
    const int n = k.count[y];
    const hn::ScalableTag<std::int32_t> d;
    // Four vectors of bytes are a whole number of pixels; the last pixels
    // go one at a time, a channel a lane.
    const int span = 4 * int(hn::Lanes(d));
    int i = 0;
    for (; i + span <= rowBytes; i += span)
        columnSpan(d, top + i, stride, dst + i, w, n);
    for (; i < rowBytes; i += 4)
        columnSpan(hn::CappedTag<std::int32_t, 1>(), top + i, stride, dst + i, w, n);
    limitRowToAlpha(dst, rowBytes / 4);
}

} // namespace HWY_NAMESPACE
} // namespace gelcoat
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace gelcoat {

HWY_EXPORT(ResampleRowLanes);
HWY_EXPORT(ResampleColumnLanes);

void resampleRowPixels(const std::uint8_t* src, std::uint8_t* dst, const ResampleTaps& k, int outW)
{
    HWY_DYNAMIC_DISPATCH(ResampleRowLanes)(src, dst, k, outW);
}

void resampleColumnBytes(const std::uint8_t* src, std::ptrdiff_t stride, std::uint8_t* dst,
                         const ResampleTaps& k, int y, int rowBytes)
{
    HWY_DYNAMIC_DISPATCH(ResampleColumnLanes)(src, stride, dst, k, y, rowBytes);
}

} // namespace gelcoat
#endif
