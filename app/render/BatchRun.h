#pragma once
// Several inputs rendered with the same options, several files at once:
// each becomes FOLDER/NAME.tiff (or .png). A refused input prints its lines
// and the others go on; the result is the worst exit status.

#include "app/render/RenderOptions.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace gelcoat {

// The output of each input in folder, or empty with the reason in *error
// when two inputs would write the same file.
QStringList batchOutputs(const RenderOptions& options, const QString& folder, QString* error);

// outputs: one per input, or empty to write no images (--info only).
int runBatch(const RenderOptions& options, const QStringList& outputs, QTextStream& out,
             QTextStream& err);

} // namespace gelcoat
