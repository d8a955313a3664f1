#include "RenderCommand.h"

#include "ImageOutput.h"
#include "RenderOptions.h"

#include "intake/PictureDecoder.h"
#include "intake/StencilIntake.h"
#include "model/TintDocument.h"

#include <QFile>
#include <QFileInfo>

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

// A document by its extension, or by a property list near the start (an
// SVG picture opens as XML too).
bool isDocumentInput(const QString& path)
{
    if (path.endsWith(QStringLiteral(".gelcoat"), Qt::CaseInsensitive))
        return true;
    // Only regular files are peeked at: opening a FIFO would wait for a writer.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray head = file.read(1024);
    return head.contains("<plist") || head.contains("<!DOCTYPE plist");
}

void printAlert(const DocumentAlert& alert, QTextStream& err)
{
    err << "gelcoat-render: " << alert.title << ": " << alert.message << "\n";
}

// Opens a document: its stencil and its settings. A stencil that cannot be
// had (missing external picture, undecodable stored picture) is an input
// failure, since there is no panel to choose another.
int loadDocument(TintDocument& doc, const QString& path, QTextStream& err)
{
    const DocumentOutcome outcome = doc.readFromFile(path);
    if (!outcome.alert.isEmpty())
        printAlert(outcome.alert, err);
    if (!outcome.ok || outcome.runSubstitutePanel || !doc.sourceImage())
        return ExitInput;
    return ExitOk;
}

// Takes the input file through the acceptance check; 0 or an exit code.
int loadInput(TintDocument& doc, const QString& path, QTextStream& err)
{
    if (isDocumentInput(path))
        return loadDocument(doc, path, err);
    QString error;
    std::optional<SourcePicture> picture = decodePictureFile(path, &error);
    if (!picture) {
        err << "gelcoat-render: cannot read \"" << path << "\": " << error << "\n";
        return ExitInput;
    }
    // Adopted without rendering: the one full render below follows.
    if (!doc.adoptImage(std::move(*picture), path, false)) {
        err << "gelcoat-render: " << incompatibleImageTitle() << ": "
            << incompatibleImageMessage() << "\n";
        return ExitInput;
    }
    return ExitOk;
}

} // namespace

int runRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString error;
    std::optional<RenderOptions> options = parseRenderOptions(args, &error);
    if (!options) {
        err << "gelcoat-render: " << error << "\n" << renderUsage();
        return ExitUsage;
    }
    if (options->help) {
        out << renderUsage();
        return ExitOk;
    }
    const bool writeImage =
        !options->output.isEmpty() || (!options->info && options->saveDocument.isEmpty());
    const QString output =
        options->output.isEmpty() ? QStringLiteral("gelcoat.tiff") : options->output;
    const OutputKind kind = outputKindForPath(output);
    if (writeImage && kind == OutputKind::Unknown) {
        err << "gelcoat-render: the output must end in .tif, .tiff or .png\n";
        return ExitUsage;
    }
    if (writeImage && options->stageGiven && kind == OutputKind::Png) {
        err << "gelcoat-render: --stage writes TIFF only; name the output .tif or .tiff\n";
        return ExitUsage;
    }
    if (options->stageGiven && options->flatten) {
        err << "gelcoat-render: --flatten applies to the final image, not to --stage\n";
        return ExitUsage;
    }

    TintDocument doc;
    // Settings are checked before any input is read, and applied after a
    // document brought its own.
    TintSettings checked;
    for (const auto& [key, value] : options->settings)
        if (!applySetting(checked, key, value, &error)) {
            err << "gelcoat-render: " << error << "\n";
            return ExitUsage;
        }

    if (!options->input.isEmpty()) {
        if (const int code = loadInput(doc, options->input, err))
            return code;
    } else if (!doc.sourceImage()) {
        err << "gelcoat-render: the built-in start picture is missing\n";
        return ExitFailure;
    }
    TintSettings settings = doc.settings();
    if (options->preset)
        applyPreset(settings, *options->preset);
    for (const auto& [key, value] : options->settings)
        applySetting(settings, key, value, &error);
    doc.replaceSettings(settings); // remakes every stage
    const RenderPipeline& p = doc.pipeline();
    if (!p.finalMixImageValid() || !p.finalMixImage()) {
        const std::string& why = p.lastFailure();
        err << "gelcoat-render: rendering failed"
            << (why.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(why))
            << "\n";
        return ExitFailure;
    }

    if (options->info)
        out << infoJson(doc) << "\n";
    if (!options->saveDocument.isEmpty()) {
        const DocumentOutcome saved = doc.saveDocumentTo(options->saveDocument);
        if (!saved.ok) {
            printAlert(saved.alert, err);
            return ExitFailure;
        }
    }
    if (!writeImage)
        return ExitOk;

    const BitmapRep* buffer = stageBuffer(doc, options->stage);
    // Without a shadow to draw the pipeline keeps no shadow buffer: the
    // stage is then a transparent image of the stencil's size.
    std::optional<BitmapRep> noShadow;
    if (!buffer && options->stage == RenderStage::Shadow && doc.settings().shadowDensity <= 0.0f &&
        doc.sourceImage()) {
        noShadow = BitmapRep::make(doc.sourceImage()->pixelsWide(), doc.sourceImage()->pixelsHigh());
        buffer = noShadow ? &*noShadow : nullptr;
    }
    if (!buffer) {
        err << "gelcoat-render: the pipeline holds no such buffer\n";
        return ExitFailure;
    }
    bool written = false;
    if (options->stageGiven) {
        written = writeStageImage(*buffer, output, &error);
    } else if (!options->flatten || *options->flatten == FlattenChoice::None) {
        written = writeResultImage(*buffer, output, &error);
    } else if (std::optional<BitmapRep> flat = flattenedImage(*buffer, *options->flatten)) {
        written = writeResultImage(*flat, output, &error);
    } else {
        error = QStringLiteral("not enough memory to flatten the image");
    }
    if (!written) {
        err << "gelcoat-render: " << error << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace gelcoat
