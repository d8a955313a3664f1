#include "app/render/RenderJob.h"

#include "app/render/ImageOutput.h"
#include "app/render/RenderCommand.h"
#include "app/render/RenderPaths.h"

#include "document/file/DocumentArchive.h"
#include "document/file/DocumentInput.h"
#include "document/file/DocumentMessages.h"
#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"
#include "document/io/PrintablePath.h"
#include "document/io/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace gelcoat {

namespace {

const BitmapRep* stageBuffer(const TintDocument& doc, RenderStage stage)
{
    const RenderPipeline& p = doc.pipeline();
    const std::optional<BitmapRep>* buffer = nullptr;
    switch (stage) {
    case RenderStage::Source: buffer = &doc.sourceImage(); break;
    case RenderStage::SourceHsv: buffer = &p.sourceImageBitmap(); break;
    case RenderStage::Analysis: buffer = &p.sourceAnalysis(); break;
    case RenderStage::Shadow: buffer = &p.shadowImage(); break;
    case RenderStage::Tinted: buffer = &p.unscaledTintedImage(); break;
    case RenderStage::Composite: buffer = &p.unscaledShadowedImage(); break;
    case RenderStage::Final: buffer = &p.finalMixImage(); break;
    }
    return buffer && *buffer ? &**buffer : nullptr;
}

QString jsonString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            quoted += u'\\';
        if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QChar(u'0'));
        else
            quoted += c;
    }
    return quoted + u'"';
}

QString infoJson(const TintDocument& doc)
{
    const BitmapRep& src = *doc.sourceImage();
    const RenderPipeline& p = doc.pipeline();
    const BitmapRep& fin = *p.finalMixImage();
    const ShadowReport& w = p.shadowWarning();
    auto b = [](bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); };
    return QStringLiteral("{\"source\":[%1,%2],\"simple\":%3,\"final\":[%4,%5],\"warn\":%6,"
                          "\"top\":%7,\"bottom\":%8,\"left\":%9,\"right\":%10}")
        .arg(src.pixelsWide())
        .arg(src.pixelsHigh())
        .arg(b(doc.sourceImageIsSimple()))
        .arg(fin.pixelsWide())
        .arg(fin.pixelsHigh())
        .arg(b(w.needsWarning))
        .arg(w.top)
        .arg(w.bottom)
        .arg(w.left)
        .arg(w.right);
}

// More than half of the pixels at least half opaque.
bool mostlyCovered(const BitmapRep& stencil)
{
    std::int64_t covered = 0;
    for (int y = 0; y < stencil.pixelsHigh(); ++y) {
        const std::uint8_t* row = stencil.row(y);
        for (int x = 0; x < stencil.pixelsWide(); ++x)
            covered += row[4 * x + 3] >= 128;
    }
    return covered * 2 > std::int64_t(stencil.pixelsWide()) * stencil.pixelsHigh();
}

} // namespace

RenderJob::RenderJob(const RenderOptions& options, QTextStream& out, QTextStream& err)
    : options_(options), out_(out), err_(err),
      doc_(nullptr, options.inputs.isEmpty() ? TintDocument::FirstStencil::StartPicture
                                             : TintDocument::FirstStencil::None)
{
}

int RenderJob::run(const QByteArray& input, const QByteArray& imageOutput, bool inBatch)
{
    if (const int code = renderInput(input, inBatch))
        return code;
    return writeOutputs(imageOutput);
}

int RenderJob::renderInput(const QByteArray& input, bool inBatch)
{
    inBatch_ = inBatch;
    if (inBatch)
        prefix_ = QStringLiteral("gelcoat-render: %1: ").arg(quotedPath(input));
    if (const int code = load(input))
        return code;
    // Off until every change is made, so that one render follows them all.
    doc_.gelcoatChanged(false);
    // Only --stage reads a buffer other than the result.
    doc_.pipeline().setKeepsStageImages(options_.stageGiven);
    applySettings();
    if (const int code = applyStencilCommands())
        return code;
    if (exactSize_) {
        TintSettings settings = doc_.settings();
        settings.finalSize = 100;
        doc_.replaceSettings(settings);
    }
    if (const int code = checkFinalSize())
        return code;
    if (const int code = render())
        return code;
    if (options_.info && inBatch)
        out_ << "{\"path\":" << jsonString(printablePath(input)) << ","
             << infoJson(doc_).mid(1) << "\n";
    else if (options_.info)
        out_ << infoJson(doc_) << "\n";
    return ExitOk;
}

int RenderJob::load(const QByteArray& input)
{
    if (input.isEmpty()) {
        if (doc_.sourceImage())
            return ExitOk;
        err_ << prefix_ << "the built-in start picture is missing\n";
        return ExitFailure;
    }
    return isDocumentInput(input) ? loadDocument(input) : loadPicture(input);
}

