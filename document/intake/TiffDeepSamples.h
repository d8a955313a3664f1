#pragma once
// 16-bit grey and RGB TIFF directories, with or without alpha, and 8-bit
// grey with alpha. libtiff's RGBA interface narrows 16-bit grey by dropping
// the low byte and ignores its alpha, and does not premultiply 8-bit grey by
// an unassociated alpha; these are read sample by sample instead, narrowed
// and premultiplied as every other picture of the kind is.

#include "engine/buffer/BitmapRep.h"

#include <tiffio.h>

#include <QString>

#include <optional>

namespace gelcoat {

// The current directory's layout, as the TIFF decoder has read it.
struct DeepTiffLayout {
    std::uint32_t width = 0, height = 0;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t extraCount = 0;
    const std::uint16_t* extraTypes = nullptr;
};

// True for the layouts readDeepTiff() takes: contiguous unsigned samples,
// grey or RGB with at least the colour samples, of 16 bits, or of 8 bits
// for grey with alpha.
bool isDeepTiff(TIFF* tif, const DeepTiffLayout& layout);

// Pixels as the intake expects them: grey (1 sample) or RGB (3) without
// alpha, RGBA premultiplied (4) with it, rows top first. Nothing, with the
// reason in *error, when a strip or tile cannot be read.
std::optional<BitmapRep> readDeepTiff(TIFF* tif, const DeepTiffLayout& layout,
                                      QString* error = nullptr);

} // namespace gelcoat
