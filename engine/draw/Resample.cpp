#include "draw/Draw.h"
#include "util/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace gelcoat {

namespace {

// Fixed-point weights: integer arithmetic keeps every pixel independent of
// how rows are split across threads.
constexpr int kPrecision = 14;
constexpr std::int32_t kOne = 1 << kPrecision;
constexpr std::int32_t kHalf = 1 << (kPrecision - 1);
constexpr double kLobes = 3.0;

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    x *= M_PI;
    return std::sin(x) / x;
}

double lanczos(double x)
{
    if (x <= -kLobes || x >= kLobes)
        return 0.0;
    return sinc(x) * sinc(x / kLobes);
}

// For each output index along one axis: the first input index and the
// weights of the inputs it reads, which sum to exactly kOne.
struct AxisKernel {
    int taps = 0;
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::int32_t> weights; // taps per output index

    const std::int32_t* weightsOf(int i) const { return weights.data() + std::size_t(i) * taps; }
};

AxisKernel makeAxisKernel(int inSize, int outSize)
{
    const double scale = double(inSize) / double(outSize);
    const double filterScale = std::max(scale, 1.0);
    const double support = kLobes * filterScale;
    AxisKernel k;
    k.taps = int(std::ceil(support)) * 2 + 1;
    k.first.resize(std::size_t(outSize));
    k.count.resize(std::size_t(outSize));
    k.weights.assign(std::size_t(outSize) * std::size_t(k.taps), 0);
    std::vector<double> w(std::size_t(k.taps));
    for (int i = 0; i < outSize; ++i) {
        const double center = (i + 0.5) * scale;
        const int lo = std::max(0, int(std::floor(center - support + 0.5)));
        const int hi = std::min(inSize, int(std::floor(center + support + 0.5)));
        const int n = std::clamp(hi - lo, 1, k.taps);
        double total = 0.0;
        for (int t = 0; t < n; ++t) {
            w[std::size_t(t)] = lanczos((lo + t - center + 0.5) / filterScale);
            total += w[std::size_t(t)];
        }
        std::int32_t* out = k.weights.data() + std::size_t(i) * k.taps;
        std::int32_t sum = 0;
        int largest = 0;
        for (int t = 0; t < n; ++t) {
            const double norm = total != 0.0 ? w[std::size_t(t)] / total : (t == 0 ? 1.0 : 0.0);
            out[t] = std::int32_t(std::lround(norm * kOne));
            sum += out[t];
            if (out[t] > out[largest])
                largest = t;
        }
        out[largest] += kOne - sum; // flat areas stay exactly flat
        k.first[std::size_t(i)] = std::min(lo, inSize - n);
        k.count[std::size_t(i)] = n;
    }
    return k;
}

inline std::uint8_t toByte(std::int32_t acc)
{
    const std::int32_t v = acc >> kPrecision;
    return std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Premultiplied colour never exceeds its alpha, whatever the filter's
// negative lobes did.
inline void limitToAlpha(std::uint8_t* p)
{
    const std::uint8_t a = p[3];
    p[0] = std::min(p[0], a);
    p[1] = std::min(p[1], a);
    p[2] = std::min(p[2], a);
}

#if defined(__SSE2__)

// Two 16-bit weights side by side in one 32-bit lane, for madd over
// interleaved samples of two taps.
inline std::int32_t packedWeights(std::int32_t w0, std::int32_t w1)
{
    return std::int32_t((std::uint32_t(std::uint16_t(std::int16_t(w1))) << 16) |
                        std::uint16_t(std::int16_t(w0)));
}

inline __m128i weightPair(std::int32_t w0, std::int32_t w1)
{
    return _mm_set1_epi32(packedWeights(w0, w1));
}

// Packs four int32 accumulators of whole pixels to bytes, saturating at 0
// and 255, and limits each colour byte to its pixel's alpha.
inline __m128i finishPixels(__m128i a0, __m128i a1, __m128i a2, __m128i a3)
{
    const __m128i w01 = _mm_packs_epi32(_mm_srai_epi32(a0, kPrecision), _mm_srai_epi32(a1, kPrecision));
    const __m128i w23 = _mm_packs_epi32(_mm_srai_epi32(a2, kPrecision), _mm_srai_epi32(a3, kPrecision));
    const __m128i bytes = _mm_packus_epi16(w01, w23);
    __m128i alpha = _mm_srli_epi32(bytes, 24);
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    return _mm_min_epu8(bytes, alpha);
}

inline __m128i loadPixel(const std::uint8_t* p)
{
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

void resampleRow(const std::uint8_t* src, std::uint8_t* dst, const AxisKernel& k, int outW)
{
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < outW; ++x) {
        const std::int32_t* w = k.weightsOf(x);
        const std::uint8_t* s = src + 4 * k.first[std::size_t(x)];
        const int n = k.count[std::size_t(x)];
        __m128i acc = _mm_set1_epi32(kHalf);
        int t = 0;
        for (; t + 1 < n; t += 2, s += 8) {
            const __m128i pair = _mm_unpacklo_epi8(loadPixel(s), loadPixel(s + 4));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi8(pair, zero), weightPair(w[t], w[t + 1])));
        }
        if (t < n) {
            const __m128i single = _mm_unpacklo_epi8(loadPixel(s), zero);
            acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi8(single, zero), weightPair(w[t], 0)));
        }
        const __m128i out = finishPixels(acc, acc, acc, acc);
        const std::int32_t v = _mm_cvtsi128_si32(out);
        std::memcpy(dst + 4 * x, &v, 4);
    }
}

