#include "document/intake/PictureFromMime.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/QtPictureReader.h"

#include <QImage>
#include <QMimeData>
#include <QUrl>

namespace gelcoat {

namespace {

const QString kQtImageType = QStringLiteral("application/x-qt-image");

std::optional<SourcePicture> fromImageBytes(const QMimeData& data)
{
    for (const QString& type : data.formats()) {
        if (!type.startsWith(QLatin1String("image/")))
            continue;
        if (auto picture = decodePicture(data.data(type)))
            return picture;
    }
    return std::nullopt;
}

std::optional<SourcePicture> fromLocalFiles(const QMimeData& data)
{
    if (!data.hasUrls())
        return std::nullopt;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        if (auto picture = decodePictureFile(url.toLocalFile()))
            return picture;
    }
    return std::nullopt;
}

} // namespace

std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (auto picture = fromImageBytes(*data))
        return picture;
    if (auto picture = fromLocalFiles(*data))
        return picture;
    if (data->hasFormat(kQtImageType) || data->hasImage())
        return pictureFromQtImage(qvariant_cast<QImage>(data->imageData()));
    return std::nullopt;
}

} // namespace gelcoat
