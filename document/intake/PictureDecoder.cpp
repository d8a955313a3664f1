#include "document/intake/PictureDecoder.h"

#include "document/intake/DeepNetpbmReader.h"
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

// Vector pictures other than SVG are not drawn: they are described so that
// the acceptance check refuses them, naming what they are.
SourcePicture vectorPicture(const QString& kind)
{
    SourcePicture picture;
    picture.isBitmap = false;
    picture.vectorKind = kind;
    picture.bitsPerSample = 0;
    picture.samplesPerPixel = 0;
    picture.bitsPerPixel = 0;
    picture.hasAlpha = true;
    return picture;
}

enum class PictureKind {
    Unknown,
    Tiff,
    Png,
    Jpeg,
    Gif,
    Bmp,
    WebP,
    DeepNetpbm,
    Pdf,
    PostScript,
    Svg,
    Gzip,   // compressed SVG, or something else compressed
};

std::optional<SourcePicture> drawVector(const QByteArray& bytes, const PictureOptions& options,
                                        QString* error)
{
    const std::optional<QByteArray> text = plainSvgText(bytes, error);
    if (!text)
        return std::nullopt;
    return drawSvg(*text, options.vectorSide, error);
}

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
    // SVG is told apart before Qt is asked; its plug-in would claim any XML.
    const auto isSvg = [](const QByteArray& name) { return name == "svg" || name == "svgz"; };
    if (const QByteArray guess = QImageReader::imageFormat(&buffer).toLower();
        !guess.isEmpty() && !isSvg(guess))
        formats.append(guess);
    buffer.seek(0);
    if (!everyClaim)
        return formats;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        QImageReader reader(&buffer, format);
        const QByteArray name = reader.format().toLower();
        if (!formats.contains(name) && !isSvg(name) && reader.canRead())
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
        return fail(error, QStringLiteral("damaged: the file ends early (the %1 data stops "
                                          "before the picture does)")
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

// A format Qt guessed from content alone may be a wrong guess: its
// decoder's failure then says nothing true about the file.
QString unreadableByContent()
{
    return QStringLiteral("The data is not in a picture format Gelcoat reads, or is damaged.");
}

std::optional<SourcePicture> readWithQtByContent(const QByteArray& bytes, QString* error)
{
    QList<QByteArray> formats = qtFormatsByContent(bytes, false);
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
    // Several plug-ins claiming the same bytes (an uncompressed TGA without
    // its footer looks like a cursor to the ICO plug-in) and none reading
    // them: the first one's words would name a format the file may not be.
    if (formats.size() > 1)
        return fail(error, unreadableByContent());
    return fail(error, firstError);
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
    if (isDeepNetpbm(bytes))
        return PictureKind::DeepNetpbm;
    // PDF readers accept the header anywhere in the first kilobyte.
    if (bytes.left(1024).contains("%PDF-"))
        return PictureKind::Pdf;
    // PostScript and EPS, plain or with the binary header of DOS EPS.
    if (bytes.startsWith("%!PS") || bytes.startsWith("\xC5\xD0\xD3\xC6"))
        return PictureKind::PostScript;
    if (looksLikeSvg(bytes))
        return PictureKind::Svg;
    if (looksLikeGzip(bytes))
        return PictureKind::Gzip;
    return PictureKind::Unknown;
}

} // namespace

std::optional<SourcePicture> decodePicture(const QByteArray& bytes, QString* error,
                                           const PictureOptions& options)
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
    case PictureKind::DeepNetpbm: return readDeepNetpbm(bytes, error);
    case PictureKind::Pdf: return vectorPicture(QStringLiteral("a PDF"));
    case PictureKind::PostScript: return vectorPicture(QStringLiteral("a PostScript file"));
    case PictureKind::Svg:
    case PictureKind::Gzip: return drawVector(bytes, options, error);
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

std::optional<SourcePicture> decodePictureFile(const QString& path, QString* error,
                                               const PictureOptions& options)
{
    std::optional<QByteArray> bytes = readRegularFile(path, kMaxPictureFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return decodePicture(*bytes, error, options);
}

} // namespace gelcoat
