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
    if (!destImagePath.isEmpty()) {
        const QFileInfo info(destImagePath);
        return {info.path(), info.fileName()};
    }
    const QVariant remembered = UserDefaults::standard().objectForKey(lastSaveDirKey);
    if (remembered.isValid() && !remembered.toString().isEmpty())
        return {remembered.toString(), QString()};
    return {fallbackPanelFolder(), QString()};
}

DocumentOutcome saveExportedImage(TintDocument& document, const QString& path,
                                  const QByteArray& tiff)
{
    UserDefaults::standard().setString(lastSaveDirKey, QFileInfo(path).path());
    document.recordDestImagePath(path);

    DocumentOutcome outcome;
    if (!writeFileAtomically(path, tiff)) {
        outcome.alert = {saveTitle(), imageSaveFailedMessage(path)};
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace gelcoat
