#include "file/ExternalSource.h"

#include "intake/PictureDecoder.h"
#include "intake/StandardLayout.h"

#include <QDir>
#include <QFileInfo>

namespace gelcoat {

namespace {

std::optional<BitmapRep> readStandardPicture(const QString& path)
{
    std::optional<SourcePicture> picture = decodePictureFile(path);
    if (!picture)
        return std::nullopt;
    return standardBitmap(std::move(*picture));
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
                                                 const QString& documentPath)
{
    const QDir documentFolder = QFileInfo(documentPath).absoluteDir();
    const QString asWritten = QDir::isAbsolutePath(storedPath)
                                  ? storedPath
                                  : documentFolder.absoluteFilePath(storedPath);
    if (auto pixels = readStandardPicture(asWritten))
        return ExternalSource{std::move(*pixels), storedPath};

    const QString name = lastPathComponent(storedPath);
    if (name.isEmpty() || documentPath.isEmpty())
        return std::nullopt;
    const QString beside = documentFolder.absoluteFilePath(name);
    if (beside == asWritten)
        return std::nullopt;
    if (auto pixels = readStandardPicture(beside))
        return ExternalSource{std::move(*pixels), beside};
    return std::nullopt;
}

} // namespace gelcoat
