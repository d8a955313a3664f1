#include "document/intake/PictureFromMime.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/QtPictureReader.h"

#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace gelcoat {

namespace {

const QString kQtImageType = QStringLiteral("application/x-qt-image");

bool offersImageBytes(const QMimeData& data)
{
    const QStringList types = data.formats();
    return std::any_of(types.begin(), types.end(),
                       [](const QString& type) { return type.startsWith(QLatin1String("image/")); });
}

// The first reason given is the one kept.
void noteFailure(QString* error, const QString& reason)
{
    if (error && error->isEmpty())
        *error = reason.isEmpty() ? QStringLiteral("The picture cannot be read.") : reason;
}

std::optional<SourcePicture> fromImageBytes(const QMimeData& data, QString* error)
{
    for (const QString& type : data.formats()) {
        if (!type.startsWith(QLatin1String("image/")))
            continue;
        const QByteArray bytes = data.data(type);
        if (bytes.isEmpty())
            continue;
        QString reason;
        if (auto picture = decodePicture(bytes, &reason))
            return picture;
        noteFailure(error, reason);
        if (isPictureData(bytes))
            break;
    }
    return std::nullopt;
}

std::optional<SourcePicture> fromLocalFiles(const QMimeData& data, QString* error)
{
    if (!data.hasUrls())
        return std::nullopt;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        QString reason;
        if (auto picture = decodePictureFile(url.toLocalFile(), &reason))
            return picture;
        noteFailure(error, reason);
    }
    return std::nullopt;
}

} // namespace

std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data, QString* error)
{
    if (error)
        error->clear();
    if (!data)
        return std::nullopt;
    if (auto picture = fromImageBytes(*data, error))
        return picture;
    if (auto picture = fromLocalFiles(*data, error))
        return picture;
    if (offersImageBytes(*data))
        return std::nullopt;
    if (data->hasFormat(kQtImageType) || data->hasImage()) {
        if (auto picture = pictureFromQtImage(qvariant_cast<QImage>(data->imageData())))
            return picture;
        noteFailure(error, QStringLiteral("The picture is empty or too large."));
    }
    return std::nullopt;
}

} // namespace gelcoat
