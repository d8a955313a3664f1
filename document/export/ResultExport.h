#pragma once
// The result leaving the program: flattened onto white or black or kept
// transparent, put on the clipboard as LZW TIFF and PNG, or written as
// PNG, TIFF or WebP to a file whose place the document remembers.

#include "engine/buffer/BitmapRep.h"
#include "document/export/ExportFormat.h"
#include "document/export/FlattenChoice.h"
#include "document/file/DocumentMessages.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QMimeData;

namespace gelcoat {

class TintDocument;

// White and black: a copy of the image over the opaque colour with
// premultiplied source-over (out = src + bg × (1 − srcA), alpha 1); None: a
// copy of the image. Nothing for a buffer that is not engine format or when
// memory runs out.
std::optional<BitmapRep> flattenedImage(const BitmapRep& image, FlattenChoice choice);

// LZW TIFF with associated alpha; empty when the image cannot be encoded.
QByteArray exportTiffData(const BitmapRep& image);

// The clipboard's payload for an exported image: exactly the bytes of
// exportTiffData under image/tiff, and the same pixels as PNG under
// image/png, the type most other desktop programs paste. Null when the
// image cannot be encoded.
QMimeData* makeClipboardPayload(const BitmapRep& image);

// The folder a file panel starts in when nothing is remembered: the user's
// documents folder, else the home folder.
QString fallbackPanelFolder();

// Where the save panel starts: the folder and name of the last export, else
// the remembered save folder, else fallbackPanelFolder() with no name. The
// format is the last export's by its suffix, else the one last used by any
// document, else PNG.
struct SaveProposal {
    QString folder;
    QString fileName;
    ExportFormat format = ExportFormat::Png;
};
SaveProposal proposedSaveLocation(const QString& destImagePath);

// The format a confirmed name is written in: the one its suffix names, so
// that a file called .tif never holds PNG; else the panel's type filter.
ExportFormat formatForChosenFile(const QString& path, ExportFormat filterFormat);

// The save panel's OK: remembers the folder and the format, records the
// path in the document (marking it edited when the path is new), then
// writes the encoded image through a temporary file renamed over the
// target, so that a failed write leaves an existing file intact. A failure,
// of the encoding or of the write, gives the "Save" alert.
DocumentOutcome saveExportedImage(TintDocument& document, const QString& path,
                                  ExportFormat format, const BitmapRep& image);

} // namespace gelcoat
