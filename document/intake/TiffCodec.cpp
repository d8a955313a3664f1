#include "document/intake/TiffCodec.h"

#include "document/intake/TiffDeepSamples.h"
#include "document/intake/TiffMemoryFile.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace gelcoat {

namespace {

// reason ends without a full stop; libtiff's own words follow when it gave any.
std::optional<SourcePicture> fail(QString* error, const QString& reason,
                                  const QString& detail = {})
{
    if (error)
        *error = detail.isEmpty() ? reason + u'.' : QStringLiteral("%1 (%2).").arg(reason, detail);
    return std::nullopt;
}

// Colour models libtiff's RGBA interface turns into what the picture shows.
// CMYK, Lab and the rest would come out as wrong colours, so they are only
// described, and the intake check refuses them.
bool photometricSupported(uint16_t photometric)
{
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_RGB:
    case PHOTOMETRIC_PALETTE:
    case PHOTOMETRIC_YCBCR:
        return true;
    default:
        return false;
    }
}

bool isGrey(uint16_t photometric)
{
    return photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK;
}

// Copies libtiff's packed ABGR raster into pixels of 1, 3 or 4 samples.
void fillPixels(BitmapRep& pixels, const uint32_t* raster)
{
    const int width = pixels.pixelsWide();
    const int samples = pixels.samplesPerPixel();
    for (int y = 0; y < pixels.pixelsHigh(); ++y) {
        const uint32_t* in = raster + std::size_t(y) * std::size_t(width);
        uint8_t* out = pixels.row(y);
        for (int x = 0; x < width; ++x, out += samples) {
            const uint32_t v = in[x];
            out[0] = uint8_t(TIFFGetR(v));
            if (samples >= 3) {
                out[1] = uint8_t(TIFFGetG(v));
                out[2] = uint8_t(TIFFGetB(v));
            }
            if (samples == 4)
                out[3] = uint8_t(TIFFGetA(v));
        }
    }
}

// The first row of the first strip or tile libtiff cannot read; only asked
// after a failed decode, whose message may name no row (libtiff says row
// 4294967295 when it fails before starting one).
std::optional<uint32_t> firstUnreadableRow(TIFF* tif)
{
    const bool tiled = TIFFIsTiled(tif);
    const tmsize_t size = tiled ? TIFFTileSize(tif) : TIFFStripSize(tif);
    if (size <= 0)
        return std::nullopt;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[std::size_t(size)]);
    if (!scratch)
        return std::nullopt;
    const uint32_t pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    for (uint32_t piece = 0; piece < pieces; ++piece) {
        const tmsize_t read = tiled ? TIFFReadEncodedTile(tif, piece, scratch.get(), size)
                                    : TIFFReadEncodedStrip(tif, piece, scratch.get(), size);
        if (read >= 0)
            continue;
        // Pieces run row-major through the image, plane after plane.
        uint32_t height = 0, rows = 0;
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
        uint32_t piecesAcross = 1;
        if (tiled) {
            uint32_t width = 0, tileWidth = 0;
            TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
            TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
            TIFFGetField(tif, TIFFTAG_TILELENGTH, &rows);
            piecesAcross = std::max<uint32_t>(1, TIFFComputeTile(tif, width - 1, 0, 0, 0) + 1);
        } else {
            TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rows);
        }
        const uint32_t perPlane = tiled ? TIFFComputeTile(tif, 0, height - 1, 0, 0) + 1
                                        : TIFFComputeStrip(tif, height - 1, 0) + 1;
        const uint64_t band = (piece % std::max<uint32_t>(1, perPlane)) / piecesAcross;
        return uint32_t(std::min<uint64_t>(band * rows, height - 1));
    }
    return std::nullopt;
}

} // namespace

bool looksLikeTiff(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArrayLiteral("II*\0")) ||
           bytes.startsWith(QByteArrayLiteral("MM\0*")) ||
           bytes.startsWith(QByteArrayLiteral("II+\0")) ||
           bytes.startsWith(QByteArrayLiteral("MM\0+"));
}

QByteArray encodeTiff(const BitmapRep& source, TiffCompression compression, TiffAlphaKind alpha)
{
    if (!isEngineFormat(source) || source.bitsPerSample() != 8 ||
        !bitmapSizeAllowed(source.pixelsWide(), source.pixelsHigh()))
        return {};
    auto file = TiffMemoryFile::openForWriting();
    if (!file)
        return {};
    TIFF* tif = file->tiff();
    const uint32_t width = uint32_t(source.pixelsWide());
    const uint32_t height = uint32_t(source.pixelsHigh());
    const uint16_t extra[1] = {uint16_t(alpha == TiffAlphaKind::Associated
                                            ? EXTRASAMPLE_ASSOCALPHA
                                            : EXTRASAMPLE_UNSPECIFIED)};
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_COMPRESSION,
                 compression == TiffCompression::None ? COMPRESSION_NONE : COMPRESSION_LZW);
    if (compression == TiffCompression::LzwPredictor)
        TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));

    // libtiff's codecs may work in place on the row they are handed, and
    // the source is const: give them a scratch copy.
    std::vector<uint8_t> scratch;
    try {
        scratch.resize(std::size_t(width) * 4);
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(scratch.data(), source.row(int(y)), scratch.size());
        if (TIFFWriteScanline(tif, scratch.data(), y, 0) < 0)
            return {};
    }
    if (!TIFFWriteDirectory(tif))
        return {};
    return file->finish();
}

