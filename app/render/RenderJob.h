#pragma once
// One input of gelcoat-render taken through its steps: load the stencil,
// apply the settings, render, report, write. Each step returns 0 or the
// exit code that ends the job.

#include "app/render/ImageOutput.h"
#include "app/render/RenderOptions.h"

#include "document/io/RegularFile.h"
#include "document/model/TintDocument.h"

#include <QString>
#include <QTextStream>

#include <memory>
#include <utility>

namespace gelcoat {

class RenderJob {
public:
    RenderJob(const RenderOptions& options, QTextStream& out, QTextStream& err);

    // input empty: the built-in start picture. imageOutput empty: no image.
    // infoNamesInput: the --info line starts with the input's path, as a
    // batch prints one line per input.
    int run(const QString& input, const QString& imageOutput, bool infoNamesInput = false);

    // For a batch, asked before run(): the image is written but left for
    // its caller to flush and rename (commitImage()), on a thread that may
    // wait for the disk while this one renders the next input. Only when
    // no document is saved beside it.
    void leaveImageUncommitted() { leaveImageUncommitted_ = true; }
    std::unique_ptr<PendingFile> takeUncommittedImage() { return std::move(uncommitted_); }

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
    bool leaveImageUncommitted_ = false;
    std::unique_ptr<PendingFile> uncommitted_;
};

// Flushes and renames an image written by a job; ExitOk, or ExitFailure
// with the reason on err.
int commitImage(PendingFile& image, const QString& path, QTextStream& err);

} // namespace gelcoat
