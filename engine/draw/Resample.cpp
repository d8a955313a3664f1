#include "draw/Draw.h"
#include "util/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

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

__attribute__((target_clones("avx2", "default")))
void resampleColumnRow(const BitmapRep& src, std::uint8_t* dst, const AxisKernel& k, int y,
                       int rowBytes, std::int32_t* acc)
{
    std::fill(acc, acc + rowBytes, kHalf);
    const std::int32_t* w = k.weightsOf(y);
    const int first = k.first[std::size_t(y)];
    for (int t = 0, n = k.count[std::size_t(y)]; t < n; ++t) {
        const std::uint8_t* s = src.row(first + t);
        const std::int32_t wt = w[t];
        for (int i = 0; i < rowBytes; ++i)
            acc[i] += wt * std::int32_t(s[i]);
    }
    for (int i = 0; i < rowBytes; ++i)
        dst[i] = toByte(acc[i]);
    for (int i = 0; i < rowBytes; i += 4)
        limitToAlpha(dst + i);
}

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
    auto tmp = BitmapRep::make(dst.pixelsWide(), src.pixelsHigh());
    if (!tmp)
        return false;
    resampleHorizontally(src, *tmp);
    resampleVertically(*tmp, dst);
    return true;
}

} // namespace gelcoat
