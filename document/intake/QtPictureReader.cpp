#include "document/intake/QtPictureReader.h"

#include "document/image/BitmapImage.h"
#include "document/intake/PngHeader.h"
#include "document/intake/Premultiply.h"
#include "document/intake/SampleReduction.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>

namespace gelcoat {

namespace {

// Enough for the largest allowed raster at 16 bits per RGBA sample, the
// widest form Qt decodes into; the size check below comes first anyway.
constexpr int kReaderAllocationLimitMiB = int((kMaxBitmapPixels * 8) >> 20) + 1;

std::optional<SourcePicture> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("The image is %1 × %2 pixels, which is empty or beyond the limit of "
                          "%3 pixels.")
        .arg(width)
        .arg(height)
        .arg(kMaxBitmapPixels);
}

bool paletteHasTransparency(const QImage& image)
{
    const QList<QRgb> table = image.colorTable();
    return std::any_of(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) != 255; });
}

// Stored layout as Qt reports it; PNG refines this from its header below.
void describeFromQt(const QImage& image, SourcePicture& picture)
{
    picture.bitsPerSample = 8;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        // Palettes are expanded to 8-bit RGB, with alpha when any entry has it.
        picture.hasAlpha = paletteHasTransparency(image);
        picture.samplesPerPixel = picture.hasAlpha ? 4 : 3;
        break;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        picture.hasAlpha = false;
        picture.samplesPerPixel = 1;
        picture.bitsPerSample = image.format() == QImage::Format_Grayscale16 ? 16 : 8;
        break;
    case QImage::Format_RGBX64:
        picture.hasAlpha = false;
        picture.samplesPerPixel = 3;
        picture.bitsPerSample = 16;
        break;
    case QImage::Format_BGR30:
    case QImage::Format_RGB30:
        picture.hasAlpha = false;
        picture.samplesPerPixel = 3;
        picture.bitsPerSample = 10;
        break;
    default:
        // Deeper formats with alpha are converted to 8 bits below, so they
        // are described as what the check then receives.
        picture.hasAlpha = image.hasAlphaChannel();
        picture.samplesPerPixel = picture.hasAlpha ? 4 : 3;
        break;
    }
}

void describeFromPng(const PngHeader& header, SourcePicture& picture)
{
    switch (header.colourType) {
    case 0:   // grey
    case 2:   // RGB
        if (header.hasTransparencyChunk) {
            // A transparent colour key: expanded to RGBA, like a palette.
            picture.hasAlpha = true;
            picture.samplesPerPixel = 4;
            picture.bitsPerSample = header.bitDepth == 16 ? 16 : 8;
        } else {
            picture.hasAlpha = false;
            picture.samplesPerPixel = header.colourType == 0 ? 1 : 3;
            picture.bitsPerSample = header.bitDepth;
        }
        break;
    case 4:   // grey + alpha: two samples, as stored
        picture.hasAlpha = true;
        picture.samplesPerPixel = 2;
        picture.bitsPerSample = header.bitDepth;
        break;
    case 6:   // RGBA
        picture.hasAlpha = true;
        picture.samplesPerPixel = 4;
        picture.bitsPerSample = header.bitDepth;
        break;
    default:  // palette: as Qt described the expanded table
        break;
    }
}

// 16-bit pictures narrowed sample by sample, then premultiplied as an
// 8-bit picture of the same samples is: Qt's own conversion premultiplies
// at 16 bits and truncates some samples.
std::optional<BitmapRep> reducedFromDeep(const QImage& image, int describedSamples)
{
    const bool grey = image.format() == QImage::Format_Grayscale16;
    const bool alpha = !grey && image.hasAlphaChannel();
    const int samples = alpha ? 4 : (grey || describedSamples == 1) ? 1 : 3;
    const QImage straight = grey ? image : image.convertToFormat(QImage::Format_RGBA64);
    if (straight.isNull())
        return std::nullopt;
    auto pixels = BitmapRep::makeLayout(straight.width(), straight.height(), samples, 8, alpha,
                                        false, 0, false);
    if (!pixels)
        return std::nullopt;
    for (int y = 0; y < straight.height(); ++y) {
        std::uint8_t* out = pixels->row(y);
        if (grey) {
            const auto* in = reinterpret_cast<const quint16*>(straight.constScanLine(y));
            for (int x = 0; x < straight.width(); ++x)
                out[x] = reducedSample(in[x]);
            continue;
        }
        const auto* in = reinterpret_cast<const QRgba64*>(straight.constScanLine(y));
        for (int x = 0; x < straight.width(); ++x, out += samples) {
            const std::uint8_t r = reducedSample(in[x].red()), g = reducedSample(in[x].green()),
                               b = reducedSample(in[x].blue());
            if (samples == 1) {
                out[0] = r;
            } else if (samples == 3) {
                out[0] = r, out[1] = g, out[2] = b;
            } else {
                const std::uint8_t a = reducedSample(in[x].alpha());
                out[0] = premultipliedSample(r, a);
                out[1] = premultipliedSample(g, a);
                out[2] = premultipliedSample(b, a);
                out[3] = a;
            }
        }
    }
    return pixels;
}

bool isDeep(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return true;
    default:
        return false;
    }
}

// 8-bit chunky pixels: RGBA premultiplied when the image has alpha, else
// grey for one-sample pictures and RGB for the rest.
std::optional<BitmapRep> pixelsFrom(QImage image, int describedSamples)
{
    if (isDeep(image.format()))
        return reducedFromDeep(image, describedSamples);
    const int samples = image.hasAlphaChannel() ? 4 : describedSamples == 1 ? 1 : 3;
    return bitmapFromImage(std::move(image), samples);
}

} // namespace

std::optional<SourcePicture> readPictureWithQt(const QByteArray& bytes, const QByteArray& format,
                                               QString* error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("The image data cannot be opened."));
    QImageReader reader(&buffer, format);
    // An EXIF orientation is applied, as every viewer does.
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kReaderAllocationLimitMiB);
    const QSize announced = reader.size();
    if (announced.isValid() && !bitmapSizeAllowed(announced.width(), announced.height()))
        return fail(error, tooLarge(announced.width(), announced.height()));

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(error, QStringLiteral("The %1 image cannot be decoded (%2).")
                               .arg(QString::fromLatin1(format.toUpper()), reader.errorString()));
    if (!bitmapSizeAllowed(image.width(), image.height()))
        return fail(error, tooLarge(image.width(), image.height()));

    SourcePicture picture;
    picture.representationCount = 1;   // an animation's first frame stands for it
    picture.isBitmap = true;
    picture.isPlanar = false;
    describeFromQt(image, picture);
    if (const auto header = readPngHeader(bytes))
        describeFromPng(*header, picture);
    picture.bitsPerPixel = picture.bitsPerSample * picture.samplesPerPixel;

    auto pixels = pixelsFrom(std::move(image), picture.samplesPerPixel);
    if (!pixels)
        return fail(error, QStringLiteral("Not enough memory to decode the image."));
    picture.pixels = std::move(*pixels);
    return picture;
}

std::optional<SourcePicture> pictureFromQtImage(const QImage& image)
{
    if (image.isNull() || !bitmapSizeAllowed(image.width(), image.height()))
        return std::nullopt;
    SourcePicture picture;
    auto pixels = bitmapFromImage(image);
    if (!pixels)
        return std::nullopt;
    picture.pixels = std::move(*pixels);
    return picture;
}

} // namespace gelcoat
