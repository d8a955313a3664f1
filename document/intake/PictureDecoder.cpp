#include "intake/PictureDecoder.h"

#include "intake/QtPictureReader.h"
#include "intake/TiffCodec.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Non-blocking, so that opening a FIFO returns at once instead of
    // waiting for a writer; fstat on the open descriptor then decides.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(error, QStringLiteral("The file %1 cannot be opened (%2).")
                               .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat info {};
    QByteArray bytes;
    QString reason;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = QStringLiteral("%1 is not a regular file.").arg(path);
    } else if (info.st_size > kMaxPictureFileBytes) {
        reason = QStringLiteral("The file %1 is larger than %2 MiB.")
                     .arg(path)
                     .arg(kMaxPictureFileBytes >> 20);
    } else {
        try {
            bytes.resize(qsizetype(info.st_size));
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("Not enough memory to read %1.").arg(path);
        }
        qsizetype done = 0;
        while (reason.isEmpty() && done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                reason = QStringLiteral("The file %1 cannot be read (%2).")
                             .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            else if (got == 0)
                bytes.truncate(done);   // shrank while being read
            else
                done += got;
        }
    }
    ::close(fd);
    if (!reason.isEmpty())
        return fail(error, reason);
    return decodePicture(bytes, error);
}

} // namespace gelcoat
