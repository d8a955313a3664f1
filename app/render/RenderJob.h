#pragma once
// One input of gelcoat-render taken through its steps: load the stencil,
// apply the settings, render, report, write. Each step returns 0 or the
// exit code that ends the job.

#include "app/render/ImageOutput.h"
#include "app/render/RenderOptions.h"

#include "document/model/TintDocument.h"

#include <QString>
#include <QTextStream>

namespace gelcoat {

class RenderJob {
public:
    RenderJob(const RenderOptions& options, QTextStream& out, QTextStream& err);

    // input empty: the built-in start picture. imageOutput empty: no image.
    // infoNamesInput: the --info line starts with the input's path, as a
    // batch prints one line per input.
    int run(const QString& input, const QString& imageOutput, bool infoNamesInput = false);

private:
    int load(const QString& input);
    int loadDocument(const QString& path);
    int loadPicture(const QString& path);
    bool invertRequested() const;
    void applySettings();
    int applyStencilCommands();
    int checkFinalSize();
    int render();
    QByteArray imageBytes(OutputKind kind, QString* error) const;
    int writeOutputs(const QString& imageOutput);

    const RenderOptions& options_;
    QTextStream& out_;
    QTextStream& err_;
    TintDocument doc_;
};

} // namespace gelcoat
