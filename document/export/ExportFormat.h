#pragma once
// The kinds of file a result is exported as: PNG, what desktops, browsers
// and chat programs expect; TIFF with LZW compression; lossless WebP. The
// save panel offers them as its type filters, in this order.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <span>

namespace gelcoat {

enum class ExportFormat { Png, Tiff, WebP };

std::span<const ExportFormat> exportFormats();

// The panel's type filter, e.g. "PNG image (*.png)".
QString exportNameFilter(ExportFormat format);
// The suffix the panel adds to a name without one: "png", "tiff", "webp".
// Also the format's name in the stored "LastSaveFormat" preference.
QString exportSuffix(ExportFormat format);

std::optional<ExportFormat> exportFormatForName(const QString& name);
std::optional<ExportFormat> exportFormatForNameFilter(const QString& filter);
// By the file name's suffix, any case (.png; .tif or .tiff; .webp).
std::optional<ExportFormat> exportFormatForPath(const QString& path);

// The image as a file of the format (PNG through the program's parallel
// writer, TIFF as LZW with associated alpha); empty when it cannot be
// encoded.
QByteArray encodeExportImage(const BitmapRep& image, ExportFormat format);

} // namespace gelcoat
