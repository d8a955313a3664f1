// The resampler's inner loops, written once and compiled by Highway for
// every vector target and for plain scalar code (EMU128), the best one
// chosen at run time. Each 32-bit lane holds one sample's exact integer sum,
// so every target gives the same bytes.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/draw/ResampleKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/draw/ResampleKernels.h"

#include <algorithm>

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

// Shifts the sums down and stores them as bytes, kept within 0–255 (the
// explicit clamp measures faster than the demotion's own saturation).
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

// One output row's place in the vertical pass: its weights apply to the
// input rows first … end − 1.
struct OutputRow {
    const std::int32_t* weights;
    int first, end;
};

// Four vectors of sums for one output row (separate variables: vectors may
// be sizeless types, which cannot form arrays or members).
#define GELCOAT_FOUR_SUMS(name) hn::Vec<D>& name##0, hn::Vec<D>& name##1, hn::Vec<D>& name##2, hn::Vec<D>& name##3

// Adds input rows from … to − 1 of column span `column` (4 × Lanes(d)
// bytes) into one output row's four sums.
template <class D>
HWY_INLINE void addRows(D d, const std::uint8_t* column, std::ptrdiff_t stride, const OutputRow& r,
                        int from, int to, GELCOAT_FOUR_SUMS(sum))
{
    const int L = int(hn::Lanes(d));
    for (int t = from; t < to; ++t) {
        const std::uint8_t* s = column + std::ptrdiff_t(t) * stride;
        const std::int32_t w = r.weights[t - r.first];
        sum0 = addTap(d, sum0, s, w);
        sum1 = addTap(d, sum1, s + L, w);
        sum2 = addTap(d, sum2, s + 2 * L, w);
        sum3 = addTap(d, sum3, s + 3 * L, w);
    }
}

template <class D>
HWY_INLINE void addWeighed(D d, const std::uint8_t* samples, hn::Vec<D> w0, hn::Vec<D> w1,
                           hn::Vec<D>& sum0, hn::Vec<D>& sum1)
{
    const hn::Vec<D> v = hn::PromoteTo(d, hn::LoadU(hn::Rebind<std::uint8_t, D>(), samples));
    sum0 = hn::Add(sum0, hn::Mul(v, w0));
    sum1 = hn::Add(sum1, hn::Mul(v, w1));
}

// The same for input rows two output rows share: each input vector is
// widened once and weighed for both.
template <class D>
HWY_INLINE void addSharedRows(D d, const std::uint8_t* column, std::ptrdiff_t stride,
                              const OutputRow& r0, const OutputRow& r1, int from, int to,
                              GELCOAT_FOUR_SUMS(a), GELCOAT_FOUR_SUMS(b))
{
    const int L = int(hn::Lanes(d));
    for (int t = from; t < to; ++t) {
        const std::uint8_t* s = column + std::ptrdiff_t(t) * stride;
        const hn::Vec<D> w0 = hn::Set(d, r0.weights[t - r0.first]);
        const hn::Vec<D> w1 = hn::Set(d, r1.weights[t - r1.first]);
        addWeighed(d, s, w0, w1, a0, b0);
        addWeighed(d, s + L, w0, w1, a1, b1);
        addWeighed(d, s + 2 * L, w0, w1, a2, b2);
        addWeighed(d, s + 3 * L, w0, w1, a3, b3);
    }
}

#undef GELCOAT_FOUR_SUMS

// One column span of one output row, or of two (out1 not null) whose input
// rows overlap: rows only one of them reads go to its sums alone.
template <class D>
HWY_INLINE void columnSpan(D d, const std::uint8_t* column, std::ptrdiff_t stride, const OutputRow& r0,
                           std::uint8_t* out0, const OutputRow& r1, std::uint8_t* out1)
{
    const int L = int(hn::Lanes(d));
    hn::Vec<D> a0 = hn::Set(d, kResampleHalf), a1 = a0, a2 = a0, a3 = a0;
    if (!out1) {
        addRows(d, column, stride, r0, r0.first, r0.end, a0, a1, a2, a3);
    } else {
        hn::Vec<D> b0 = a0, b1 = a0, b2 = a0, b3 = a0;
        const int lo = std::max(r0.first, r1.first);
        const int hi = std::max(lo, std::min(r0.end, r1.end));
        addRows(d, column, stride, r0, r0.first, std::min(r0.end, lo), a0, a1, a2, a3);
        addRows(d, column, stride, r0, std::max(r0.first, hi), r0.end, a0, a1, a2, a3);
        addRows(d, column, stride, r1, r1.first, std::min(r1.end, lo), b0, b1, b2, b3);
        addRows(d, column, stride, r1, std::max(r1.first, hi), r1.end, b0, b1, b2, b3);
        addSharedRows(d, column, stride, r0, r1, lo, hi, a0, a1, a2, a3, b0, b1, b2, b3);
        storeBytes(d, b0, out1);
        storeBytes(d, b1, out1 + L);
        storeBytes(d, b2, out1 + 2 * L);
        storeBytes(d, b3, out1 + 3 * L);
    }
    storeBytes(d, a0, out0);
    storeBytes(d, a1, out0 + L);
    storeBytes(d, a2, out0 + 2 * L);
    storeBytes(d, a3, out0 + 3 * L);
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

void ResampleColumnLanes(const std::uint8_t* src, std::ptrdiff_t stride, std::uint8_t* dst0,
                         std::uint8_t* dst1, const ResampleTaps& k, int y, int rowBytes)
{
    const auto outputRow = [&k](int row) {
        const int first = k.first[row];
        return OutputRow{k.weights + std::size_t(row) * std::size_t(k.taps), first, first + k.count[row]};
    };
    const OutputRow r0 = outputRow(y);
    const OutputRow r1 = dst1 ? outputRow(y + 1) : r0;
    const hn::ScalableTag<std::int32_t> d;
    // Four vectors of bytes are a whole number of pixels; the last pixels
    // go one at a time, a channel a lane.
    const int span = 4 * int(hn::Lanes(d));
    int i = 0;
    for (; i + span <= rowBytes; i += span)
        columnSpan(d, src + i, stride, r0, dst0 + i, r1, dst1 ? dst1 + i : nullptr);
    for (; i < rowBytes; i += 4)
        columnSpan(hn::CappedTag<std::int32_t, 1>(), src + i, stride, r0, dst0 + i, r1,
                   dst1 ? dst1 + i : nullptr);
    limitRowToAlpha(dst0, rowBytes / 4);
    if (dst1)
        limitRowToAlpha(dst1, rowBytes / 4);
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

void resampleColumnBytes(const std::uint8_t* src, std::ptrdiff_t stride, std::uint8_t* dst0,
                         std::uint8_t* dst1, const ResampleTaps& k, int y, int rowBytes)
{
    HWY_DYNAMIC_DISPATCH(ResampleColumnLanes)(src, stride, dst0, dst1, k, y, rowBytes);
}

} // namespace gelcoat
#endif
