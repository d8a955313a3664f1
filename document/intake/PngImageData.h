#pragma once
// A PNG's image data, inflated in one call. libdeflate inflates the usual
// stencil (a few kilobytes that open into megabytes of long runs) several
// times faster than zlib's streaming inflate under libpng, which took a
// third of a one-shot render's decoding and rendering.

#include <QByteArray>

#include <cstdint>
#include <memory>

namespace gelcoat {

// The filtered rows (each a filter-type byte and rowBytes bytes) of a
// well-formed non-interlaced PNG: every chunk's CRC right, the IDAT chunks
// side by side, an IEND, no unknown critical chunk, and a zlib stream that
// checks out and gives exactly height rows. Nothing for anything else, which
// the caller hands to libpng for its precise verdict: this path only ever
// accepts files libpng accepts.
std::unique_ptr<std::uint8_t[]> inflatePngImageData(const QByteArray& png, std::uint32_t height,
                                                     std::size_t rowBytes);

// Undoes one row's PNG filter in place; previous is the row above,
// unfiltered (zeros above the first row). False for an unknown filter.
bool unfilterPngRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* previous,
                    std::size_t rowBytes, int bytesPerPixel);

} // namespace gelcoat
