// The gloss stage for eight deep-inside pixels at a time. Every step is the
// scalar stage's own IEEE operation, in the same order and precision, lane
// by lane; vector instructions never fuse or reorder them, so the bytes
// match the scalar path exactly (the tests compare the two on every pixel).

#include "shading/GlossContext.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define GELCOAT_AVX2 __attribute__((target("avx2")))

namespace gelcoat {

namespace {

struct Doubles {
    __m256d lo, hi;
};

GELCOAT_AVX2 inline Doubles widen(__m256 f)
{
    return {_mm256_cvtps_pd(_mm256_castps256_ps128(f)), _mm256_cvtps_pd(_mm256_extractf128_ps(f, 1))};
}

GELCOAT_AVX2 inline __m256 narrow(Doubles d)
{
    return _mm256_set_m128(_mm256_cvtpd_ps(d.hi), _mm256_cvtpd_ps(d.lo));
}

GELCOAT_AVX2 inline __m256 select(__m256 mask, __m256 ifTrue, __m256 ifFalse)
{
    return _mm256_blendv_ps(ifFalse, ifTrue, mask);
}

GELCOAT_AVX2 inline __m256d select(__m256d mask, __m256d ifTrue, __m256d ifFalse)
{
    return _mm256_blendv_pd(ifFalse, ifTrue, mask);
}

// Above 1 becomes 1; anything not at least 0 (NaN too) becomes 0.
GELCOAT_AVX2 inline __m256 clampUnit(__m256 x)
{
    const __m256 one = _mm256_set1_ps(1.0f);
    x = select(_mm256_cmp_ps(x, one, _CMP_GT_OQ), one, x);
    return select(_mm256_cmp_ps(x, _mm256_setzero_ps(), _CMP_GE_OQ), x, _mm256_setzero_ps());
}

// One hue sector's channels for four hues, each rounded to single.
GELCOAT_AVX2 inline void hueSector(__m256d hd, __m128& r, __m128& g, __m128& b)
{
    const __m256d w = _mm256_set1_pd(1.0 / 6.0);
    const __m256d one = _mm256_set1_pd(1.0), zero = _mm256_setzero_pd();
    const __m256d m1 = _mm256_cmp_pd(hd, _mm256_set1_pd(1.0 / 6.0), _CMP_LT_OQ);
    const __m256d m2 = _mm256_cmp_pd(hd, _mm256_set1_pd(1.0 / 3.0), _CMP_LT_OQ);
    const __m256d m3 = _mm256_cmp_pd(hd, _mm256_set1_pd(1.0 / 2.0), _CMP_LT_OQ);
    const __m256d m4 = _mm256_cmp_pd(hd, _mm256_set1_pd(2.0 / 3.0), _CMP_LT_OQ);
    const __m256d m5 = _mm256_cmp_pd(hd, _mm256_set1_pd(5.0 / 6.0), _CMP_LT_OQ);
    // The one varying channel's numerator, by sector.
    __m256d num = _mm256_sub_pd(w, _mm256_sub_pd(hd, _mm256_set1_pd(5.0 / 6.0)));
    num = select(m5, _mm256_sub_pd(hd, _mm256_set1_pd(2.0 / 3.0)), num);
    num = select(m4, _mm256_sub_pd(w, _mm256_sub_pd(hd, _mm256_set1_pd(1.0 / 2.0))), num);
    num = select(m3, _mm256_sub_pd(hd, _mm256_set1_pd(1.0 / 3.0)), num);
    num = select(m2, _mm256_sub_pd(w, _mm256_sub_pd(hd, _mm256_set1_pd(1.0 / 6.0))), num);
    num = select(m1, hd, num);
    const __m256d v = _mm256_div_pd(num, w);
    // Sectors 0–5: red 1, v, 0, 0, v, 1; green v, 1, 1, v, 0, 0; blue 0, 0, v, 1, 1, v.
    const __m256d red = select(m1, one, select(m2, v, select(m4, zero, select(m5, v, one))));
    const __m256d green = select(m1, v, select(m3, one, select(m4, v, zero)));
    const __m256d blue = select(m2, zero, select(m3, v, select(m5, one, v)));
    r = _mm256_cvtpd_ps(red);
    g = _mm256_cvtpd_ps(green);
    b = _mm256_cvtpd_ps(blue);
}

// ((1 − c)(1 − s) + c) in double, rounded, then times v in single.
GELCOAT_AVX2 inline __m256 desaturate(__m256 c, const Doubles& oneMinusS, __m256 v)
{
    const Doubles cd = widen(c);
    const __m256d one = _mm256_set1_pd(1.0);
    const Doubles mixed{
        _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(one, cd.lo), oneMinusS.lo), cd.lo),
        _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(one, cd.hi), oneMinusS.hi), cd.hi)};
    return _mm256_mul_ps(narrow(mixed), v);
}

