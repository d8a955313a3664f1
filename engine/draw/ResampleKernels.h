#pragma once
// The resampler's two passes over premultiplied RGBA bytes, in fixed point:
// each output sample is kResampleHalf plus the weighted input samples,
// shifted down by kResamplePrecision, kept within a byte, and colour limited
// to its pixel's alpha. Integer arithmetic keeps every pixel independent of
// how rows are split across threads and of the vector code that runs.

#include <cstddef>
#include <cstdint>

namespace gelcoat {

inline constexpr int kResamplePrecision = 14;
inline constexpr std::int32_t kResampleOne = 1 << kResamplePrecision;
inline constexpr std::int32_t kResampleHalf = 1 << (kResamplePrecision - 1);

// For each output index along one axis: the first input index, how many
// inputs it reads and their weights (`taps` per output index, summing to
// kResampleOne).
struct ResampleTaps {
    const int* first;
    const int* count;
    const std::int32_t* weights;
    int taps;
};

// One output row of the horizontal pass: outW pixels from the input row.
void resampleRowPixels(const std::uint8_t* src, std::uint8_t* dst, const ResampleTaps& k, int outW);

// Output row y of the vertical pass into dst0, and row y + 1 into dst1
// unless that is null: rowBytes bytes each from the input rows at src +
// first × stride. Two rows at once read the input rows they share once.
void resampleColumnBytes(const std::uint8_t* src, std::ptrdiff_t stride, std::uint8_t* dst0,
                         std::uint8_t* dst1, const ResampleTaps& k, int y, int rowBytes);

} // namespace gelcoat
