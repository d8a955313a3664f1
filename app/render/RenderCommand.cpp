#include "RenderCommand.h"

#include "ImageOutput.h"
#include "RenderOptions.h"

#include "intake/PictureDecoder.h"
#include "intake/StencilIntake.h"
#include "model/TintDocument.h"

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

// Takes the input file through the acceptance check; 0 or an exit code.
int loadInput(TintDocument& doc, const QString& path, QTextStream& err)
{
    QString error;
    std::optional<SourcePicture> picture = decodePictureFile(path, &error);
    if (!picture) {
        err << "gelcoat-render: cannot read \"" << path << "\": " << error << "\n";
        return ExitInput;
    }
    // Adopted without rendering: the one full render below follows.
    if (!doc._useImage(std::move(*picture), path, false)) {
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
    const bool writeImage = !options->info || !options->output.isEmpty();
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

    TintDocument doc;
    if (options->preset)
        applyPreset(doc.settings, *options->preset);
    for (const auto& [key, value] : options->settings)
        if (!applySetting(doc.settings, key, value, &error)) {
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

    doc.remakeGelcoatWithChangedSourceImage(true, true, true, true);
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
    if (!writeImage)
        return ExitOk;

    const BitmapRep* buffer = stageBuffer(doc, options->stage);
    if (!buffer) {
        err << "gelcoat-render: the pipeline holds no such buffer\n";
        return ExitFailure;
    }
    const bool written = options->stageGiven ? writeStageImage(*buffer, output, &error)
                                             : writeResultImage(*buffer, output, &error);
    if (!written) {
        err << "gelcoat-render: " << error << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace gelcoat
