#include "document/intake/TiffDeepSamples.h"

#include "document/intake/Premultiply.h"
#include "document/intake/SampleReduction.h"

#include <algorithm>
#include <memory>
#include <new>

namespace gelcoat {

namespace {

bool isGrey(std::uint16_t photometric)
{
    return photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK;
}

// How the stored rows are turned to show the picture top-left first, as
// libtiff's RGBA interface turns them (it does not transpose).
struct Flips {
    bool horizontal = false, vertical = false;
};

Flips flipsFor(TIFF* tif)
{
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
    switch (orientation) {
    case ORIENTATION_TOPRIGHT:
    case ORIENTATION_RIGHTTOP: return {true, false};
    case ORIENTATION_BOTRIGHT:
    case ORIENTATION_RIGHTBOT: return {true, true};
    case ORIENTATION_BOTLEFT:
    case ORIENTATION_LEFTBOT: return {false, true};
    default: return {};
    }
}

int coloursOf(const DeepTiffLayout& layout)
{
    return isGrey(layout.photometric) ? 1 : 3;
}

bool hasAlpha(const DeepTiffLayout& layout)
{
    return layout.extraCount > 0 && layout.samplesPerPixel > coloursOf(layout);
}

// Writes stored pixels of one run of a row into the picture.
class PixelWriter {
public:
    PixelWriter(BitmapRep& pixels, const DeepTiffLayout& layout, Flips flips)
        : pixels_(pixels), layout_(layout), flips_(flips),
          colours_(coloursOf(layout)),
          // An unspecified extra sample is taken as associated alpha, as
          // libtiff takes it.
          associated_(hasAlpha(layout) && layout.extraTypes &&
                      layout.extraTypes[0] != EXTRASAMPLE_UNASSALPHA),
          invert_(layout.photometric == PHOTOMETRIC_MINISWHITE)
    {
    }

    template <class Sample>
    void write(const Sample* in, std::uint32_t x, std::uint32_t y, std::uint32_t count)
    {
        constexpr std::uint32_t maxValue = (1u << (8 * sizeof(Sample))) - 1;
        const int outY = int(flips_.vertical ? layout_.height - 1 - y : y);
        std::uint8_t* row = pixels_.row(outY);
        const int samples = pixels_.samplesPerPixel();
        for (std::uint32_t i = 0; i < count; ++i, in += layout_.samplesPerPixel) {
            const std::uint32_t outX = flips_.horizontal ? layout_.width - 1 - (x + i) : x + i;
            std::uint8_t* out = row + std::size_t(outX) * std::size_t(samples);
            std::uint8_t colour[3];
            for (int c = 0; c < colours_; ++c)
                colour[c] = reducedSample(invert_ ? maxValue - in[c] : in[c], maxValue);
            if (colours_ == 1)
                colour[1] = colour[2] = colour[0];
            if (samples == 1) {
                out[0] = colour[0];
            } else if (samples == 3) {
                out[0] = colour[0], out[1] = colour[1], out[2] = colour[2];
            } else {
                const std::uint8_t a = reducedSample(in[colours_], maxValue);
                for (int c = 0; c < 3; ++c)
                    out[c] = associated_ ? colour[c] : premultipliedSample(colour[c], a);
                out[3] = a;
            }
        }
    }

private:
    BitmapRep& pixels_;
    const DeepTiffLayout& layout_;
    Flips flips_;
    int colours_;
    bool associated_;
    bool invert_;
};

} // namespace

bool isDeepTiff(TIFF* tif, const DeepTiffLayout& layout)
{
    std::uint16_t bits = 0, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    const int colours = isGrey(layout.photometric) ? 1
                        : layout.photometric == PHOTOMETRIC_RGB ? 3
                                                                 : 0;
    const bool greyAlpha = isGrey(layout.photometric) && hasAlpha(layout);
    return (bits == 16 || (bits == 8 && greyAlpha)) &&
           (planar == PLANARCONFIG_CONTIG || layout.samplesPerPixel == 1) &&
           (format == SAMPLEFORMAT_UINT || format == SAMPLEFORMAT_VOID) && colours > 0 &&
           layout.samplesPerPixel >= colours;
}

std::optional<BitmapRep> readDeepTiff(TIFF* tif, const DeepTiffLayout& layout, QString* error)
{
    const auto fail = [error](const QString& reason) -> std::optional<BitmapRep> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const int samples = hasAlpha(layout) ? 4 : coloursOf(layout);
    std::optional<BitmapRep> pixels = BitmapRep::makeLayout(int(layout.width), int(layout.height), samples, 8,
                                   samples == 4, false);
    if (!pixels)
        return fail(QStringLiteral("Not enough memory to decode the TIFF image."));
    PixelWriter writer(*pixels, layout, flipsFor(tif));

    const bool tiled = TIFFIsTiled(tif);
    const tmsize_t size = tiled ? TIFFTileSize(tif) : TIFFScanlineSize(tif);
    if (size <= 0)
        return fail(QStringLiteral("The TIFF image cannot be decoded."));
    // Aligned for 16-bit samples, however libtiff sizes the buffer.
    std::unique_ptr<std::uint16_t[]> buffer(
        new (std::nothrow) std::uint16_t[std::size_t(size) / 2 + 1]);
    std::uint16_t bits = 16;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    const std::size_t sampleBytes = bits / 8;
    const auto writeRun = [&](std::size_t offset, std::uint32_t x, std::uint32_t y,
                              std::uint32_t count) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.get()) + offset * sampleBytes;
        if (sampleBytes == 2)
            writer.write(reinterpret_cast<const std::uint16_t*>(bytes), x, y, count);
        else
            writer.write(bytes, x, y, count);
    };
    if (!buffer)
        return fail(QStringLiteral("Not enough memory to decode the TIFF image."));
    const auto damagedAt = [&](std::uint32_t row) {
        return fail(QStringLiteral("The TIFF image is damaged (row %1 of %2 cannot be read).")
                        .arg(row + 1)
                        .arg(layout.height));
    };
    if (!tiled) {
        for (std::uint32_t y = 0; y < layout.height; ++y) {
            if (TIFFReadScanline(tif, buffer.get(), y, 0) < 0)
                return damagedAt(y);
            writeRun(0, 0, y, layout.width);
        }
        return pixels;
    }
    std::uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
    if (tileWidth == 0 || tileHeight == 0 ||
        std::uint64_t(tileWidth) * tileHeight * layout.samplesPerPixel * sampleBytes >
            std::uint64_t(size))
        return fail(QStringLiteral("The TIFF image cannot be decoded."));
    for (std::uint32_t ty = 0; ty < layout.height; ty += tileHeight)
        for (std::uint32_t tx = 0; tx < layout.width; tx += tileWidth) {
            if (TIFFReadTile(tif, buffer.get(), tx, ty, 0, 0) < 0)
                return damagedAt(ty);
            const std::uint32_t across = std::min(tileWidth, layout.width - tx);
            for (std::uint32_t r = 0; r < tileHeight && ty + r < layout.height; ++r)
                writeRun(std::size_t(r) * tileWidth * layout.samplesPerPixel, tx, ty + r, across);
        }
    return pixels;
}

} // namespace gelcoat