// The 8-bit code of each fraction, as codeForFraction.
GELCOAT_AVX2 inline __m256i codes(__m256 c)
{
    const __m256 shifted = _mm256_sub_ps(_mm256_mul_ps(c, _mm256_set1_ps(256.0f)), _mm256_set1_ps(0.5f));
    const __m256 low = _mm256_cmp_ps(shifted, _mm256_set1_ps(0.5f), _CMP_GE_OQ); // else 0, NaN too
    const __m256 high = _mm256_cmp_ps(shifted, _mm256_set1_ps(255.0f), _CMP_GE_OQ);
    const __m256 inRange = _mm256_min_ps(_mm256_max_ps(shifted, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
    const __m256i whole = _mm256_cvttps_epi32(inRange);
    const __m256 frac = _mm256_sub_ps(inRange, _mm256_cvtepi32_ps(whole));
    const __m256i up = _mm256_castps_si256(_mm256_cmp_ps(frac, _mm256_set1_ps(0.5f), _CMP_GE_OQ));
    __m256i code = _mm256_sub_epi32(whole, up); // up is −1 where rounding up
    code = _mm256_blendv_epi8(code, _mm256_set1_epi32(255), _mm256_castps_si256(high));
    return _mm256_and_si256(code, _mm256_castps_si256(low));
}

GELCOAT_AVX2 inline bool allLanes(__m256 mask)
{
    return _mm256_movemask_ps(mask) == 0xFF;
}

GELCOAT_AVX2 inline bool anyLane(__m256 mask)
{
    return _mm256_movemask_ps(mask) != 0;
}

} // namespace

bool glossAvx2Available()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

GELCOAT_AVX2 bool aquifyEightAvx2(const GlossContext& c, const std::uint8_t* img,
                                  const std::uint8_t* ana, std::uint8_t* out, int x, float dy)
{
    const AquifyParameters& p = c.p;
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i D = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ana));
    const __m256i I = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(img));
    const __m256i A = _mm256_srli_epi32(I, 24);
    const __m256 clear = _mm256_castsi256_ps(_mm256_and_si256(
        _mm256_cmpeq_epi32(D, _mm256_setzero_si256()), _mm256_cmpeq_epi32(A, _mm256_setzero_si256())));

    // Memory bytes 0–3 (left, right, top, bottom) are the word's low bytes first.
    const __m256 mf = _mm256_set1_ps(c.mf);
    const __m256 N = _mm256_set1_ps(float(aquaArraySize));
    __m256 deep = _mm256_castsi256_ps(_mm256_set1_epi32(-1));
    for (int shift = 0; shift < 32; shift += 8) {
        const __m256i d = _mm256_and_si256(_mm256_srli_epi32(D, shift), byteMask);
        const __m256 dist = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_sub_epi32(d, _mm256_set1_epi32(1))), mf);
        deep = _mm256_and_ps(deep, _mm256_cmp_ps(dist, N, _CMP_GT_OQ));
    }
    if (!allLanes(_mm256_or_ps(deep, clear)))
        return false;

    __m256 hue = _mm256_setzero_ps();
    if (p.rainbow) {
        const __m256 dx = _mm256_loadu_ps(c.dxForColumn + x);
        const __m256 a = _mm256_mul_ps(dx, _mm256_set1_ps(c.xOffset));
        const __m256 b = _mm256_mul_ps(_mm256_set1_ps(dy), _mm256_set1_ps(c.yOffset));
        if (p.circular) {
            const __m256 sq = _mm256_add_ps(_mm256_mul_ps(a, a), _mm256_mul_ps(b, b));
            const Doubles d = widen(sq);
            hue = narrow({_mm256_sqrt_pd(d.lo), _mm256_sqrt_pd(d.hi)});
        } else {
            hue = _mm256_add_ps(a, b);
        }
    }
    hue = _mm256_add_ps(hue, _mm256_set1_ps(c.centre.hue));
    {
        const Doubles h = widen(hue);
        const __m256d k = _mm256_set1_pd(0.59);
        hue = narrow({_mm256_sub_pd(h.lo, k), _mm256_sub_pd(h.hi, k)});
    }
    __m256 saturation = _mm256_set1_ps(c.centre.saturation);
    __m256 value = _mm256_set1_ps(c.centre.value);

    const __m256 oh = _mm256_i32gather_ps(c.codeFraction, _mm256_and_si256(I, byteMask), 4);
    const __m256 os = _mm256_i32gather_ps(c.codeFraction, _mm256_and_si256(_mm256_srli_epi32(I, 8), byteMask), 4);
    const __m256 ov = _mm256_i32gather_ps(c.codeFraction, _mm256_and_si256(_mm256_srli_epi32(I, 16), byteMask), 4);
    const __m256 userHue = _mm256_set1_ps(p.hue);
    const __m256 grey = _mm256_cmp_ps(os, _mm256_setzero_ps(), _CMP_EQ_OQ);
    const __m256 hueGrey = p.useOriginalSaturation ? hue : _mm256_add_ps(hue, userHue);
    const __m256 satGrey = p.useOriginalSaturation ? _mm256_setzero_ps() : saturation;
    const __m256 hueColour = _mm256_add_ps(hue, p.useOriginalHue ? oh : userHue);
    const __m256 satColour = p.useOriginalSaturation ? _mm256_mul_ps(saturation, os) : saturation;
    hue = select(grey, hueGrey, hueColour);
    saturation = select(grey, satGrey, satColour);
    if (p.useOriginalBrightness)
        value = _mm256_mul_ps(value, ov);

    // outA = A × alpha truncated, within a byte.
    const __m256 scaled = _mm256_mul_ps(_mm256_cvtepi32_ps(A), _mm256_set1_ps(p.alpha));
    __m256i outA = _mm256_cvttps_epi32(_mm256_min_ps(scaled, _mm256_set1_ps(255.0f)));
    outA = _mm256_and_si256(outA, _mm256_castps_si256(_mm256_cmp_ps(scaled, _mm256_set1_ps(1.0f), _CMP_GE_OQ)));

    {
        const Doubles v = widen(value);
        const __m256d k = _mm256_set1_pd(0.85), contrast = _mm256_set1_pd(double(p.contrast));
        const __m256d bright = _mm256_set1_pd(double(p.brightness));
        value = narrow({_mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(v.lo, k), contrast), k), bright),
                        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(v.hi, k), contrast), k), bright)});
    }
    saturation = _mm256_mul_ps(saturation, _mm256_set1_ps(p.saturation));

    // Wrap the hue by whole turns, lane by lane; hues the scalar stage
    // reduces first (huge or not finite) go back to it.
    const __m256 limit = _mm256_set1_ps(kHueWrapLimit);
    const __m256 inWrapRange = _mm256_and_ps(_mm256_cmp_ps(hue, _mm256_sub_ps(_mm256_setzero_ps(), limit), _CMP_GE_OQ),
                                             _mm256_cmp_ps(hue, limit, _CMP_LT_OQ));
    if (!allLanes(_mm256_or_ps(inWrapRange, clear)))
        return false;
    hue = select(clear, _mm256_setzero_ps(), hue);
    const __m256 one = _mm256_set1_ps(1.0f);
    for (__m256 m; anyLane(m = _mm256_cmp_ps(hue, _mm256_setzero_ps(), _CMP_LT_OQ));)
        hue = select(m, _mm256_add_ps(hue, one), hue);
    for (__m256 m; anyLane(m = _mm256_cmp_ps(hue, one, _CMP_GE_OQ));)
        hue = select(m, _mm256_sub_ps(hue, one), hue);
    saturation = clampUnit(saturation);
    value = clampUnit(value);
    value = _mm256_mul_ps(value, _mm256_div_ps(_mm256_cvtepi32_ps(outA), _mm256_set1_ps(255.0f)));

    // HSVtoRGB: the hue is already in [0, 1); s and v are already clamped.
    const Doubles hd = widen(hue);
    __m128 rLo, gLo, bLo, rHi, gHi, bHi;
    hueSector(hd.lo, rLo, gLo, bLo);
    hueSector(hd.hi, rHi, gHi, bHi);
    const Doubles sd = widen(saturation);
    const __m256d oneD = _mm256_set1_pd(1.0);
    const Doubles oneMinusS{_mm256_sub_pd(oneD, sd.lo), _mm256_sub_pd(oneD, sd.hi)};
    const __m256i R = codes(desaturate(_mm256_set_m128(rHi, rLo), oneMinusS, value));
    const __m256i G = codes(desaturate(_mm256_set_m128(gHi, gLo), oneMinusS, value));
    const __m256i B = codes(desaturate(_mm256_set_m128(bHi, bLo), oneMinusS, value));

    __m256i word = _mm256_or_si256(_mm256_or_si256(R, _mm256_slli_epi32(G, 8)),
                                   _mm256_or_si256(_mm256_slli_epi32(B, 16), _mm256_slli_epi32(outA, 24)));
    word = _mm256_andnot_si256(_mm256_castps_si256(clear), word);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), word);
    return true;
}

} // namespace gelcoat

#else

namespace gelcoat {

bool glossAvx2Available()
{
    return false;
}

bool aquifyEightAvx2(const GlossContext&, const std::uint8_t*, const std::uint8_t*, std::uint8_t*,
                     int, float)
{
    return false;
}

} // namespace gelcoat

#endif
