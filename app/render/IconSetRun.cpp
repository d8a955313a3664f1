#include "app/render/IconSetRun.h"

#include "app/render/RenderCommand.h"
#include "app/render/RenderJob.h"
#include "app/render/RenderPaths.h"

#include "document/icons/IconFiles.h"
#include "document/icons/ScalableSource.h"

#include <QFileInfo>

namespace gelcoat {

namespace {

// NAME: the input's file name up to its last dot; the start picture's is
// "gelcoat".
QString setName(const QByteArray& input)
{
    if (input.isEmpty())
        return QStringLiteral("gelcoat");
    const QString file = QFileInfo(QFile::decodeName(input)).fileName();
    const qsizetype dot = file.lastIndexOf(u'.');
    return dot > 0 ? file.left(dot) : file;
}

IconSetForm formFor(const RenderOptions& options, const QByteArray& output)
{
    const QByteArray lower = output.toLower();
    if (lower.endsWith(".ico"))
        return IconSetForm::Ico;
    if (lower.endsWith(".icns"))
        return IconSetForm::Icns;
    if (options.iconFormat)
        return *options.iconFormat;
    return options.hicolor ? IconSetForm::Hicolor : IconSetForm::PngFiles;
}

bool namesOneFile(const QByteArray& output)
{
    const QByteArray lower = output.toLower();
    return lower.endsWith(".ico") || lower.endsWith(".icns");
}

QString refusal(const RenderOptions& o)
{
    const QByteArray& output = o.output;
    if (o.stageGiven)
        return QStringLiteral("--sizes makes icons of the final image, not of a --stage");
    if (!o.saveDocument.isEmpty())
        return QStringLiteral("--sizes and --save-document cannot be combined");
    if (o.formatGiven && !o.iconFormat)
        return QStringLiteral("--format with --sizes takes ico or icns");
    if (output.isEmpty())
        return QStringLiteral("--sizes needs -o FOLDER, -o OUT.ico or -o OUT.icns");
    if (namesOneFile(output) && o.hicolor)
        return QStringLiteral("--hicolor needs a folder, not %1").arg(quotedPath(output));
    if (namesOneFile(output) && o.iconFormat)
        return QStringLiteral("--format needs a folder when -o names the icon file");
    if (o.hicolor && o.iconFormat)
        return QStringLiteral("--hicolor and --format %1 contradict each other")
            .arg(*o.iconFormat == IconSetForm::Ico ? u"ico" : u"icns");
    if (namesOneFile(output) && o.inputs.size() > 1)
        return QStringLiteral("several inputs make one set each: give -o FOLDER/ with "
                              "--format ico or icns");
    return {};
}

// One input's set: rendered once, fitted, encoded, written all or none.
int writeSet(const RenderOptions& options, const QByteArray& input, bool inBatch,
             QTextStream& out, QTextStream& err)
{
    RenderJob job(options, out, err);
    job.renderAtExactSize();
    if (const int code = job.renderInput(input, inBatch))
        return code;
    const QString& prefix = job.messagePrefix();
    const std::optional<BitmapRep>& result = job.document().pipeline().finalMixImage();
    QString error;
    const auto icons = iconImagesFromResult(*result, options.iconSizes,
                                            options.flatten.value_or(FlattenChoice::None), &error);
    if (!icons) {
        err << prefix << "the icons could not be made: " << error << "\n";
        return ExitFailure;
    }
    const IconSetForm form = formFor(options, options.output);
    const QByteArray svg = form == IconSetForm::Hicolor ? scalableSource(input) : QByteArray();
    std::vector<int> leftOut;
    const std::vector<IconFile> files =
        iconSetFiles(*icons, form, setName(input), svg, &leftOut, &error);
    if (files.empty()) {
        err << prefix << error << "\n";
        return ExitUsage;
    }
    if (!leftOut.empty()) {
        QStringList sizes;
        for (const int n : leftOut)
            sizes << QString::number(n);
        err << prefix << "note: " << (form == IconSetForm::Ico ? "a Windows" : "a macOS")
            << " icon has no place for the sizes " << sizes.join(QStringLiteral(", "))
            << "; they were left out\n";
    }
    QByteArray target = options.output;
    if ((form == IconSetForm::Ico || form == IconSetForm::Icns) && !namesOneFile(target)) {
        if (!makeFolders(target, &error)) {
            err << prefix << "the folder " << quotedPath(target) << " cannot be made: " << error
                << "\n";
            return ExitFailure;
        }
        target = batchOutputPath(target, input.isEmpty() ? QByteArray("gelcoat") : input,
                                 form == IconSetForm::Ico ? ".ico" : ".icns");
    }
    if (!writeIconSet(target, files, &error)) {
        err << prefix << "could not write the icon set " << quotedPath(target) << ": " << error
            << "\n";
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace

int runIconSets(const RenderOptions& options, QTextStream& out, QTextStream& err)
{
    if (const QString why = refusal(options); !why.isEmpty()) {
        err << "gelcoat-render: " << why << "\n";
        return ExitUsage;
    }
    TintSettings checked;
    QString error;
    for (const auto& [key, value] : options.settings)
        if (!applySetting(checked, key, value, &error)) {
            err << "gelcoat-render: " << error << "\n";
            return ExitUsage;
        }
    const bool inBatch = options.inputs.size() > 1;
    int worst = ExitOk;
    const QByteArrayList inputs = options.inputs.isEmpty() ? QByteArrayList{QByteArray()}
                                                           : options.inputs;
    for (const QByteArray& input : inputs)
        worst = std::max(worst, writeSet(options, input, inBatch, out, err));
    return worst;
}

} // namespace gelcoat
