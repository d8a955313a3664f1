// The gloss stage's per-pixel arithmetic, written once and compiled by
// Highway for every vector target and for plain scalar code (EMU128), the
// best one chosen at run time. Every step is one IEEE operation in the same
// order and precision on every target: no fused multiply-add, no approximate
// reciprocal or square root, double-precision steps rounded to single where
// the formula says so, and float-to-integer conversions only on values that
// are already finite and in range. The tests compare every target's bytes.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/shading/GlossRow.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep
#include <hwy/highway.h>

#include "engine/shading/GlossConstants.h"
#include "engine/shading/GlossContext.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

HWY_BEFORE_NAMESPACE();
namespace gelcoat {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

// Full single-precision vectors; a step in double runs on each half of the
// lanes in turn (a double vector holds half as many), and the one-lane
// scalar target has no halves to split.
using DF = hn::ScalableTag<float>;
#if HWY_TARGET == HWY_SCALAR
using DD = hn::Rebind<double, DF>;
constexpr bool kSplitForDouble = false;
#else
using DH = hn::Half<DF>;
using DD = hn::Rebind<double, DH>;
constexpr bool kSplitForDouble = true;
#endif
using DI = hn::RebindToSigned<DF>;
using DU = hn::RebindToUnsigned<DF>;
using VF = hn::Vec<DF>;
using VD = hn::Vec<DD>;
using VI = hn::Vec<DI>;
using VU = hn::Vec<DU>;
using MF = hn::Mask<DF>;

constexpr float kN = float(aquaArraySize);
constexpr int kTableStride = 2 * aquaArraySize + 1;

// Table column lengths as floats, for lanes that read different columns.
constexpr float kColumnLength[aquaArraySize + 1] = {
    float(aquaSubarraySize[0]), float(aquaSubarraySize[1]), float(aquaSubarraySize[2]),
    float(aquaSubarraySize[3]), float(aquaSubarraySize[4]), float(aquaSubarraySize[5]),
    float(aquaSubarraySize[6]), float(aquaSubarraySize[7]), float(aquaSubarraySize[8]),
    float(aquaSubarraySize[9]), float(aquaSubarraySize[10])};

// The lower (0) or upper (1) half of the lanes, in double.
HWY_INLINE VD widen(VF x, int upper)
{
#if HWY_TARGET == HWY_SCALAR
    (void)upper;
    return hn::PromoteTo(DD(), x);
#else
    const DH dh;
    return hn::PromoteTo(DD(), upper ? hn::UpperHalf(dh, x) : hn::LowerHalf(dh, x));
#endif
}

// Both halves rounded back to single, in lane order.
HWY_INLINE VF narrow(VD lower, VD upper)
{
#if HWY_TARGET == HWY_SCALAR
    (void)upper;
    return hn::DemoteTo(DF(), lower);
#else
    const DH dh;
    return hn::Combine(DF(), hn::DemoteTo(dh, upper), hn::DemoteTo(dh, lower));
#endif
}

// step(x, …) computed in double for every lane, rounded to single.
template <class Step, class... Floats>
HWY_INLINE VF inDouble(Step step, Floats... x)
{
    const VD lower = step(widen(x, 0)...);
    if constexpr (kSplitForDouble)
        return narrow(lower, step(widen(x, 1)...));
    else
        return narrow(lower, lower);
}

HWY_INLINE VF subtractInDouble(VF f, double subtract)
{
    return inDouble([subtract](VD x) { return hn::Sub(x, hn::Set(DD(), subtract)); }, f);
}

// Above 1 becomes 1; anything not at least 0 (NaN too) becomes 0.
HWY_INLINE VF clampUnit(VF x)
{
    const DF df;
    const VF one = hn::Set(df, 1.0f);
    x = hn::IfThenElse(hn::Gt(x, one), one, x);
    return hn::IfThenElseZero(hn::Ge(x, hn::Zero(df)), x);
}

// floor(pos) as a table index in [0, limit − 1]; NaN and negatives give 0.
// Every lane's index is in range whatever its input, so gathers stay inside
// the tables.
HWY_INLINE VI tableIndex(VF pos, VF limit)
{
    const DF df;
    const VF f = hn::Floor(pos);
    VF index = hn::IfThenElse(hn::Ge(f, limit), hn::Sub(limit, hn::Set(df, 1.0f)), f);
    index = hn::IfThenElseZero(hn::Ge(f, hn::Zero(df)), index);
    return hn::ConvertTo(DI(), index);
}

HWY_INLINE VF horizontalPosition(VF left, VF right)
{
    const DF df;
    const VF n = hn::Set(df, kN);
    const VF s = hn::Add(left, right);
    VF u = inDouble([](VD ln, VD sum) { return hn::Div(hn::Mul(hn::Set(DD(), 2.0), ln), sum); },
                    hn::Mul(left, n), s);
    u = hn::IfThenElse(hn::Gt(u, n), hn::Sub(hn::Set(df, 2.0f * kN), u), u);
    VF xpos = hn::IfThenZeroElse(hn::Eq(s, hn::Zero(df)), hn::Sub(n, u));
    const VF edge = hn::IfThenElse(hn::Le(left, n), hn::Sub(n, left),
                                   hn::IfThenElseZero(hn::Le(right, n), hn::Sub(n, right)));
    return hn::IfThenElse(hn::Ge(s, hn::Set(df, 2.0f * kN)), edge, xpos);
}

// One table column's row index and weight per lane. (Vectors are passed
// by reference, never held in structs or arrays: they may be sizeless.)
HWY_INLINE void columnSample(VF top, VF bottom, VI column, VI& iy, VF& fy)
{
    const DF df;
    const VF sub = hn::GatherIndex(df, kColumnLength, column);
    const VF half = hn::Div(sub, hn::Set(df, 2.0f));
    const VF t = hn::Add(top, bottom);
    VF ypos = hn::IfThenElse(hn::Eq(t, hn::Zero(df)), hn::Mul(sub, hn::Set(df, 0.5f)),
                             hn::Div(hn::Mul(top, sub), t));
    const VF edge = hn::IfThenElse(hn::Le(top, half), top,
                                   hn::IfThenElse(hn::Le(bottom, half), hn::Sub(sub, bottom), half));
    ypos = hn::IfThenElse(hn::Ge(t, sub), edge, ypos);
    iy = tableIndex(ypos, sub);
    fy = hn::Sub(ypos, hn::ConvertTo(df, iy));
}

HWY_INLINE void addTap(const AquaTables& t, VI index, VF weight, VF& hue, VF& saturation, VF& value)
{
    const DF df;
    hue = hn::Add(hue, hn::Mul(hn::GatherIndex(df, &t.hue[0][0], index), weight));
    saturation = hn::Add(saturation, hn::Mul(hn::GatherIndex(df, &t.saturation[0][0], index), weight));
    value = hn::Add(value, hn::Mul(hn::GatherIndex(df, &t.value[0][0], index), weight));
}

// The four table taps for each lane's distances, added in the fixed order
// to hue (which starts with the rainbow hue), saturation and value.
HWY_INLINE void shade(const AquaTables& t, VF left, VF right, VF top, VF bottom, VF& hue,
                      VF& saturation, VF& value)
{
    const DF df;
    const DI di;
    const VF one = hn::Set(df, 1.0f);
    const VF xpos = horizontalPosition(left, right);
    const VI ix = tableIndex(xpos, hn::Set(df, kN));
    const VF fx = hn::Sub(xpos, hn::ConvertTo(df, ix));
    const VI ix1 = hn::Add(ix, hn::Set(di, 1));
    VI iy0, iy1;
    VF fy0, fy1;
    columnSample(top, bottom, ix, iy0, fy0);
    columnSample(top, bottom, ix1, iy1, fy1);
    const VF w0 = hn::Mul(hn::Sub(one, fy0), hn::Sub(one, fx));
    const VF w1 = hn::Mul(fy0, hn::Sub(one, fx));
    const VF w2 = hn::Mul(hn::Sub(one, fy1), fx);
    const VF w3 = hn::Mul(fy1, fx);
    const VI row0 = hn::Mul(ix, hn::Set(di, kTableStride));
    const VI row1 = hn::Mul(ix1, hn::Set(di, kTableStride));
    const VI next = hn::Set(di, 1);

    saturation = hn::Zero(df);
    value = hn::Zero(df);
    addTap(t, hn::Add(row0, iy0), w0, hue, saturation, value);
    addTap(t, hn::Add(hn::Add(row0, iy0), next), w1, hue, saturation, value);
    addTap(t, hn::Add(row1, iy1), w2, hue, saturation, value);
    addTap(t, hn::Add(hn::Add(row1, iy1), next), w3, hue, saturation, value);
}

// wrapHue for every lane: non-finite hues become 0, hues beyond the wrap
// limit drop their whole turns in double, the rest step by whole turns.
HWY_INLINE VF wrapHue(VF hue)
{
    const DF df;
    const MF finite = hn::IsFinite(hue);
    const VF limit = hn::Set(df, kHueWrapLimit);
    const MF large = hn::Or(hn::Lt(hue, hn::Neg(limit)), hn::Ge(hue, limit));
    if (!hn::AllFalse(df, large))
        hue = hn::IfThenElse(large, inDouble([](VD h) { return hn::Sub(h, hn::Floor(h)); }, hue), hue);
    hue = hn::IfThenElseZero(finite, hue);
    const VF one = hn::Set(df, 1.0f);
    for (MF m = hn::Lt(hue, hn::Zero(df)); !hn::AllFalse(df, m); m = hn::Lt(hue, hn::Zero(df)))
        hue = hn::IfThenElse(m, hn::Add(hue, one), hue);
    for (MF m = hn::Ge(hue, one); !hn::AllFalse(df, m); m = hn::Ge(hue, one))
        hue = hn::IfThenElse(m, hn::Sub(hue, one), hue);
    return hue;
}

// One hue sector's red, green and blue, each rounded to single and mixed
// with white as ((1 − c)(1 − s) + c) in double; h is in [0, 1).
HWY_INLINE void mixedSector(VD h, VD s, VD& r, VD& g, VD& b)
{
    const DD dd;
    const VD w = hn::Set(dd, 1.0 / 6.0);
    const VD one = hn::Set(dd, 1.0), zero = hn::Zero(dd);
    const auto m1 = hn::Lt(h, hn::Set(dd, 1.0 / 6.0));
    const auto m2 = hn::Lt(h, hn::Set(dd, 1.0 / 3.0));
    const auto m3 = hn::Lt(h, hn::Set(dd, 1.0 / 2.0));
    const auto m4 = hn::Lt(h, hn::Set(dd, 2.0 / 3.0));
    const auto m5 = hn::Lt(h, hn::Set(dd, 5.0 / 6.0));
    // The one varying channel's numerator, by sector.
    VD num = hn::Sub(w, hn::Sub(h, hn::Set(dd, 5.0 / 6.0)));
    num = hn::IfThenElse(m5, hn::Sub(h, hn::Set(dd, 2.0 / 3.0)), num);
    num = hn::IfThenElse(m4, hn::Sub(w, hn::Sub(h, hn::Set(dd, 1.0 / 2.0))), num);
    num = hn::IfThenElse(m3, hn::Sub(h, hn::Set(dd, 1.0 / 3.0)), num);
    num = hn::IfThenElse(m2, hn::Sub(w, hn::Sub(h, hn::Set(dd, 1.0 / 6.0))), num);
    num = hn::IfThenElse(m1, h, num);
    const VD v = hn::Div(num, w);
    // Sectors 0–5: red 1, v, 0, 0, v, 1; green v, 1, 1, v, 0, 0; blue 0, 0, v, 1, 1, v.
    const VD red = hn::IfThenElse(m1, one, hn::IfThenElse(m2, v, hn::IfThenElse(m4, zero, hn::IfThenElse(m5, v, one))));
    const VD green = hn::IfThenElse(m1, v, hn::IfThenElse(m3, one, hn::IfThenElse(m4, v, zero)));
    const VD blue = hn::IfThenElse(m2, zero, hn::IfThenElse(m3, v, hn::IfThenElse(m5, one, v)));
    const VD oneMinusS = hn::Sub(one, s);
    const auto mix = [&](VD channel) {
        const VD c = hn::PromoteTo(dd, hn::DemoteTo(hn::Rebind<float, DD>(), channel));
        return hn::Add(hn::Mul(hn::Sub(one, c), oneMinusS), c);
    };
    r = mix(red);
    g = mix(green);
    b = mix(blue);
}

// The mixed channels of every lane, rounded to single.
HWY_INLINE void mixedChannels(VF hue, VF saturation, VF& r, VF& g, VF& b)
{
    VD r0, g0, b0;
    mixedSector(widen(hue, 0), widen(saturation, 0), r0, g0, b0);
    VD r1 = r0, g1 = g0, b1 = b0;
    if constexpr (kSplitForDouble)
        mixedSector(widen(hue, 1), widen(saturation, 1), r1, g1, b1);
    r = narrow(r0, r1);
    g = narrow(g0, g1);
    b = narrow(b0, b1);
}

// The 8-bit code of each fraction, as codeForFraction.
HWY_INLINE VU codes(VF c)
{
    const DF df;
    const DI di;
    const VF shifted = hn::Sub(hn::Mul(c, hn::Set(df, 256.0f)), hn::Set(df, 0.5f));
    const MF low = hn::Ge(shifted, hn::Set(df, 0.5f)); // NaN too
    const MF high = hn::Ge(shifted, hn::Set(df, 255.0f));
    const VF inRange = hn::IfThenElseZero(low, hn::Min(shifted, hn::Set(df, 255.0f)));
    const VI whole = hn::ConvertTo(di, inRange);
    const VF fraction = hn::Sub(inRange, hn::ConvertTo(df, whole));
    VI code = hn::Add(whole, hn::IfThenElseZero(hn::RebindMask(di, hn::Ge(fraction, hn::Set(df, 0.5f))),
                                               hn::Set(di, 1)));
    code = hn::IfThenElse(hn::RebindMask(di, high), hn::Set(di, 255), code);
    return hn::BitCast(DU(), code);
}

// outA = A × alpha truncated, kept within a byte (an opacity above 100 %
// saturates instead of wrapping).
HWY_INLINE VU scaledAlpha(VU alphaByte, float alpha)
{
    const DF df;
    const VF a = hn::Mul(hn::ConvertTo(df, hn::BitCast(DI(), alphaByte)), hn::Set(df, alpha));
    const VF kept = hn::IfThenElseZero(hn::Ge(a, hn::Set(df, 1.0f)), a);
    return hn::BitCast(DU(), hn::ConvertTo(DI(), hn::Min(kept, hn::Set(df, 255.0f))));
}

// One distance byte in table units; pixels without distances use `outside`.
HWY_INLINE VF tableDistance(VU byte, MF noDistances, int outside, float mf)
{
    const DI di;
    const VI code = hn::IfThenElse(hn::RebindMask(di, noDistances), hn::Set(di, outside),
                                   hn::BitCast(di, byte));
    return hn::Mul(hn::ConvertTo(DF(), hn::Sub(code, hn::Set(di, 1))), hn::Set(DF(), mf));
}

// Renders Lanes(DF) pixels. Pixel words are little-endian: memory bytes
// 0–3 are each word's low byte first.
HWY_INLINE void glossPixels(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
                            const float* dxForColumn, float dyTimesOffset, std::uint8_t* out)
{
    const DF df;
    const DU du;
    const AquifyParameters& p = c.p;
    const VU byteMask = hn::Set(du, 0xFFu);
    const VU D = hn::LoadU(du, reinterpret_cast<const std::uint32_t*>(ana));
    const VU I = hn::LoadU(du, reinterpret_cast<const std::uint32_t*>(img));
    const VU A = hn::ShiftRight<24>(I);
    const MF noDistances = hn::RebindMask(df, hn::Eq(D, hn::Zero(du)));
    const MF clear = hn::And(noDistances, hn::RebindMask(df, hn::Eq(A, hn::Zero(du))));
    std::uint32_t* outWords = reinterpret_cast<std::uint32_t*>(out);
    if (hn::AllTrue(df, clear)) {
        hn::StoreU(hn::Zero(du), du, outWords);
        return;
    }

    const VF left = tableDistance(hn::And(D, byteMask), noDistances, kOutsideNearDistance, c.mf);
    const VF right = tableDistance(hn::And(hn::ShiftRight<8>(D), byteMask), noDistances,
                                   kOutsideFarDistance, c.mf);
    const VF top = tableDistance(hn::And(hn::ShiftRight<16>(D), byteMask), noDistances,
                                 kOutsideNearDistance, c.mf);
    const VF bottom = tableDistance(hn::ShiftRight<24>(D), noDistances, kOutsideFarDistance, c.mf);

    VF hue = hn::Zero(df);
    if (p.rainbow) {
        const VF a = hn::Mul(hn::LoadU(df, dxForColumn), hn::Set(df, c.xOffset));
        const VF b = hn::Set(df, dyTimesOffset);
        if (p.circular) {
            const VF sq = hn::Add(hn::Mul(a, a), hn::Mul(b, b));
            hue = inDouble([](VD x) { return hn::Sqrt(x); }, sq);
        } else {
            hue = hn::Add(a, b);
        }
    }

    // A pixel deep inside reads exactly the tables' centre entry.
    const VF n = hn::Set(df, kN);
    const MF deep = hn::And(hn::And(hn::Gt(left, n), hn::Gt(right, n)),
                            hn::And(hn::Gt(top, n), hn::Gt(bottom, n)));
    VF shadedHue = hn::Add(hue, hn::Set(df, c.centre.hue));
    VF saturation = hn::Set(df, c.centre.saturation);
    VF value = hn::Set(df, c.centre.value);
    if (!hn::AllTrue(df, hn::Or(deep, clear))) {
        VF edgeHue = hue, edgeSaturation, edgeValue;
        shade(c.tables, left, right, top, bottom, edgeHue, edgeSaturation, edgeValue);
        shadedHue = hn::IfThenElse(deep, shadedHue, edgeHue);
        saturation = hn::IfThenElse(deep, saturation, edgeSaturation);
        value = hn::IfThenElse(deep, value, edgeValue);
    }
    hue = subtractInDouble(shadedHue, kButtonHue);

    const DI di;
    const VI codeMask = hn::BitCast(di, byteMask);
    const VI Ii = hn::BitCast(di, I);
    const VF oh = hn::GatherIndex(df, c.codeFraction, hn::And(Ii, codeMask));
    const VF os = hn::GatherIndex(df, c.codeFraction, hn::And(hn::ShiftRight<8>(Ii), codeMask));
    const VF ov = hn::GatherIndex(df, c.codeFraction, hn::And(hn::ShiftRight<16>(Ii), codeMask));
    const VF userHue = hn::Set(df, p.hue);
    const MF grey = hn::Eq(os, hn::Zero(df));
    const VF hueGrey = p.useOriginalSaturation ? hue : hn::Add(hue, userHue);
    const VF satGrey = p.useOriginalSaturation ? hn::Zero(df) : saturation;
    const VF hueColour = hn::Add(hue, p.useOriginalHue ? oh : userHue);
    const VF satColour = p.useOriginalSaturation ? hn::Mul(saturation, os) : saturation;
    hue = hn::IfThenElse(grey, hueGrey, hueColour);
    saturation = hn::IfThenElse(grey, satGrey, satColour);
    if (p.useOriginalBrightness)
        value = hn::Mul(value, ov);

    VU outA = scaledAlpha(A, p.alpha);
    value = inDouble(
        [&p](VD v) {
            const DD dd;
            const VD pivot = hn::Set(dd, kContrastPivot);
            const VD scaled = hn::Mul(hn::Sub(v, pivot), hn::Set(dd, double(p.contrast)));
            return hn::Add(hn::Add(scaled, pivot), hn::Set(dd, double(p.brightness)));
        },
        value);
    saturation = hn::Mul(saturation, hn::Set(df, p.saturation));
    outA = hn::IfThenElse(hn::RebindMask(du, noDistances), hn::ShiftRight<1>(outA), outA);
    value = hn::IfThenElse(noDistances, hn::Mul(value, hn::Set(df, kPartialPixelShare)), value);

    hue = wrapHue(hue);
    saturation = clampUnit(saturation);
    value = clampUnit(value);
    value = hn::Mul(value, hn::Div(hn::ConvertTo(df, hn::BitCast(di, outA)), hn::Set(df, 255.0f)));

    VF r, g, b;
    mixedChannels(hue, saturation, r, g, b);
    const VU R = codes(hn::Mul(r, value));
    const VU G = codes(hn::Mul(g, value));
    const VU B = codes(hn::Mul(b, value));
    const VU word = hn::Or(hn::Or(R, hn::ShiftLeft<8>(G)), hn::Or(hn::ShiftLeft<16>(B), hn::ShiftLeft<24>(outA)));
    hn::StoreU(hn::IfThenZeroElse(hn::RebindMask(du, clear), word), du, outWords);
}

} // namespace

