// The shadow's inner loops, written once and compiled by Highway for every
// vector target and for plain scalar code, the best one chosen at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/shadow/ShadowKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/shadow/ShadowKernels.h"

#include <bit>

HWY_BEFORE_NAMESPACE();
namespace gelcoat {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

// Where alpha sits in a pixel word, so that the bytes in memory are
// 0, 0, 0, alpha on either byte order.
constexpr int kAlphaShift = std::endian::native == std::endian::little ? 24 : 0;

template <class D>
HWY_INLINE void addDifferencesVector(D d, std::uint32_t* acc, const std::uint32_t* hi, const std::uint32_t* lo)
{
    hn::StoreU(hn::Add(hn::LoadU(d, acc), hn::Sub(hn::LoadU(d, hi), hn::LoadU(d, lo))), d, acc);
}

// Comparisons rather than Min and Max, whose choice for a NaN differs
// between targets: a NaN fails every comparison and gives 0.
template <class DU>
HWY_INLINE void shadowPixels(DU du, const std::uint32_t* acc, std::uint8_t* out, float D)
{
    const hn::RebindToSigned<DU> di;
    const hn::Rebind<float, DU> df;
    const hn::Vec<DU> sum = hn::LoadU(du, acc);
    const hn::Vec<decltype(df)> q = hn::Floor(hn::Div(hn::ConvertTo(df, hn::BitCast(di, sum)), hn::Set(df, D)));
    const hn::Vec<decltype(df)> full = hn::Set(df, 255.0f);
    const hn::Vec<decltype(df)> capped =
        hn::IfThenElse(hn::Ge(q, full), full, hn::IfThenElseZero(hn::Ge(q, hn::Zero(df)), q));
    const hn::Vec<DU> a = hn::IfThenZeroElse(hn::Eq(sum, hn::Zero(du)), hn::BitCast(du, hn::ConvertTo(di, capped)));
    hn::StoreU(hn::ShiftLeft<kAlphaShift>(a), du, reinterpret_cast<std::uint32_t*>(out));
}

} // namespace

void AddDifferencesLanes(std::uint32_t* acc, const std::uint32_t* hi, const std::uint32_t* lo, std::int64_t n)
{
    const hn::ScalableTag<std::uint32_t> d;
    const std::int64_t L = std::int64_t(hn::Lanes(d));
    std::int64_t i = 0;
    for (; i + L <= n; i += L)
        addDifferencesVector(d, acc + i, hi + i, lo + i);
    for (; i < n; ++i)
        addDifferencesVector(hn::CappedTag<std::uint32_t, 1>(), acc + i, hi + i, lo + i);
}

void WriteShadowRowLanes(const std::uint32_t* acc, std::uint8_t* out, int W, float D)
{
    const hn::ScalableTag<std::uint32_t> d;
    const int L = int(hn::Lanes(d));
    int x = 0;
    for (; x + L <= W; x += L)
        shadowPixels(d, acc + x, out + 4 * x, D);
    for (; x < W; ++x)
        shadowPixels(hn::CappedTag<std::uint32_t, 1>(), acc + x, out + 4 * x, D);
}

} // namespace HWY_NAMESPACE
} // namespace gelcoat
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace gelcoat {

HWY_EXPORT(AddDifferencesLanes);
HWY_EXPORT(WriteShadowRowLanes);

void addDifferences(std::uint32_t* acc, const std::uint32_t* hi, const std::uint32_t* lo, std::int64_t n)
{
    HWY_DYNAMIC_DISPATCH(AddDifferencesLanes)(acc, hi, lo, n);
}

void writeShadowRow(const std::uint32_t* acc, std::uint8_t* out, int W, float D)
{
    HWY_DYNAMIC_DISPATCH(WriteShadowRowLanes)(acc, out, W, D);
}

} // namespace gelcoat
#endif
