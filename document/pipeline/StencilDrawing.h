#pragma once
// Drawing one picture into an offscreen image of a given size: how the
// pipeline makes its scaled result.

#include "engine/buffer/BitmapRep.h"

#include <optional>
#include <stdexcept>

namespace gelcoat {

// A stage that cannot go on (no memory, a size beyond the buffer limit).
class RenderFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A new buffer of the given size; throws RenderFailure when it cannot be had.
BitmapRep allocateImage(int width, int height, bool zeroed = false);

// Draws sourceImage into stencil, making a transparent width × height
// image first when there is none. Rotation 0 resamples the whole picture to
// exactly the stencil's size, replacing every pixel; 90, 180 and 270 draw
// it at its natural size turned counter-clockwise; other angles draw
// nothing.
void setUpStencil(std::optional<BitmapRep>& stencil, int width, int height,
                  const BitmapRep& sourceImage, int rotation);

} // namespace gelcoat
