#pragma once
// The pictures of an icon set: the exact result (the composite at the
// stencil's size) fitted into squares of the sizes asked for. Size N has its
// longer side exactly N, is resampled by the pipeline's own final-size
// resampler (so it is what a render at that final size gives), centred,
// and padded with transparency; then flattened as chosen.

#include "engine/buffer/BitmapRep.h"
#include "document/export/FlattenChoice.h"
#include "document/settings/TintSettings.h"

#include <QString>

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace gelcoat {

// The sizes an icon set may have, and those offered ticked.
inline constexpr int kMinIconSize = 1;
inline constexpr int kMaxIconSize = 1024;
std::span<const int> commonIconSizes();   // 16, 24, 32, 48, 64, 128, 256, 512

struct IconImage {
    int size = 0;       // the square's side
    BitmapRep image;    // size × size
};

// The final size setting that makes the pipeline fit a result whose longer
// side is longerSide into a square of side n.
float iconFinalSize(int longerSide, int n);

// The width and height the result takes inside the square of side n: what
// a render at iconFinalSize() gives, its longer side made exactly n.
std::pair<int, int> iconFittedSize(int width, int height, int n);

// The set from the exact result, in the order of sizes; nothing, with the
// reason in *error, when memory runs out.
std::optional<std::vector<IconImage>> iconImagesFromResult(const BitmapRep& exactResult,
                                                           std::span<const int> sizes,
                                                           FlattenChoice flatten, QString* error);

// One render of the stencil with the settings (their final size aside),
// then iconImagesFromResult().
std::optional<std::vector<IconImage>> renderIconImages(const BitmapRep& stencil,
                                                       bool stencilIsSimple,
                                                       const TintSettings& settings,
                                                       std::span<const int> sizes,
                                                       FlattenChoice flatten, QString* error);

// "16,24,32" as sizes, each from kMinIconSize to kMaxIconSize, sorted and
// without repeats; nothing, with the reason in *error, otherwise.
std::optional<std::vector<int>> parseIconSizes(const QString& text, QString* error);

} // namespace gelcoat