// A stencil that cannot be had (missing external picture, undecodable
// stored picture) is an input failure, since there is no panel to choose
// another. Read by its bytes, as a name that is not UTF-8 cannot be given
// to the document as text.
int RenderJob::loadDocument(const QByteArray& path)
{
    QString reason;
    const std::optional<QByteArray> bytes = readRegularFile(path, kMaxDocumentFileBytes, &reason);
    DocumentOutcome outcome;
    const QString documentPath = QFileInfo(QFile::decodeName(path)).absoluteFilePath();
    if (bytes)
        outcome = doc_.loadDataRepresentation(*bytes, LoadMode::Open, documentPath);
    else
        outcome.alert = {openTitle(), documentUnreadableMessage(printablePath(path), reason)};
    if (!outcome.alert.isEmpty())
        printAlert(outcome.alert);
    if (!outcome.detail.isEmpty())
        err_ << prefix_ << outcome.detail << "\n";
    if (!outcome.ok || outcome.runSubstitutePanel || !doc_.sourceImage())
        return ExitInput;
    return ExitOk;
}

int RenderJob::loadPicture(const QByteArray& path)
{
    QString error;
    std::optional<SourcePicture> picture;
    if (const std::optional<QByteArray> bytes = readRegularFile(path, kMaxPictureFileBytes, &error))
        picture = decodePicture(*bytes, &error, PictureOptions{options_.vectorSide});
    if (!picture) {
        // In a batch the prefix names the input already.
        err_ << prefix_
             << (inBatch_ ? QString() : QStringLiteral("cannot read %1: ").arg(quotedPath(path)))
             << error << "\n";
        return ExitInput;
    }
    const bool greyWithoutAlpha = picture->samplesPerPixel == 1 && !picture->hasAlpha;
    SourcePicture described;   // the description only, for the reason below
    described.representationCount = picture->representationCount;
    described.bitsPerSample = picture->bitsPerSample;
    described.samplesPerPixel = picture->samplesPerPixel;
    described.bitsPerPixel = picture->bitsPerPixel;
    described.vectorKind = picture->vectorKind;
    // Adopted without rendering: the one full render follows.
    IntakeRefusal refusal = IntakeRefusal::None;
    if (!doc_.adoptImage(std::move(*picture), QFile::decodeName(path), false, &refusal)) {
        err_ << prefix_ << incompatibleImageTitle() << ": " << incompatibleImageMessage() << "\n"
             << prefix_ << (inBatch_ ? QString() : quotedPath(path) + QStringLiteral(": "))
             << intakeRefusalReason(refusal, described) << "\n";
        return ExitInput;
    }
    if (greyWithoutAlpha && !invertRequested() && mostlyCovered(*doc_.sourceImage()))
        err_ << prefix_ << "note: in a grey picture the grey value is the coverage, so "
             << quotedPath(path) << " becomes a stencil covering most of it; for a dark "
             << "drawing on a light ground, --invert may be meant\n";
    return ExitOk;
}

bool RenderJob::invertRequested() const
{
    return std::any_of(options_.stencilCommands.begin(), options_.stencilCommands.end(),
                       [](const StencilCommand& c) { return c.kind == StencilCommand::Kind::Invert; });
}

// After a document brought its own settings; every --set was checked
// before any input was read.
void RenderJob::applySettings()
{
    if (!options_.preset && options_.settings.empty())
        return;
    TintSettings settings = doc_.settings();
    if (options_.preset)
        applyPreset(settings, *options_.preset);
    QString ignored;
    for (const auto& [key, value] : options_.settings)
        applySetting(settings, key, value, &ignored);
    doc_.replaceSettings(settings);
}

// The window's commands, through the document's own methods. The pipeline
// stays off while they change the stencil, so that only --fit-shadow, which
// needs the shadow's clipping, renders before the final render.
int RenderJob::applyStencilCommands()
{
    const RenderPipeline& pipeline = doc_.pipeline();
    for (const StencilCommand& command : options_.stencilCommands) {
        StencilMargins margins = command.margins;
        if (command.kind == StencilCommand::Kind::Invert) {
            if (!doc_.invertSource()) {
                err_ << prefix_ << "the stencil could not be inverted (not enough memory)\n";
                return ExitFailure;
            }
            continue;
        }
        if (command.kind == StencilCommand::Kind::FitShadow) {
            if (const int code = checkFinalSize())
                return code;
            if (const int code = render())
                return code;
            doc_.gelcoatChanged(false);
            const ShadowReport& clipped = pipeline.shadowWarning();
            if (!clipped.needsWarning)
                continue;
            margins = {clipped.top, clipped.bottom, clipped.left, clipped.right};
        }
        QString refusal;
        if (!doc_.applySizeAdjustment(margins, &refusal)) {
            if (refusal.isEmpty())
                err_ << prefix_ << "the stencil could not be resized (not enough memory)\n";
            else
                err_ << prefix_ << adjustSizeTitle() << ": " << refusal << "\n";
            return refusal.isEmpty() ? ExitFailure : ExitUsage;
        }
    }
    return ExitOk;
}

