#include "document/icons/IconImages.h"

#include "document/export/ResultExport.h"
#include "document/pipeline/RenderPipeline.h"
#include "document/pipeline/StencilDrawing.h"
#include "engine/draw/Draw.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace gelcoat {

namespace {

constexpr int kCommonSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// The fitted picture copied into the middle of a transparent square.
std::optional<BitmapRep> padded(const BitmapRep& fitted, int n)
{
    std::optional<BitmapRep> square = BitmapRep::make(n, n);
    if (!square)
        return std::nullopt;
    const int left = (n - fitted.pixelsWide()) / 2;
    const int top = (n - fitted.pixelsHigh()) / 2;
    for (int y = 0; y < fitted.pixelsHigh(); ++y)
        std::memcpy(square->row(top + y) + 4 * left, fitted.row(y),
                    std::size_t(fitted.pixelsWide()) * 4);
    return square;
}

} // namespace

std::span<const int> commonIconSizes()
{
    return kCommonSizes;
}

float iconFinalSize(int longerSide, int n)
{
    return float(100.0 * double(n) / double(longerSide));
}

std::pair<int, int> iconFittedSize(int width, int height, int n)
{
    const int longer = std::max(width, height);
    const auto size =
        RenderPipeline::finalPixelSize(float(width), float(height), iconFinalSize(longer, n));
    auto [w, h] = size.value_or(std::make_pair(n, n));
    // The percentage is a float: the longer side may miss n by a rounding.
    if (width >= height)
        w = n;
    else
        h = n;
    return {std::min(w, n), std::min(h, n)};
}

std::optional<std::vector<IconImage>> iconImagesFromResult(const BitmapRep& exactResult,
                                                           std::span<const int> sizes,
                                                           FlattenChoice flatten, QString* error)
{
    std::vector<IconImage> icons;
    try {
        for (const int n : sizes) {
            const auto [w, h] = iconFittedSize(exactResult.pixelsWide(), exactResult.pixelsHigh(), n);
            std::optional<BitmapRep> fitted;
            setUpStencil(fitted, w, h, exactResult, 0);
            std::optional<BitmapRep> square = padded(*fitted, n);
            if (square && flatten != FlattenChoice::None)
                square = flattenedImage(*square, flatten);
            if (!square)
                throw RenderFailure("Not enough memory for the icon images.");
            icons.push_back({n, std::move(*square)});
        }
    } catch (const std::exception& e) {
        *error = QString::fromUtf8(e.what());
        return std::nullopt;
    }
    return icons;
}

std::optional<std::vector<IconImage>> renderIconImages(const BitmapRep& stencil,
                                                       bool stencilIsSimple,
                                                       const TintSettings& settings,
                                                       std::span<const int> sizes,
                                                       FlattenChoice flatten, QString* error)
{
    // At 100 % the pipeline's last step is a plain copy of the exact result.
    TintSettings exact = settings;
    exact.finalSize = 100;
    RenderPipeline pipeline;
    pipeline.setKeepsStageImages(false);
    pipeline.remakeGelcoatWithChanges({&stencil, stencilIsSimple, &exact}, PipelineChanges::all());
    const std::optional<BitmapRep>& result = pipeline.finalMixImage();
    if (!pipeline.finalMixImageValid() || !result) {
        *error = QString::fromStdString(pipeline.lastFailure());
        if (error->isEmpty())
            *error = QStringLiteral("The stencil could not be rendered.");
        return std::nullopt;
    }
    return iconImagesFromResult(*result, sizes, flatten, error);
}

std::optional<std::vector<int>> parseIconSizes(const QString& text, QString* error)
{
    std::vector<int> sizes;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < kMinIconSize || n > kMaxIconSize) {
            *error = QStringLiteral("icon sizes are whole numbers from %1 to %2, not \"%3\"")
                         .arg(kMinIconSize)
                         .arg(kMaxIconSize)
                         .arg(part);
            return std::nullopt;
        }
        sizes.push_back(n);
    }
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

} // namespace gelcoat
