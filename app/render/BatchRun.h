#pragma once
// Several inputs rendered with the same options, several files at once:
// each becomes FOLDER/NAME.tiff (or .png). A refused input prints its lines
// and the others go on; the result is the worst exit status.

#include "app/render/RenderOptions.h"

#include <QByteArrayList>
#include <QString>
#include <QTextStream>

namespace gelcoat {

// The output of each input in folder, or empty with the reason in *error
// when two inputs would write the same file.
QByteArrayList batchOutputs(const RenderOptions& options, const QByteArray& folder,
                            QString* error);

// outputs: one per input, or empty to write no images (--info only).
int runBatch(const RenderOptions& options, const QByteArrayList& outputs, QTextStream& out,
             QTextStream& err);

// How many inputs may be in flight at once when jobs are asked for, so
// that the files they hold open stay below the process's limit
// (RLIMIT_NOFILE) with openNow already open: each holds at most one file
// while it renders and two more may wait to be committed.
int inputsInFlight(int jobs, long openNow, long limit);

} // namespace gelcoat
