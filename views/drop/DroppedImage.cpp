#include "drop/DroppedImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace gelcoat {

namespace {

// The first image type on offer that a reader can decode, with its format.
bool findReadableType(const QMimeData* data, QString* mimeType, QByteArray* format)
{
    for (const QString& type : data->formats()) {
        if (!type.startsWith(QLatin1String("image/")))
            continue;
        const QList<QByteArray> formats = QImageReader::imageFormatsForMimeType(type.toLatin1());
        if (!formats.isEmpty()) {
            *mimeType = type;
            *format = formats.first();
            return true;
        }
    }
    return false;
}

QString firstReadableLocalFile(const QMimeData* data)
{
    if (!data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        QImageReader reader(path);
        if (reader.canRead())
            return path;
    }
    return {};
}

} // namespace

bool mimeDataOffersImage(const QMimeData* data)
{
    if (!data)
        return false;
    if (data->hasImage())
        return true;
    QString type;
    QByteArray format;
    return findReadableType(data, &type, &format) || !firstReadableLocalFile(data).isEmpty();
}

QImage imageFromMimeData(const QMimeData* data)
{
    if (!data)
        return {};
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return image;
    }
    QString type;
    QByteArray format;
    if (findReadableType(data, &type, &format)) {
        QByteArray bytes = data->data(type);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, format);
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    const QString path = firstReadableLocalFile(data);
    if (!path.isEmpty())
        return QImageReader(path).read();
    return {};
}

} // namespace gelcoat
