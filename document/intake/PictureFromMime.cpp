#include "document/intake/PictureFromMime.h"

#include "document/intake/PictureDecoder.h"
#include "document/intake/QtPictureReader.h"

#include <QMimeData>
#include <QUrl>

namespace gelcoat {

namespace {

const QString kQtImageType = QStringLiteral("application/x-qt-image");

// The first reason given is the one kept.
void noteFailure(QString* error, const QString& reason)
{
    if (error && error->isEmpty())
        *error = reason.isEmpty() ? QStringLiteral("The picture cannot be read.") : reason;
}

} // namespace

OfferedPicture offeredPicture(const QMimeData* data)
{
    OfferedPicture offer;
    if (!data)
        return offer;
    for (const QString& type : data->formats()) {
        if (!type.startsWith(QLatin1String("image/")))
            continue;
        offer.offersImageBytes = true;
        QByteArray bytes = data->data(type);
        if (bytes.isEmpty())
            continue;
        const bool knownKind = isPictureData(bytes);
        offer.imageBytes.push_back(std::move(bytes));
        if (knownKind)
            break;
    }
    if (data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                offer.localFiles.append(url.toLocalFile());
    if (!offer.offersImageBytes && (data->hasFormat(kQtImageType) || data->hasImage()))
        offer.qtImage = qvariant_cast<QImage>(data->imageData());
    return offer;
}

std::optional<SourcePicture> pictureFromOffer(const OfferedPicture& offer, QString* error,
                                              const PictureOptions& options)
{
    if (error)
        error->clear();
    for (const QByteArray& bytes : offer.imageBytes) {
        QString reason;
        if (auto picture = decodePicture(bytes, &reason, options))
            return picture;
        noteFailure(error, reason);
    }
    for (const QString& path : offer.localFiles) {
        QString reason;
        if (auto picture = decodePictureFile(path, &reason, options))
            return picture;
        noteFailure(error, reason);
    }
    if (offer.offersImageBytes || !offer.qtImage)
        return std::nullopt;
    if (auto picture = pictureFromQtImage(*offer.qtImage))
        return picture;
    noteFailure(error, QStringLiteral("The picture is empty or too large."));
    return std::nullopt;
}

std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data, QString* error)
{
    return pictureFromOffer(offeredPicture(data), error);
}

} // namespace gelcoat
