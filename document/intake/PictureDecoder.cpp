#include "document/intake/PictureDecoder.h"

#include "document/intake/PictureCompleteness.h"
#include "document/intake/PngHeader.h"
#include "document/intake/QtPictureReader.h"
#include "document/intake/RgbaPngReader.h"
#include "document/intake/TiffCodec.h"
#include "document/io/RegularFile.h"

#include <QBuffer>
#include <QImageReader>

namespace gelcoat {

namespace {

std::optional<SourcePicture> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

// Vector pictures are never rasterised here: they are described so that
// the acceptance check refuses them.
SourcePicture vectorPicture()
{
    SourcePicture picture;
    picture.isBitmap = false;
    picture.bitsPerSample = 0;
    picture.samplesPerPixel = 0;
    picture.bitsPerPixel = 0;
    picture.hasAlpha = true;
    return picture;
}

enum class PictureKind { Unknown, Tiff, Png, Jpeg, Gif, Bmp, WebP, Pdf, Svg };

// Formats Qt's plug-ins read beyond the ones told apart above (PBM, PGM,
// PPM, ICO, TGA, XPM, XBM, ICNS, WBMP, MNG, …), by content alone: the one Qt
// guesses first, then every other plug-in that claims the content, since
// several may (an uncompressed TGA's header also looks like a cursor's to
// the ICO plug-in).
QList<QByteArray> qtFormatsByContent(const QByteArray& bytes, bool everyClaim)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QList<QByteArray> formats;
    if (!buffer.open(QIODevice::ReadOnly))
        return formats;
    // Qt's SVG plug-in claims any XML; text with an <svg element is told
    // apart before this, so only its compressed kind is left to it.
    if (const QByteArray guess = QImageReader::imageFormat(&buffer).toLower();
        !guess.isEmpty() && guess != "svg")
        formats.append(guess);
    buffer.seek(0);
    if (!everyClaim)
        return formats;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        QImageReader reader(&buffer, format);
        const QByteArray name = reader.format().toLower();
        if (name != "svg" && !formats.contains(name) && reader.canRead())
            formats.append(name);
        buffer.seek(0);
    }
    return formats;
}

// Qt's decoders fill what a truncated file lacks and report success.
std::optional<SourcePicture> readCompleteWithQt(const QByteArray& bytes, const char* format,
                                                bool (*complete)(const QByteArray&),
                                                QString* error)
{
    if (!complete(bytes))
        return fail(error, QStringLiteral("The %1 data ends before the picture does: the file "
                                          "is damaged.")
                               .arg(QString::fromLatin1(format).toUpper()));
    return readPictureWithQt(bytes, format, error);
}

// The text formats whose cut files Qt's readers take for whole ones are
// checked first.
std::optional<SourcePicture> readFoundFormat(const QByteArray& bytes, const QByteArray& format,
                                             QString* error)
{
    if (format == "xbm")
        return readCompleteWithQt(bytes, "xbm", xbmDataComplete, error);
    if (format == "xpm")
        return readCompleteWithQt(bytes, "xpm", xpmDataComplete, error);
    return readPictureWithQt(bytes, format, error);
}

std::optional<SourcePicture> readWithQtByContent(const QByteArray& bytes, QString* error)
{
    QList<QByteArray> formats = qtFormatsByContent(bytes, false);
    if (formats.contains("svgz"))
        return vectorPicture();
    QString firstError;
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const QByteArray format = formats[i];
        QString reason;
        if (std::optional<SourcePicture> picture = readFoundFormat(bytes, format, &reason))
            return picture;
        if (firstError.isEmpty()) {
            firstError = reason;
            for (const QByteArray& other : qtFormatsByContent(bytes, true))
                if (!formats.contains(other))
                    formats.append(other);
        }
    }
    if (formats.isEmpty())
        return fail(error, QStringLiteral("The data is not in a picture format Gelcoat reads."));
    return fail(error, firstError);
}

bool looksLikeSvg(const QByteArray& bytes)
{
    // Text that opens as XML (after an optional byte-order mark and blank
    // space) and has an <svg element near its start.
    QByteArray head = bytes.left(64 * 1024);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    head = head.trimmed();
    return head.startsWith('<') && head.toLower().contains("<svg");
}

PictureKind classify(const QByteArray& bytes)
{
    if (looksLikeTiff(bytes))
        return PictureKind::Tiff;
    if (bytes.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8)))
        return PictureKind::Png;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return PictureKind::Jpeg;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return PictureKind::Gif;
    if (bytes.startsWith("BM") && bytes.size() >= 26)
        return PictureKind::Bmp;
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return PictureKind::WebP;
    // PDF readers accept the header anywhere in the first kilobyte.
    if (bytes.left(1024).contains("%PDF-"))
        return PictureKind::Pdf;
    if (looksLikeSvg(bytes))
        return PictureKind::Svg;
    return PictureKind::Unknown;
}

} // namespace

std::optional<SourcePicture> decodePicture(const QByteArray& bytes, QString* error)
{
    switch (classify(bytes)) {
    case PictureKind::Tiff: return decodeTiff(bytes, error);
    case PictureKind::Png:
        if (const auto header = readPngHeader(bytes); header && readsAsRgbaPng(*header, bytes))
            return readRgbaPng(bytes, *header, error);
        return readCompleteWithQt(bytes, "png", pngDataComplete, error);
    case PictureKind::Jpeg: return readCompleteWithQt(bytes, "jpeg", jpegDataComplete, error);
    case PictureKind::Gif: return readCompleteWithQt(bytes, "gif", gifDataComplete, error);
    case PictureKind::Bmp: return readCompleteWithQt(bytes, "bmp", bmpDataComplete, error);
    case PictureKind::WebP: return readPictureWithQt(bytes, "webp", error);
    case PictureKind::Pdf:
    case PictureKind::Svg: return vectorPicture();
    case PictureKind::Unknown: break;
    }
    if (bytes.isEmpty())
        return fail(error, QStringLiteral("The picture data is empty."));
    return readWithQtByContent(bytes, error);
}

bool isPictureData(const QByteArray& bytes)
{
    return classify(bytes) != PictureKind::Unknown || !qtFormatsByContent(bytes, false).isEmpty();
}

std::optional<SourcePicture> decodePictureFile(const QString& path, QString* error)
{
    std::optional<QByteArray> bytes = readRegularFile(path, kMaxPictureFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return decodePicture(*bytes, error);
}

} // namespace gelcoat
