#include "document/pipeline/StencilDrawing.h"

#include "engine/draw/Draw.h"

#include <string>

namespace gelcoat {

BitmapRep allocateImage(int width, int height, bool zeroed)
{
    auto rep = zeroed ? BitmapRep::make(width, height) : BitmapRep::makeUninitialized(width, height);
    if (!rep)
        throw RenderFailure("Not enough memory for a " + std::to_string(width) + " × " +
                            std::to_string(height) + " pixel image.");
    return std::move(*rep);
}

void setUpStencil(std::optional<BitmapRep>& stencil, int width, int height,
                  const BitmapRep& sourceImage, int rotation)
{
    // Rotation 0 replaces every pixel, so only the turned drawings need a
    // transparent start.
    if (!stencil)
        stencil = allocateImage(width, height, rotation != 0);
    if (rotation == 0) {
        if (!resamplePixels(sourceImage, *stencil))
            throw RenderFailure("The image could not be drawn.");
        return;
    }
    drawRotated(sourceImage, *stencil, rotation);
}

} // namespace gelcoat
