// TintDocument's file side: the bytes it saves, the loader, revert and the
// export path it remembers.

#include "document/model/TintDocument.h"

#include "document/file/DocumentArchive.h"
#include "document/file/ExternalSource.h"
#include "document/intake/PictureDecoder.h"
#include "document/intake/StandardLayout.h"
#include "document/intake/TiffCodec.h"
#include "document/resources/BundleImages.h"

namespace gelcoat {

namespace {

QString withoutFinalStop(QString text)
{
    while (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

std::optional<BitmapRep> startPictureCopy()
{
    const std::optional<SourcePicture>& start = startPicture();
    if (!start)
        return std::nullopt;
    std::optional<SourcePicture> copy = copyPicture(*start);
    if (!copy)
        return std::nullopt;
    return standardBitmap(std::move(*copy));
}

} // namespace

QByteArray TintDocument::dataRepresentationOfType() const
{
    QByteArray sourceData;
    if (sourceImage_) {
        sourceData = encodeTiff(*sourceImage_, TiffCompression::Lzw, TiffAlphaKind::Associated);
        if (sourceData.isEmpty())
            return {};
    } else {
        sourceData = unreadableSourceData_;
    }
    return writeDocumentArchive(sourceData, destImagePath_, settings_);
}

DocumentOutcome TintDocument::loadDataRepresentation(const QByteArray& bytes, LoadMode mode,
                                                     const QString& documentPath)
{
    DocumentOutcome outcome;
    QString error;
    std::optional<DocumentArchive> archive = readDocumentArchive(bytes, settings_, &error);
    if (!archive) {
        outcome.alert = {openTitle(), notPropertyListMessage(error)};
        return outcome;
    }
    if (archive->archiveVersion > kDocumentArchiveVersion) {
        outcome.alert = {openTitle(), laterVersionMessage()};
        return outcome;
    }

    // Everything is decided before anything changes.
    std::optional<BitmapRep> source;
    QByteArray unreadable;
    QString sourcePath = sourceImagePath_;
    bool keepCurrentSource = false;
    if (archive->sourceData) {
        QString reason;
        std::optional<SourcePicture> picture = decodePicture(*archive->sourceData, &reason);
        if (picture)
            source = standardBitmap(std::move(*picture));
        if (!source) {
            unreadable = *archive->sourceData;
            if (reason.isEmpty())
                reason = QStringLiteral("the picture has no pixels Gelcoat can use");
            outcome.alert = {mode == LoadMode::Open ? openTitle() : revertTitle(),
                             unreadableSourceDataMessage(withoutFinalStop(reason))};
        }
    } else if (archive->sourceImagePath.isEmpty()) {
        sourcePath.clear();
        source = startPictureCopy();
    } else if (std::optional<ExternalSource> found =
                   findExternalSource(archive->sourceImagePath, documentPath, &outcome.detail)) {
        outcome.detail.clear();
        source = std::move(found->pixels);
        sourcePath = found->path;
    } else if (mode == LoadMode::Revert) {
        keepCurrentSource = true;
        sourcePath = archive->sourceImagePath;
        outcome.scheduleRevertWarning = true;
        outcome.alert = {revertTitle(),
                         missingSourceOnRevertMessage(lastPathComponent(sourcePath))};
    } else {
        outcome.alert = {openTitle(),
                         missingSourceOnOpenMessage(lastPathComponent(archive->sourceImagePath))};
        outcome.runSubstitutePanel = true;
        sourcePath.clear();
        source = startPictureCopy();
    }

    if (!keepCurrentSource) {
        // The file does not say whether the stencil is simple; a black alpha
        // mask is what the intake makes of one.
        sourceImageIsSimple_ = source && isBlackMask(*source);
        stopRendering();
        previous_.reset();
        sourceImage_ = std::move(source);
        unreadableSourceData_ = unreadable;
        stencilVectorSource_.clear();
    }
    sourceImagePath_ = sourcePath;
    destImagePath_ = archive->destImagePath;
    settings_ = archive->settings;
    forgetUndoHistory();
    outcome.ok = true;
    emit sourceImageChanged();
    return outcome;
}

DocumentOutcome TintDocument::revertDocumentToSaved()
{
    DocumentOutcome outcome = Document::revertDocumentToSaved();
    if (outcome.ok)
        refreshUIFromModel();
    return outcome;
}

QString TintDocument::revertWarningMessage() const
{
    return missingSourceOnRevertMessage(lastPathComponent(sourceImagePath_));
}

void TintDocument::recordDestImagePath(const QString& path)
{
    if (destImagePath_ == path)
        return;
    destImagePath_ = path;
    updateChangeCount();
}

} // namespace gelcoat
