#include "document/export/ExportFormat.h"

#include "document/export/PngWriter.h"
#include "document/export/WebpOutput.h"
#include "document/intake/TiffCodec.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace gelcoat {

namespace {

constexpr ExportFormat kFormats[] = {ExportFormat::Png, ExportFormat::Tiff, ExportFormat::WebP};

} // namespace

std::span<const ExportFormat> exportFormats()
{
    return kFormats;
}

QString exportNameFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png:
        return QCoreApplication::translate("ExportFormat", "PNG image (*.png)");
    case ExportFormat::Tiff:
        return QCoreApplication::translate("ExportFormat", "TIFF image (*.tiff *.tif)");
    case ExportFormat::WebP:
        return QCoreApplication::translate("ExportFormat", "WebP image, lossless (*.webp)");
    }
    return {};
}

QString exportSuffix(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png: return QStringLiteral("png");
    case ExportFormat::Tiff: return QStringLiteral("tiff");
    case ExportFormat::WebP: return QStringLiteral("webp");
    }
    return {};
}

std::optional<ExportFormat> exportFormatForName(const QString& name)
{
    for (const ExportFormat format : kFormats)
        if (name == exportSuffix(format))
            return format;
    return std::nullopt;
}

std::optional<ExportFormat> exportFormatForNameFilter(const QString& filter)
{
    for (const ExportFormat format : kFormats)
        if (filter == exportNameFilter(format))
            return format;
    return std::nullopt;
}

std::optional<ExportFormat> exportFormatForPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"tif")
        return ExportFormat::Tiff;
    return exportFormatForName(suffix);
}

QByteArray encodeExportImage(const BitmapRep& image, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png: return encodePng(image);
    case ExportFormat::Tiff:
        return encodeTiff(image, TiffCompression::Lzw, TiffAlphaKind::Associated);
    case ExportFormat::WebP: return encodeWebpImage(image);
    }
    return {};
}

} // namespace gelcoat