std::optional<SourcePicture> decodeTiff(const QByteArray& bytes, QString* error)
{
    QString openError;
    auto file = TiffMemoryFile::openForReading(bytes, &openError);
    if (!file)
        return fail(error, QStringLiteral("The TIFF data cannot be read"), openError);
    TIFF* tif = file->tiff();

    uint32_t width = 0, height = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height))
        return fail(error, QStringLiteral("The TIFF data has no image size"));
    // Before anything is sized by these numbers.
    if (!bitmapSizeAllowed(width, height))
        return fail(error, QStringLiteral("The TIFF image is %1 × %2 pixels, which is empty or "
                                          "too large")
                               .arg(width)
                               .arg(height));

    uint16_t bitsPerSample = 1, samplesPerPixel = 1, planar = PLANARCONFIG_CONTIG;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT, extraCount = 0;
    uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    uint16_t photometric = 0;
    if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        // Writers that leave it out mean grey or RGB, as libtiff itself assumes.
        photometric = samplesPerPixel - extraCount >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;

    SourcePicture picture;
    picture.representationCount = std::max<int>(1, TIFFNumberOfDirectories(tif));
    picture.isBitmap = true;
    picture.hasAlpha = extraCount > 0;
    picture.isPlanar = planar == PLANARCONFIG_SEPARATE && samplesPerPixel > 1;
    if (photometric == PHOTOMETRIC_PALETTE) {
        // Palettes are expanded to 8-bit RGB; TIFF palettes carry no alpha.
        picture.bitsPerSample = 8;
        picture.samplesPerPixel = 3 + extraCount;
    } else {
        picture.bitsPerSample = bitsPerSample;
        picture.samplesPerPixel = samplesPerPixel;
    }
    picture.bitsPerPixel = picture.isPlanar ? picture.bitsPerSample
                                            : picture.bitsPerSample * picture.samplesPerPixel;
    const bool integerSamples = sampleFormat == SAMPLEFORMAT_UINT || sampleFormat == SAMPLEFORMAT_VOID;
    if (!photometricSupported(photometric) || !integerSamples) {
        picture.unsupportedColourModel = true;
        return picture;
    }

    if (const DeepTiffLayout deep{width, height, samplesPerPixel, photometric, extraCount,
                                  extraTypes};
        isDeepTiff(tif, deep)) {
        QString reason;
        std::optional<BitmapRep> pixels = readDeepTiff(tif, deep, &reason);
        if (!pixels)
            return fail(error, reason.chopped(1));   // fail() adds the full stop again
        picture.pixels = std::move(*pixels);
        return picture;
    }

    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif, message))
        return fail(error, QStringLiteral("The TIFF image cannot be decoded"),
                    QString::fromUtf8(message));

    const int pixelSamples = picture.hasAlpha || (samplesPerPixel >= 4 && !isGrey(photometric))
                                 ? 4
                             : isGrey(photometric) ? 1
                                                   : 3;
    auto pixels = BitmapRep::makeLayout(int(width), int(height), pixelSamples, 8, pixelSamples == 4,
                                        false);
    std::unique_ptr<uint32_t[]> raster(new (std::nothrow)
                                           uint32_t[std::size_t(width) * std::size_t(height)]);
    if (!pixels || !raster)
        return fail(error, QStringLiteral("Not enough memory to decode the TIFF image"));
    // Expands palettes, shows MinIsWhite as it looks, reads tiles, 16-bit
    // samples and every codec libtiff has, and premultiplies unassociated
    // alpha; orientation is turned to rows top first.
    if (!TIFFReadRGBAImageOriented(tif, width, height, raster.get(), ORIENTATION_TOPLEFT, 1)) {
        QString detail = file->error();
        if (const std::optional<uint32_t> row = firstUnreadableRow(tif)) {
            // libtiff's own scanline number is that of an earlier read here.
            static const QRegularExpression libtiffRow(
                QStringLiteral("\\s*(at|on)\\s+(scanline|row)\\s+\\d+"));
            detail.remove(libtiffRow);
            detail += QStringLiteral("%1row %2 of %3 cannot be read")
                          .arg(detail.isEmpty() ? QString() : QStringLiteral("; "))
                          .arg(*row + 1)
                          .arg(height);
        }
        return fail(error, QStringLiteral("The TIFF image is damaged"), detail);
    }
    fillPixels(*pixels, raster.get());
    picture.pixels = std::move(*pixels);
    return picture;
}

} // namespace gelcoat
