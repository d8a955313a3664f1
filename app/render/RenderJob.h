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
    // inBatch: one input of several. Every message then starts with the
    // input's path, the --info line holds it, and the image is never written
    // through a symbolic link (its name was not typed by the user).
    int run(const QByteArray& input, const QByteArray& imageOutput, bool inBatch = false);

    // run() up to the render and the --info line, writing nothing; the
    // result is then the document's final image.
    int renderInput(const QByteArray& input, bool inBatch = false);
    // Asked before renderInput(): the result is rendered at 100 %, the
    // exact result an icon set is fitted from.
    void renderAtExactSize() { exactSize_ = true; }
    const TintDocument& document() const { return doc_; }

    // For a batch, asked before run(): the image is written but left for
    // its caller to flush and rename (commitImage()), on a thread that may
    // wait for the disk while this one renders the next input. Only when
    // no document is saved beside it.
    void leaveImageUncommitted() { leaveImageUncommitted_ = true; }
    std::unique_ptr<PendingFile> takeUncommittedImage() { return std::move(uncommitted_); }
    // What each of the job's messages starts with.
    const QString& messagePrefix() const { return prefix_; }

private:
    int load(const QByteArray& input);
    int loadDocument(const QByteArray& path);
    int loadPicture(const QByteArray& path);
    bool invertRequested() const;
    void applySettings();
    int applyStencilCommands();
    int checkFinalSize();
    int render();
    QByteArray imageBytes(OutputKind kind, QString* error) const;
    int writeOutputs(const QByteArray& imageOutput);
    void printAlert(const DocumentAlert& alert);

    const RenderOptions& options_;
    QTextStream& out_;
    QTextStream& err_;
    TintDocument doc_;
    QString prefix_ = QStringLiteral("gelcoat-render: ");   // of every message
    bool inBatch_ = false;
    bool leaveImageUncommitted_ = false;
    bool exactSize_ = false;
    std::unique_ptr<PendingFile> uncommitted_;
};

// Flushes and names an image written by a job; ExitOk, or ExitFailure with
// the reason on err, after prefix.
int commitImage(PendingFile& image, const QByteArray& path, const QString& prefix,
                QTextStream& err);

} // namespace gelcoat