void AquifyRowLanes(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
                    std::uint8_t* out, int y, int W)
{
    const AquifyParameters& p = c.p;
    float dyTimesOffset = 0.0f;
    if (p.rainbow) {
        const float cy = c.halfH + p.yCenter;
        const float dy = (float(y) - cy) / c.halfH;
        dyTimesOffset = dy * c.yOffset;
    }
    const int lanes = int(hn::Lanes(DF()));
    int x = 0;
    for (; x + lanes <= W; x += lanes)
        glossPixels(c, img + 4 * x, ana + 4 * x, c.dxForColumn + x, dyTimesOffset, out + 4 * x);
    if (x >= W)
        return;
    // The last pixels (fewer than one vector) through the same code, padded
    // with clear pixels.
    constexpr int kMaxLanes = HWY_MAX_BYTES / sizeof(float);
    HWY_ALIGN std::uint8_t imgTail[4 * kMaxLanes] = {};
    HWY_ALIGN std::uint8_t anaTail[4 * kMaxLanes] = {};
    HWY_ALIGN std::uint8_t outTail[4 * kMaxLanes];
    HWY_ALIGN float dxTail[kMaxLanes] = {};
    const std::size_t rest = std::size_t(std::min(W - x, kMaxLanes));
    std::memcpy(imgTail, img + 4 * x, 4 * rest);
    std::memcpy(anaTail, ana + 4 * x, 4 * rest);
    std::memcpy(dxTail, c.dxForColumn + x, sizeof(float) * rest);
    glossPixels(c, imgTail, anaTail, dxTail, dyTimesOffset, outTail);
    std::memcpy(out + 4 * x, outTail, 4 * rest);
}

} // namespace HWY_NAMESPACE
} // namespace gelcoat
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace gelcoat {

HWY_EXPORT(AquifyRowLanes);

void aquifyRow(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
               std::uint8_t* out, int y, int W)
{
    HWY_DYNAMIC_DISPATCH(AquifyRowLanes)(c, img, ana, out, y, W);
}

} // namespace gelcoat
#endif