// Known as soon as the stencil and the settings are, so that a result too
// large is refused before any stage runs.
int RenderJob::checkFinalSize()
{
    const BitmapRep& source = *doc_.sourceImage();
    const float finalSize = doc_.settings().finalSize;
    if (RenderPipeline::finalPixelSize(float(source.pixelsWide()), float(source.pixelsHigh()),
                                       finalSize))
        return ExitOk;
    const bool fromOption =
        std::any_of(options_.settings.begin(), options_.settings.end(),
                    [](const auto& setting) { return setting.first == u"FinalSize"; });
    err_ << prefix_ << (fromOption ? "a" : "the document's") << " final size of "
         << finalSize << " % would make the " << source.pixelsWide() << " × "
         << source.pixelsHigh() << " stencil larger than the limit of " << kMaxBitmapPixels
         << " pixels (16384 × 16384)\n";
    return fromOption ? ExitUsage : ExitInput;
}

// Switching the pipeline on remakes every stage the changes left invalid.
int RenderJob::render()
{
    if (doc_.gelcoatOn())
        doc_.remakeGelcoatWithChanges({});
    else
        doc_.gelcoatChanged(true);
    const RenderPipeline& p = doc_.pipeline();
    if (p.finalMixImageValid() && p.finalMixImage())
        return ExitOk;
    const std::string& why = p.lastFailure();
    err_ << prefix_ << "rendering failed"
         << (why.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(why)) << "\n";
    return ExitFailure;
}

// The encoded image, or empty with the reason in *error.
QByteArray RenderJob::imageBytes(OutputKind kind, QString* error) const
{
    const BitmapRep* buffer = stageBuffer(doc_, options_.stage);
    // Without a shadow to draw the pipeline keeps no shadow buffer: the
    // stage is then a transparent image of the stencil's size.
    std::optional<BitmapRep> noShadow;
    if (!buffer && options_.stage == RenderStage::Shadow &&
        doc_.settings().shadowDensity <= 0.0f && doc_.sourceImage()) {
        noShadow = BitmapRep::make(doc_.sourceImage()->pixelsWide(),
                                   doc_.sourceImage()->pixelsHigh());
        buffer = noShadow ? &*noShadow : nullptr;
    }
    if (!buffer) {
        *error = QStringLiteral("the pipeline holds no such buffer");
        return {};
    }
    QByteArray bytes;
    if (options_.stageGiven) {
        bytes = encodeStageImage(*buffer);
    } else if (!options_.flatten || *options_.flatten == FlattenChoice::None) {
        bytes = encodeResultImage(*buffer, kind);
    } else if (std::optional<BitmapRep> flat = flattenedImage(*buffer, *options_.flatten)) {
        bytes = encodeResultImage(*flat, kind);
    } else {
        *error = QStringLiteral("not enough memory to flatten the image");
        return {};
    }
    if (bytes.isEmpty())
        *error = QStringLiteral("the image could not be encoded");
    return bytes;
}

// The image and the document are written in full first and put under
// their names only when both are complete: both or neither.
int RenderJob::writeOutputs(const QByteArray& imageOutput)
{
    std::unique_ptr<PendingFile> image;
    std::optional<PendingFile> document;
    QString error;
    const bool leaveUncommitted = leaveImageUncommitted_ && options_.saveDocument.isEmpty();
    if (!imageOutput.isEmpty()) {
        const QByteArray bytes = imageBytes(outputKindForPath(imageOutput), &error);
        image = std::make_unique<PendingFile>(
            imageOutput, inBatch_ ? LinkPolicy::Refuse : LinkPolicy::FollowWhereSafe);
        const auto flush =
            leaveUncommitted ? PendingFile::Flush::InCommit : PendingFile::Flush::InWrite;
        if (bytes.isEmpty() || !image->write(bytes, &error, flush)) {
            err_ << prefix_ << "could not write " << quotedPath(imageOutput) << ": " << error
                 << "\n";
            return ExitFailure;
        }
        if (leaveUncommitted) {
            uncommitted_ = std::move(image);
            return ExitOk;
        }
    }
    const QByteArray& documentOutput = options_.saveDocument;
    auto saveFailed = [&] {
        printAlert({saveTitle(), documentSaveFailedMessage(printablePath(documentOutput), error)});
        return ExitFailure;
    };
    if (!documentOutput.isEmpty()) {
        const QByteArray bytes = doc_.dataRepresentationOfType();
        if (bytes.isEmpty())
            error = QStringLiteral("The document's data could not be made.");
        document.emplace(documentOutput);
        if (bytes.isEmpty() || !document->write(bytes, &error))
            return saveFailed();
    }
    if (document && !document->commit(&error))
        return saveFailed();
    return image ? commitImage(*image, imageOutput, prefix_, err_) : ExitOk;
}

void RenderJob::printAlert(const DocumentAlert& alert)
{
    err_ << prefix_ << alert.title << ": " << alert.message << "\n";
}

int commitImage(PendingFile& image, const QByteArray& path, const QString& prefix,
                QTextStream& err)
{
    QString error;
    if (image.commit(&error))
        return ExitOk;
    err << prefix << "could not write " << quotedPath(path) << ": " << error << "\n";
    return ExitFailure;
}

} // namespace gelcoat
