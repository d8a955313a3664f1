#include "app/viewbridge/BitmapImage.h"

#include <cstring>

namespace gelcoat {

// Qt's premultiplied RGBA8888 stores R, G, B, A in memory, as the engine does.
constexpr QImage::Format engineFormat = QImage::Format_RGBA8888_Premultiplied;

QImage imageFromBitmap(const BitmapRep& bitmap)
{
    if (bitmap.samplesPerPixel() != 4 || bitmap.bitsPerSample() != 8 || bitmap.isPlanar()
        || !bitmap.bitmapData())
        return {};
    QImage image(bitmap.pixelsWide(), bitmap.pixelsHigh(), engineFormat);
    if (image.isNull())
        return {};
    const std::size_t rowBytes = std::size_t(bitmap.pixelsWide()) * 4;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y)
        std::memcpy(image.scanLine(y), bitmap.row(y), rowBytes);
    return image;
}

QImage imageSharingBitmap(std::shared_ptr<const BitmapRep> bitmap)
{
    if (!bitmap || bitmap->samplesPerPixel() != 4 || bitmap->bitsPerSample() != 8 ||
        bitmap->isPlanar() || !bitmap->bitmapData())
        return {};
    const BitmapRep& rep = *bitmap;
    auto* keeper = new std::shared_ptr<const BitmapRep>(std::move(bitmap));
    return QImage(
        rep.bitmapData(), rep.pixelsWide(), rep.pixelsHigh(), rep.bytesPerRow(), engineFormat,
        [](void* kept) { delete static_cast<std::shared_ptr<const BitmapRep>*>(kept); }, keeper);
}

std::optional<BitmapRep> bitmapFromImage(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgba = image.convertToFormat(engineFormat);
    std::optional<BitmapRep> bitmap = BitmapRep::makeUninitialized(rgba.width(), rgba.height());
    if (!bitmap)
        return std::nullopt;
    const std::size_t rowBytes = std::size_t(rgba.width()) * 4;
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(bitmap->row(y), rgba.constScanLine(y), rowBytes);
    return bitmap;
}

} // namespace gelcoat
