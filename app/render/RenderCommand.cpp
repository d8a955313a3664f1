#include "RenderCommand.h"

#include "ImageOutput.h"
#include "RenderJob.h"
#include "RenderOptions.h"

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
    const QString imageOutput = imageOutputFor(*options);
    if (!optionsConsistent(*options, imageOutput, &error) || !settingsValid(*options, &error)) {
        err << "gelcoat-render: " << error << "\n";
        return ExitUsage;
    }
    RenderJob job(*options, out, err);
    return job.run(options->input, imageOutput);
}

} // namespace gelcoat
