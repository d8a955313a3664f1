#include "document/image/BitmapImage.h"

#include "document/intake/Premultiply.h"

#include <cstring>

namespace gelcoat {

namespace {

// Qt's premultiplied RGBA8888 stores R, G, B, A in memory, as the engine does.
constexpr QImage::Format engineFormat = QImage::Format_RGBA8888_Premultiplied;

// What most pictures with alpha decode to, converted and copied in one
// pass rather than converted by Qt into a second full-size image first.
std::optional<BitmapRep> premultipliedFromArgb(const QImage& image)
{
    auto pixels = BitmapRep::makeUninitialized(image.width(), image.height());
    if (!pixels)
        return std::nullopt;
    for (int y = 0; y < image.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint8_t* out = pixels->row(y);
        for (int x = 0; x < image.width(); ++x, out += 4) {
            const std::uint32_t p = in[x], a = p >> 24;
            out[0] = premultipliedSample(p >> 16, a);
            out[1] = premultipliedSample(p >> 8, a);
            out[2] = premultipliedSample(p, a);
            out[3] = std::uint8_t(a);
        }
    }
    return pixels;
}

} // namespace

QImage imageOverBitmap(const BitmapRep& bitmap)
{
    if (!isEngineFormat(bitmap) || !bitmap.bitmapData())
        return {};
    return QImage(bitmap.bitmapData(), bitmap.pixelsWide(), bitmap.pixelsHigh(),
                  bitmap.bytesPerRow(), engineFormat);
}

QImage imageSharingBitmap(std::shared_ptr<const BitmapRep> bitmap)
{
    if (!bitmap || imageOverBitmap(*bitmap).isNull())
        return {};
    const BitmapRep& rep = *bitmap;
    auto* keeper = new std::shared_ptr<const BitmapRep>(std::move(bitmap));
    return QImage(
        rep.bitmapData(), rep.pixelsWide(), rep.pixelsHigh(), rep.bytesPerRow(), engineFormat,
        [](void* kept) { delete static_cast<std::shared_ptr<const BitmapRep>*>(kept); }, keeper);
}

QImage imageFromBitmap(const BitmapRep& bitmap)
{
    return imageOverBitmap(bitmap).copy();
}

std::optional<BitmapRep> bitmapFromImage(QImage image, int samplesPerPixel)
{
    QImage::Format target;
    switch (samplesPerPixel) {
    case 4: target = engineFormat; break;
    case 3: target = QImage::Format_RGB888; break;
    case 1: target = QImage::Format_Grayscale8; break;
    default: return std::nullopt;
    }
    if (image.isNull())
        return std::nullopt;
    if (target == engineFormat && image.format() == QImage::Format_ARGB32)
        return premultipliedFromArgb(image);
    // In place where the depth allows: no second full-size copy.
    image.convertTo(target);
    if (image.isNull() || image.format() != target)
        return std::nullopt;
    auto pixels = BitmapRep::makeLayout(image.width(), image.height(), samplesPerPixel, 8,
                                        samplesPerPixel == 4, false, 0, false);
    if (!pixels)
        return std::nullopt;
    const std::size_t rowBytes = std::size_t(image.width()) * std::size_t(samplesPerPixel);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(pixels->row(y), image.constScanLine(y), rowBytes);
    return pixels;
}

} // namespace gelcoat
