#include "intake/PictureDecoder.h"

#include "intake/QtPictureReader.h"
#include "intake/TiffCodec.h"
#include "io/RegularFile.h"

namespace gelcoat {

namespace {

enum class PictureKind { Unknown, Tiff, Png, Jpeg, Gif, Bmp, WebP, Pdf, Svg };

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

std::optional<SourcePicture> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

} // namespace

std::optional<SourcePicture> decodePicture(const QByteArray& bytes, QString* error)
{
    switch (classify(bytes)) {
    case PictureKind::Tiff: return decodeTiff(bytes, error);
    case PictureKind::Png: return readPictureWithQt(bytes, "png", error);
    case PictureKind::Jpeg: return readPictureWithQt(bytes, "jpeg", error);
    case PictureKind::Gif: return readPictureWithQt(bytes, "gif", error);
    case PictureKind::Bmp: return readPictureWithQt(bytes, "bmp", error);
    case PictureKind::WebP: return readPictureWithQt(bytes, "webp", error);
    case PictureKind::Pdf:
    case PictureKind::Svg: return vectorPicture();
    case PictureKind::Unknown: break;
    }
    return fail(error, bytes.isEmpty()
                           ? QStringLiteral("The picture data is empty.")
                           : QStringLiteral("The data is not in a picture format Gelcoat reads."));
}

std::optional<SourcePicture> decodePictureFile(const QString& path, QString* error)
{
    std::optional<QByteArray> bytes = readRegularFile(path, kMaxPictureFileBytes, error);
    if (!bytes)
        return std::nullopt;
    return decodePicture(*bytes, error);
}

} // namespace gelcoat
