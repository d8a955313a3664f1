#include "engine/draw/Draw.h"
#include "engine/draw/ResampleKernels.h"
#include "engine/util/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>
#include <vector>

namespace gelcoat {

namespace {

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
// weights of the inputs it reads, which sum to exactly kResampleOne.
struct AxisKernel {
    int taps = 0;
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::int32_t> weights; // taps per output index

    ResampleTaps view() const { return {first.data(), count.data(), weights.data(), taps}; }
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
            out[t] = std::int32_t(std::lround(norm * kResampleOne));
            sum += out[t];
            if (out[t] > out[largest])
                largest = t;
        }
        out[largest] += kResampleOne - sum; // flat areas stay exactly flat
        k.first[std::size_t(i)] = std::min(lo, inSize - n);
        k.count[std::size_t(i)] = n;
    }
    return k;
}

// The kernels this thread made last, by sizes: a square image needs the
// same one for both axes, and an icon set (or a batch of them, file after
// file) one per size for each pass; making one costs thousands of sines.
const AxisKernel& axisKernel(int inSize, int outSize)
{
    struct Made {
        int inSize = 0, outSize = 0;
        AxisKernel kernel;
    };
    constexpr int kKept = 16;
    thread_local Made made[kKept];
    thread_local int oldest = 0;
    for (const Made& m : made)
        if (m.inSize == inSize && m.outSize == outSize)
            return m.kernel;
    Made& slot = made[oldest];
    oldest = (oldest + 1) % kKept;
    slot.kernel = makeAxisKernel(inSize, outSize);
    slot.inSize = inSize;
    slot.outSize = outSize;
    return slot.kernel;
}

// A reducing horizontal pass runs the vertical pass's kernel on bands of rows
// turned into columns: one weight then serves a whole vector of samples, and
// the inputs of neighbouring outputs are widened once, which a pixel at a
// time along the row cannot do. The sums are the same integers, so the
// bytes are those of the pass done along the rows.
constexpr int kBandRows = 16;

// Rows y0 … y0 + rows − 1 of src as columns: pixel x of row y0 + j goes to
// columns[x × rows + j]. Reading the rows side by side keeps the writes in
// order.
void rowsToColumns(const BitmapRep& src, int y0, int rows, std::uint32_t* columns)
{
    const std::uint8_t* row[kBandRows];
    for (int j = 0; j < rows; ++j)
        row[j] = src.row(y0 + j);
    const int width = src.pixelsWide();
    for (int x = 0; x < width; ++x, columns += rows)
        for (int j = 0; j < rows; ++j)
            std::memcpy(columns + j, row[j] + 4 * std::ptrdiff_t(x), 4);
}

void columnsToRows(const std::uint32_t* columns, int rows, BitmapRep& dst, int y0)
{
    std::uint8_t* row[kBandRows];
    for (int j = 0; j < rows; ++j)
        row[j] = dst.row(y0 + j);
    const int width = dst.pixelsWide();
    for (int x = 0; x < width; ++x, columns += rows)
        for (int j = 0; j < rows; ++j)
            std::memcpy(row[j] + 4 * std::ptrdiff_t(x), columns + j, 4);
}

// The horizontal pass from src into each of dsts (all as high as src),
// every band of src turned into columns once for all of them.
void reduceHorizontally(const BitmapRep& src, std::span<BitmapRep* const> dsts)
{
    std::vector<AxisKernel> kernels;
    int widest = 0;
    for (BitmapRep* dst : dsts) {
        kernels.push_back(axisKernel(src.pixelsWide(), dst->pixelsWide()));
        widest = std::max(widest, dst->pixelsWide());
    }
    const int height = src.pixelsHigh();
    const int bands = (height + kBandRows - 1) / kBandRows;
    parallelFor(bands, [&](int b0, int b1) {
        std::vector<std::uint32_t> in(std::size_t(src.pixelsWide()) * kBandRows);
        std::vector<std::uint32_t> out(std::size_t(widest) * kBandRows);
        for (int band = b0; band < b1; ++band) {
            const int y0 = band * kBandRows;
            const int rows = std::min(kBandRows, height - y0);
            const int columnBytes = 4 * rows;
            rowsToColumns(src, y0, rows, in.data());
            const auto* from = reinterpret_cast<const std::uint8_t*>(in.data());
            auto* to = reinterpret_cast<std::uint8_t*>(out.data());
            for (std::size_t d = 0; d < dsts.size(); ++d) {
                const ResampleTaps taps = kernels[d].view();
                const int outW = dsts[d]->pixelsWide();
                for (int x = 0; x < outW; x += 2)
                    resampleColumnBytes(from, columnBytes, to + std::ptrdiff_t(x) * columnBytes,
                                        x + 1 < outW ? to + std::ptrdiff_t(x + 1) * columnBytes
                                                     : nullptr,
                                        taps, x, columnBytes);
                columnsToRows(out.data(), rows, *dsts[d], y0);
            }
        }
    }, 2);
}

