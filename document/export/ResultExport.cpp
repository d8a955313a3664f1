#include "document/export/ResultExport.h"

#include "engine/draw/Draw.h"
#include "document/export/PngWriter.h"
#include "document/intake/TiffCodec.h"
#include "document/io/RegularFile.h"
#include "document/model/TintDocument.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>

namespace gelcoat {

std::optional<FlattenChoice> flattenChoiceForTag(int tag)
{
    if (tag < 0 || tag > 2)
        return std::nullopt;
    return FlattenChoice(tag);
}

std::optional<BitmapRep> flattenedImage(const BitmapRep& image, FlattenChoice choice)
{
    if (!isEngineFormat(image))
        return std::nullopt;
    if (choice == FlattenChoice::None)
        return image.clone();
    std::optional<BitmapRep> flat = BitmapRep::makeUninitialized(image.pixelsWide(),
                                                                 image.pixelsHigh());
    if (!flat)
        return std::nullopt;
    const std::uint8_t v = choice == FlattenChoice::White ? 255 : 0;
    fillPixels(*flat, v, v, v, 255);
    if (!compositeSourceOver(image, *flat))
        return std::nullopt;
    return flat;
}

QByteArray exportTiffData(const BitmapRep& image)
{
    return encodeTiff(image, TiffCompression::Lzw, TiffAlphaKind::Associated);
}

QMimeData* makeClipboardPayload(const BitmapRep& image)
{
    const QByteArray tiff = exportTiffData(image);
    if (tiff.isEmpty())
        return nullptr;
    const QByteArray png = encodePng(image);
    if (png.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/tiff"), tiff);
    data->setData(QStringLiteral("image/png"), png);
    return data;
}

QString fallbackPanelFolder()
{
    const QString documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

SaveProposal proposedSaveLocation(const QString& destImagePath)
{
    const UserDefaults& defaults = UserDefaults::standard();
    SaveProposal proposal;
    proposal.format = exportFormatForName(defaults.objectForKey(lastSaveFormatKey).toString())
                          .value_or(ExportFormat::Png);
    if (!destImagePath.isEmpty()) {
        const QFileInfo info(destImagePath);
        proposal.folder = info.path();
        proposal.fileName = info.fileName();
        proposal.format = exportFormatForPath(destImagePath).value_or(proposal.format);
        return proposal;
    }
    const QVariant remembered = defaults.objectForKey(lastSaveDirKey);
    proposal.folder = remembered.isValid() && !remembered.toString().isEmpty()
                          ? remembered.toString()
                          : fallbackPanelFolder();
    return proposal;
}

ExportFormat formatForChosenFile(const QString& path, ExportFormat filterFormat)
{
    return exportFormatForPath(path).value_or(filterFormat);
}

DocumentOutcome saveExportedImage(TintDocument& document, const QString& path,
                                  ExportFormat format, const BitmapRep& image)
{
    UserDefaults::standard().setString(lastSaveDirKey, QFileInfo(path).path());
    UserDefaults::standard().setString(lastSaveFormatKey, exportSuffix(format));
    document.recordDestImagePath(path);

    DocumentOutcome outcome;
    const QByteArray bytes = encodeExportImage(image, format);
    if (bytes.isEmpty() || !writeFileAtomically(path, bytes)) {
        outcome.alert = {saveTitle(), imageSaveFailedMessage(path)};
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace gelcoat
