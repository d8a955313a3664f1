#include "document/intake/QtPictureReader.h"

#include "document/image/BitmapImage.h"
#include "document/intake/PngHeader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cctype>

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
            picture.bitsPerSample = 8;
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
    case 6:   // RGBA, 16-bit samples narrowed to 8 with the conversion below
        picture.hasAlpha = true;
        picture.samplesPerPixel = 4;
        picture.bitsPerSample = 8;
        break;
    default:  // palette: as Qt described the expanded table
        break;
    }
}

// The largest sample value a grey or colour Netpbm header (P2, P3, P5, P6)
// announces; Qt narrows deeper samples to 8 bits without saying so.
std::optional<int> netpbmMaxValue(const QByteArray& bytes)
{
    if (bytes.size() < 2 || bytes[0] != 'P' || !QByteArray("2356").contains(bytes[1]))
        return std::nullopt;
    qsizetype i = 2;
    long long fields[3] = {};
    for (long long& field : fields) {
        while (i < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[i])) ||
                                    bytes[i] == '#')) {
            if (bytes[i] == '#')
                while (i < bytes.size() && bytes[i] != '\n')
                    ++i;
            else
                ++i;
        }
        if (i >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[i])))
            return std::nullopt;
        while (i < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[i])))
            field = std::min(field * 10 + (bytes[i++] - '0'), 1LL << 40);
    }
    return int(std::min(fields[2], 1LL << 30));
}

// 8-bit chunky pixels: RGBA premultiplied when the image has alpha, else
// grey for one-sample pictures and RGB for the rest.
std::optional<BitmapRep> pixelsFrom(QImage image, int describedSamples)
{
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
    else if (const auto maxValue = netpbmMaxValue(bytes); maxValue && *maxValue > 255)
        picture.bitsPerSample = 16;
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