// One output row of the vertical pass, 16 bytes (four pixels) at a time
// with all taps kept in registers; returns how many bytes it did.
int resampleColumnRowSse2(const BitmapRep& src, std::uint8_t* dst, const AxisKernel& k, int y,
                          int begin, int rowBytes)
{
    const std::int32_t* w = k.weightsOf(y);
    const int first = k.first[std::size_t(y)];
    const int n = k.count[std::size_t(y)];
    const __m128i zero = _mm_setzero_si128();
    int i = begin;
    for (; i + 16 <= rowBytes; i += 16) {
        __m128i a0 = _mm_set1_epi32(kHalf), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < n; t += 2) {
            const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.row(first + t) + i));
            const __m128i s1 = t + 1 < n
                ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(src.row(first + t + 1) + i))
                : zero;
            const __m128i wp = weightPair(w[t], t + 1 < n ? w[t + 1] : 0);
            const __m128i lo = _mm_unpacklo_epi8(s0, s1);
            const __m128i hi = _mm_unpackhi_epi8(s0, s1);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wp));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wp));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wp));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wp));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), finishPixels(a0, a1, a2, a3));
    }
    return i;
}

// The same 32 bytes at a time. Every AVX2 step works within 128-bit lanes
// exactly as the SSE2 steps do, so the bytes are the same.
__attribute__((target("avx2"))) int resampleColumnRowAvx2(const BitmapRep& src, std::uint8_t* dst,
                                                          const AxisKernel& k, int y, int rowBytes)
{
    const std::int32_t* w = k.weightsOf(y);
    const int first = k.first[std::size_t(y)];
    const int n = k.count[std::size_t(y)];
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 32 <= rowBytes; i += 32) {
        __m256i a0 = _mm256_set1_epi32(kHalf), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < n; t += 2) {
            const __m256i s0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src.row(first + t) + i));
            const __m256i s1 = t + 1 < n
                ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src.row(first + t + 1) + i))
                : zero;
            const __m256i wp = _mm256_set1_epi32(packedWeights(w[t], t + 1 < n ? w[t + 1] : 0));
            const __m256i lo = _mm256_unpacklo_epi8(s0, s1);
            const __m256i hi = _mm256_unpackhi_epi8(s0, s1);
            a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), wp));
            a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), wp));
            a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), wp));
            a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), wp));
        }
        const __m256i w01 = _mm256_packs_epi32(_mm256_srai_epi32(a0, kPrecision), _mm256_srai_epi32(a1, kPrecision));
        const __m256i w23 = _mm256_packs_epi32(_mm256_srai_epi32(a2, kPrecision), _mm256_srai_epi32(a3, kPrecision));
        const __m256i bytes = _mm256_packus_epi16(w01, w23);
        __m256i alpha = _mm256_srli_epi32(bytes, 24);
        alpha = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 8));
        alpha = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_min_epu8(bytes, alpha));
    }
    return i;
}

bool haveAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}

