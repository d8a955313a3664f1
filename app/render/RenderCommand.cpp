#include "app/render/RenderCommand.h"

#include "app/render/BatchRun.h"
#include "app/render/ImageOutput.h"
#include "app/render/RenderJob.h"
#include "app/render/RenderOptions.h"

#include <QDir>
#include <QFileInfo>

namespace gelcoat {

namespace {

// Through links and relative paths too: one output would replace the other.
bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a), second(b);
    if (first.absoluteFilePath() == second.absoluteFilePath())
        return true;
    const QString canonical = first.canonicalFilePath();
    return !canonical.isEmpty() && canonical == second.canonicalFilePath();
}

// Option combinations that cannot work, refused before any input is read.
bool optionsConsistent(const RenderOptions& options, const QString& imageOutput, QString* error)
{
    const OutputKind kind = outputKindForPath(imageOutput);
    if (options.stageGiven && options.flatten)
        *error = QStringLiteral("--flatten applies to the final image, not to --stage");
    else if (imageOutput.isEmpty())
        return true;
    else if (!options.saveDocument.isEmpty() && sameFile(imageOutput, options.saveDocument))
        *error = QStringLiteral("the image and the document cannot both be written to \"%1\"")
                     .arg(imageOutput);
    else if (kind == OutputKind::Unknown)
        *error = QStringLiteral("the output must end in .tif, .tiff or .png");
    else if (options.stageGiven && kind == OutputKind::Png)
        *error = QStringLiteral("--stage writes TIFF only; name the output .tif or .tiff");
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

// Without -o an image is still written (to gelcoat.tiff) unless the run only
// asked for --info or a document.
QString imageOutputFor(const RenderOptions& options)
{
    if (!options.output.isEmpty())
        return options.output;
    if (options.info || !options.saveDocument.isEmpty())
        return {};
    return QStringLiteral("gelcoat.tiff");
}

// A trailing slash or an existing folder: a batch's destination.
bool isFolderOutput(const QString& output)
{
    return output.endsWith(u'/') || (!output.isEmpty() && QFileInfo(output).isDir());
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
        error = QStringLiteral("several inputs need a folder: -o \"%1/\"").arg(options.output);
    else if (options.stageGiven && options.pngFormat)
        error = QStringLiteral("--stage writes TIFF only");
    else if (options.stageGiven && options.flatten)
        error = QStringLiteral("--flatten applies to the final image, not to --stage");
    QStringList outputs;
    if (error.isEmpty() && !options.output.isEmpty())
        outputs = batchOutputs(options, options.output, &error);
    if (error.isEmpty())
        settingsValid(options, &error);
    if (!error.isEmpty()) {
        err << "gelcoat-render: " << error << "\n";
        return ExitUsage;
    }
    if (!options.output.isEmpty() && !QDir().mkpath(options.output)) {
        err << "gelcoat-render: the folder \"" << options.output << "\" cannot be made\n";
        return ExitFailure;
    }
    return runBatch(options, outputs, out, err);
}

} // namespace

int runRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err)
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
    if (options->inputs.size() > 1 || isFolderOutput(options->output))
        return runBatchCommand(*options, out, err);
    const QString imageOutput = imageOutputFor(*options);
    if (!optionsConsistent(*options, imageOutput, &error) || !settingsValid(*options, &error)) {
        err << "gelcoat-render: " << error << "\n";
        return ExitUsage;
    }
    RenderJob job(*options, out, err);
    return job.run(options->inputs.value(0), imageOutput);
}

} // namespace gelcoat
