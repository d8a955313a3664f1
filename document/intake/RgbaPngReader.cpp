#include "document/intake/RgbaPngReader.h"

#include "document/intake/PngImageData.h"
#include "document/intake/Premultiply.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace gelcoat {

namespace {

struct Source {
    const QByteArray* bytes;
    qsizetype at;
};

void readFromBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (qsizetype(length) > source->bytes->size() - source->at)
        png_error(png, "the data ends before the picture does");
    std::memcpy(data, source->bytes->constData() + source->at, length);
    source->at += qsizetype(length);
}

// libpng's message for the error text; warnings are dropped, as Qt's
// reader drops them.
void keepError(png_structp png, png_const_charp message)
{
    auto* error = static_cast<QString*>(png_get_error_ptr(png));
    if (error && error->isEmpty())
        *error = QString::fromUtf8(message);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Straight RGBA to premultiplied, each sample rounded as qPremultiply()
// does; opaque and clear pixels, most of a stencil, take the short way.
void premultiplyRow(const std::uint8_t* in, std::uint8_t* out, int width)
{
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
        const std::uint32_t a = in[3];
        if (a == 255) {
            std::memcpy(out, in, 4);
        } else if (a == 0) {
            std::memset(out, 0, 4);
        } else {
            for (int c = 0; c < 3; ++c)
                out[c] = premultipliedSample(in[c], a);
            out[3] = std::uint8_t(a);
        }
    }
}

SourcePicture describedRgba(BitmapRep pixels)
{
    SourcePicture picture;
    picture.pixels = std::move(pixels);
    picture.representationCount = 1;
    picture.isBitmap = true;
    picture.isPlanar = false;
    picture.hasAlpha = true;
    picture.samplesPerPixel = 4;
    picture.bitsPerSample = 8;
    picture.bitsPerPixel = 32;
    return picture;
}

// The whole image data inflated at once; nothing when the file is anything
// but well formed, for libpng to judge.
std::optional<SourcePicture> readWholeRgbaPng(const QByteArray& bytes, const PngHeader& header)
{
    const std::size_t rowBytes = std::size_t(header.width) * 4;
    const std::unique_ptr<std::uint8_t[]> rows =
        inflatePngImageData(bytes, header.height, rowBytes);
    if (!rows)
        return std::nullopt;
    std::optional<BitmapRep> pixels =
        BitmapRep::makeLayout(int(header.width), int(header.height), 4, 8, true, false, 0, false);
    if (!pixels)
        return std::nullopt;
    const std::vector<std::uint8_t> zeros(rowBytes, 0);
    const std::uint8_t* previous = zeros.data();
    for (std::uint32_t y = 0; y < header.height; ++y) {
        std::uint8_t* row = rows.get() + std::size_t(y) * (rowBytes + 1);
        if (!unfilterPngRow(row[0], row + 1, previous, rowBytes, 4))
            return std::nullopt;
        premultiplyRow(row + 1, pixels->row(int(y)), int(header.width));
        previous = row + 1;
    }
    return describedRgba(std::move(*pixels));
}

// Row by row through libpng: for files the whole-data path turned down,
// with libpng's own reason when they are damaged.
std::optional<SourcePicture> readRgbaPngByRows(const QByteArray& bytes, QString* error)
{
    QString reason;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &reason, keepError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        if (error)
            *error = QStringLiteral("Not enough memory to decode the image.");
        return std::nullopt;
    }
    // Made before the jump point: libpng's errors longjmp past anything
    // made after it.
    SourcePicture picture;
    std::vector<std::uint8_t> row;
    Source source{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (error)
            *error = QStringLiteral("The PNG image cannot be decoded (%1).").arg(reason);
        return std::nullopt;
    }
    png_set_read_fn(png, &source, readFromBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!bitmapSizeAllowed(width, height)) {
        reason = QStringLiteral("%1 × %2 pixels, beyond the limit of %3 pixels")
                     .arg(width)
                     .arg(height)
                     .arg(kMaxBitmapPixels);
        png_error(png, "too large");
    }
    {
        std::optional<BitmapRep> pixels =
            BitmapRep::makeLayout(int(width), int(height), 4, 8, true, false, 0, false);
        if (!pixels) {
            reason = QStringLiteral("not enough memory");
            png_error(png, "no memory");
        }
        picture.pixels = std::move(*pixels);
    }
    row.resize(std::size_t(width) * 4);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        premultiplyRow(row.data(), picture.pixels.row(int(y)), int(width));
    }
    png_read_end(png, nullptr);   // a file cut off after the image data is damaged too
    png_destroy_read_struct(&png, &info, nullptr);
    return describedRgba(std::move(picture.pixels));
}

} // namespace

bool readsAsRgbaPng(const PngHeader& header, const QByteArray& bytes)
{
    return header.colourType == 6 && header.bitDepth == 8 && !header.interlaced &&
           bitmapSizeAllowed(header.width, header.height) && !pngHasExif(bytes);
}

std::optional<SourcePicture> readRgbaPng(const QByteArray& bytes, const PngHeader& header,
                                         QString* error, RgbaPngPath path)
{
    if (path == RgbaPngPath::Fastest)
        if (std::optional<SourcePicture> picture = readWholeRgbaPng(bytes, header))
            return picture;
    return readRgbaPngByRows(bytes, error);
}

} // namespace gelcoat
