#include "document/file/ExternalSource.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/StandardLayout.h"

#include <QDir>
#include <QFileInfo>

namespace gelcoat {

namespace {

std::optional<BitmapRep> readStandardPicture(const QString& path, QString* reason)
{
    std::optional<SourcePicture> picture = decodePictureFile(path, reason);
    if (!picture)
        return std::nullopt;
    std::optional<BitmapRep> pixels = standardBitmap(std::move(*picture));
    if (!pixels && reason)
        *reason = QStringLiteral("%1 has no pixels Gelcoat can use.").arg(path);
    return pixels;
}

} // namespace

QString lastPathComponent(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return QFileInfo(trimmed).fileName();
}

std::optional<ExternalSource> findExternalSource(const QString& storedPath,
                                                 const QString& documentPath, QString* reason)
{
    const QDir documentFolder = QFileInfo(documentPath).absoluteDir();
    const QString asWritten = QDir::isAbsolutePath(storedPath)
                                  ? storedPath
                                  : documentFolder.absoluteFilePath(storedPath);
    if (auto pixels = readStandardPicture(asWritten, reason))
        return ExternalSource{std::move(*pixels), storedPath};

    const QString name = lastPathComponent(storedPath);
    if (name.isEmpty() || documentPath.isEmpty())
        return std::nullopt;
    const QString beside = documentFolder.absoluteFilePath(name);
    if (beside == asWritten)
        return std::nullopt;
    if (auto pixels = readStandardPicture(beside, nullptr))
        return ExternalSource{std::move(*pixels), beside};
    return std::nullopt;
}

} // namespace gelcoat