// Enlargements read a few inputs per output, too few to repay turning the
// rows into columns; they go along the rows a pixel at a time.
void enlargeHorizontally(const BitmapRep& src, BitmapRep& dst)
{
    const AxisKernel& k = axisKernel(src.pixelsWide(), dst.pixelsWide());
    const ResampleTaps taps = k.view();
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            resampleRowPixels(src.row(y), dst.row(y), taps, dst.pixelsWide());
    }, 8);
}

void resampleHorizontally(const BitmapRep& src, std::span<BitmapRep* const> dsts)
{
    std::vector<BitmapRep*> reduced;
    for (BitmapRep* dst : dsts) {
        if (dst->pixelsWide() > src.pixelsWide())
            enlargeHorizontally(src, *dst);
        else
            reduced.push_back(dst);
    }
    if (!reduced.empty())
        reduceHorizontally(src, reduced);
}

void resampleVertically(const BitmapRep& src, BitmapRep& dst)
{
    const AxisKernel& k = axisKernel(src.pixelsHigh(), dst.pixelsHigh());
    const ResampleTaps taps = k.view();
    const int rowBytes = dst.pixelsWide() * 4;
    parallelFor(dst.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; y += 2)
            resampleColumnBytes(src.row(0), src.bytesPerRow(), dst.row(y),
                                y + 1 < y1 ? dst.row(y + 1) : nullptr, taps, y, rowBytes);
    }, 8);
}

} // namespace

bool resamplePixels(const BitmapRep& src, BitmapRep& dst)
{
    BitmapRep* const one[] = {&dst};
    return resamplePixels(src, one);
}

bool resamplePixels(const BitmapRep& src, std::span<BitmapRep* const> dsts)
{
    if (!isEngineFormat(src))
        return false;
    for (BitmapRep* dst : dsts)
        if (!isEngineFormat(*dst))
            return false;
    // Those whose width changes share one horizontal pass, into images as
    // high as src; the vertical pass then goes from there.
    std::vector<BitmapRep> across;
    std::vector<BitmapRep*> acrossOut;
    across.reserve(dsts.size());
    for (BitmapRep* dst : dsts)
        if (dst->pixelsWide() != src.pixelsWide()) {
            if (dst->pixelsHigh() == src.pixelsHigh()) {
                acrossOut.push_back(dst);
                continue;
            }
            auto tmp = BitmapRep::makeUninitialized(dst->pixelsWide(), src.pixelsHigh());
            if (!tmp)
                return false;
            across.push_back(std::move(*tmp));
            acrossOut.push_back(&across.back());
        }
    if (!acrossOut.empty())
        resampleHorizontally(src, acrossOut);
    std::size_t next = 0;
    for (BitmapRep* dst : dsts) {
        const bool sameW = dst->pixelsWide() == src.pixelsWide();
        const bool sameH = dst->pixelsHigh() == src.pixelsHigh();
        if (sameW && sameH) {
            if (!copyPixels(src, *dst))
                return false;
        } else if (sameW) {
            resampleVertically(src, *dst);
        } else if (!sameH) {
            resampleVertically(across[next++], *dst);
        }
    }
    return true;
}

} // namespace gelcoat
