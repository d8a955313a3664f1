#include "app/render/RenderCommand.h"

#include "app/render/BatchRun.h"
#include "app/render/IconSetRun.h"
#include "app/render/ImageOutput.h"
#include "app/render/RenderJob.h"
#include "app/render/RenderOptions.h"
#include "app/render/RenderPaths.h"

#include "document/io/PrintablePath.h"

#include <QHash>

namespace gelcoat {

namespace {

// Option combinations that cannot work, refused before any input is read.
bool optionsConsistent(const RenderOptions& options, const QByteArray& imageOutput, QString* error)
{
    const OutputKind kind = outputKindForPath(imageOutput);
    if (options.stageGiven && options.flatten)
        *error = QStringLiteral("--flatten applies to the final image, not to --stage");
    else if (imageOutput.isEmpty())
        return true;
    else if (!options.saveDocument.isEmpty() && sameFileOrName(imageOutput, options.saveDocument))
        *error = QStringLiteral("the image and the document cannot both be written to %1")
                     .arg(quotedPath(imageOutput));
    else if (kind == OutputKind::Unknown)
        *error = QStringLiteral("the output must end in .tif, .tiff or .png");
    else if (options.stageGiven && (kind == OutputKind::Png || options.pngFormat))
        *error = QStringLiteral("--stage writes TIFF only; name the output .tif or .tiff");
    else if (options.formatGiven && options.pngFormat != (kind == OutputKind::Png))
        *error = QStringLiteral("--format %1 and the output %2 contradict each other")
                     .arg(options.pngFormat ? u"png" : u"tiff", quotedPath(imageOutput));
    return error->isEmpty();
}

bool settingsValid(const RenderOptions& options, QString* error)
{
    TintSettings checked;
    for (const auto& [key, value] : options.settings)
        if (!applySetting(checked, key, value, error))
            return false;
    return true;
}

// Without -o an image is still written (to gelcoat.tiff, or gelcoat.png
// with --format png) unless the run only asked for --info or a document.
QByteArray imageOutputFor(const RenderOptions& options)
{
    if (!options.output.isEmpty())
        return options.output;
    if (options.info || !options.saveDocument.isEmpty())
        return {};
    return options.pngFormat && !options.stageGiven ? "gelcoat.png" : "gelcoat.tiff";
}

// A trailing slash or an existing folder: a batch's destination.
bool isFolderOutput(const QByteArray& output)
{
    return output.endsWith('/') || (!output.isEmpty() && isFolder(output));
}

// An output that is one of the inputs would replace it before, or while,
// it is read: each such input is named, and nothing is done.
bool outputsSpareInputs(const QByteArrayList& inputs, const QByteArrayList& outputs,
                        QTextStream& err)
{
    QHash<QByteArray, qsizetype> inputOf;
    auto key = [](const FileIdentity& id) {
        return QByteArray::number(quint64(id.device)) + ':' + QByteArray::number(quint64(id.inode));
    };
    for (qsizetype i = 0; i < inputs.size(); ++i)
        if (const std::optional<FileIdentity> id = fileIdentity(inputs[i]))
            inputOf.insert(key(*id), i);
    bool spared = true;
    for (const QByteArray& output : outputs) {
        const std::optional<FileIdentity> id =
            output.isEmpty() ? std::nullopt : fileIdentity(output);
        const auto input = id ? inputOf.constFind(key(*id)) : inputOf.constEnd();
        if (input == inputOf.constEnd())
            continue;
        err << "gelcoat-render: " << quotedPath(inputs[*input]) << ": the output "
            << quotedPath(output) << " is this input itself and would replace it; "
            << "nothing was written\n";
        spared = false;
    }
    return spared;
}

// Checks what only a batch refuses, makes its folder and runs it.
int runBatchCommand(const RenderOptions& options, QTextStream& out, QTextStream& err)
{
    QString error;
    if (options.inputs.isEmpty())
        error = QStringLiteral("a batch needs input files");
    else if (!options.saveDocument.isEmpty())
        error = QStringLiteral("--save-document takes a single input");
    else if (options.output.isEmpty() && !options.info)
        error = QStringLiteral("several inputs need -o FOLDER/");
    else if (!isFolderOutput(options.output) && !options.output.isEmpty())
        error = QStringLiteral("several inputs need a folder: -o \"%1/\"")
                    .arg(printablePath(options.output));
    else if (options.stageGiven && options.pngFormat)
        error = QStringLiteral("--stage writes TIFF only");
    else if (options.stageGiven && options.flatten)
        error = QStringLiteral("--flatten applies to the final image, not to --stage");
    QByteArrayList outputs;
    if (error.isEmpty() && !options.output.isEmpty())
        outputs = batchOutputs(options, options.output, &error);
    if (error.isEmpty())
        settingsValid(options, &error);
    if (!error.isEmpty()) {
        err << "gelcoat-render: " << error << "\n";
        return ExitUsage;
    }
    if (!outputsSpareInputs(options.inputs, outputs, err))
        return ExitUsage;
    if (!options.output.isEmpty() && !makeFolders(options.output, &error)) {
        err << "gelcoat-render: the folder " << quotedPath(options.output)
            << " cannot be made: " << error << "\n";
        return ExitFailure;
    }
    return runBatch(options, outputs, out, err);
}

} // namespace

int runRenderCommand(const QByteArrayList& args, QTextStream& out, QTextStream& err)
{
    QString error;
    const std::optional<RenderOptions> options = parseRenderOptions(args, &error);
    if (!options) {
        err << "gelcoat-render: " << error << "\n" << renderUsage();
        return ExitUsage;
    }
    if (options->help) {
        out << renderUsage();
        return ExitOk;
    }
    if (!options->iconSizes.empty())
        return runIconSets(*options, out, err);
    if (options->hicolor || options->iconFormat) {
        err << "gelcoat-render: " << (options->hicolor ? "--hicolor" : "--format ico or icns")
            << " makes an icon set: give --sizes too\n";
        return ExitUsage;
    }
    if (options->inputs.size() > 1 || isFolderOutput(options->output))
        return runBatchCommand(*options, out, err);
    const QByteArray imageOutput = imageOutputFor(*options);
    if (!optionsConsistent(*options, imageOutput, &error) || !settingsValid(*options, &error)) {
        err << "gelcoat-render: " << error << "\n";
        return ExitUsage;
    }
    if (!outputsSpareInputs(options->inputs, {imageOutput, options->saveDocument}, err))
        return ExitUsage;
    RenderJob job(*options, out, err);
    return job.run(options->inputs.value(0), imageOutput);
}

} // namespace gelcoat