void resampleColumnRow(const BitmapRep& src, std::uint8_t* dst, const AxisKernel& k, int y,
                       int rowBytes, std::int32_t*)
{
    int i = haveAvx2() ? resampleColumnRowAvx2(src, dst, k, y, rowBytes) : 0;
    // The SSE2 loop takes what is left in 16-byte steps, then single pixels.
    i = resampleColumnRowSse2(src, dst, k, y, i, rowBytes);
    const std::int32_t* w = k.weightsOf(y);
    const int first = k.first[std::size_t(y)];
    const int n = k.count[std::size_t(y)];
    for (; i < rowBytes; i += 4) {
        std::int32_t acc[4] = {kHalf, kHalf, kHalf, kHalf};
        for (int t = 0; t < n; ++t)
            for (int c = 0; c < 4; ++c)
                acc[c] += w[t] * src.row(first + t)[i + c];
        for (int c = 0; c < 4; ++c)
            dst[i + c] = toByte(acc[c]);
        limitToAlpha(dst + i);
    }
}

#else

void resampleRow(const std::uint8_t* src, std::uint8_t* dst, const AxisKernel& k, int outW)
{
    for (int x = 0; x < outW; ++x) {
        const std::int32_t* w = k.weightsOf(x);
        const std::uint8_t* s = src + 4 * k.first[std::size_t(x)];
        std::int32_t acc[4] = {kHalf, kHalf, kHalf, kHalf};
        for (int t = 0, n = k.count[std::size_t(x)]; t < n; ++t, s += 4)
            for (int c = 0; c < 4; ++c)
                acc[c] += w[t] * s[c];
        std::uint8_t* d = dst + 4 * x;
        for (int c = 0; c < 4; ++c)
            d[c] = toByte(acc[c]);
        limitToAlpha(d);
    }
}

void resampleColumnRow(const BitmapRep& src, std::uint8_t* dst, const AxisKernel& k, int y,
                       int rowBytes, std::int32_t* acc)
{
    std::fill(acc, acc + rowBytes, kHalf);
    const std::int32_t* w = k.weightsOf(y);
    const int first = k.first[std::size_t(y)];
    for (int t = 0, n = k.count[std::size_t(y)]; t < n; ++t) {
        const std::uint8_t* s = src.row(first + t);
        for (int i = 0; i < rowBytes; ++i)
            acc[i] += w[t] * std::int32_t(s[i]);
    }
    for (int i = 0; i < rowBytes; ++i)
        dst[i] = toByte(acc[i]);
    for (int i = 0; i < rowBytes; i += 4)
        limitToAlpha(dst + i);
}

#endif

void resampleHorizontally(const BitmapRep& src, BitmapRep& dst)
{
    const AxisKernel k = makeAxisKernel(src.pixelsWide(), dst.pixelsWide());
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            resampleRow(src.row(y), dst.row(y), k, dst.pixelsWide());
    }, 8);
}

void resampleVertically(const BitmapRep& src, BitmapRep& dst)
{
    const AxisKernel k = makeAxisKernel(src.pixelsHigh(), dst.pixelsHigh());
    const int rowBytes = dst.pixelsWide() * 4;
    parallelFor(dst.pixelsHigh(), [&](int y0, int y1) {
        std::unique_ptr<std::int32_t[]> acc(new std::int32_t[std::size_t(rowBytes)]);
        for (int y = y0; y < y1; ++y)
            resampleColumnRow(src, dst.row(y), k, y, rowBytes, acc.get());
    }, 8);
}

} // namespace

bool resamplePixels(const BitmapRep& src, BitmapRep& dst)
{
    if (!isEngineFormat(src) || !isEngineFormat(dst))
        return false;
    const bool sameW = src.pixelsWide() == dst.pixelsWide();
    const bool sameH = src.pixelsHigh() == dst.pixelsHigh();
    if (sameW && sameH)
        return copyPixels(src, dst);
    if (sameW) {
        resampleVertically(src, dst);
        return true;
    }
    if (sameH) {
        resampleHorizontally(src, dst);
        return true;
    }
    auto tmp = BitmapRep::makeUninitialized(dst.pixelsWide(), src.pixelsHigh());
    if (!tmp)
        return false;
    resampleHorizontally(src, *tmp);
    resampleVertically(*tmp, dst);
    return true;
}

} // namespace gelcoat
