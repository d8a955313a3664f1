#pragma once
// The result leaving the program: flattened onto white or black or kept
// transparent, encoded as LZW TIFF, put on the clipboard or written to a
// file whose place the document remembers.

#include "engine/buffer/BitmapRep.h"
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
// the remembered save folder, else fallbackPanelFolder() with no name.
struct SaveProposal {
    QString folder;
    QString fileName;
};
SaveProposal proposedSaveLocation(const QString& destImagePath);

// The save panel's OK: remembers the folder, records the path in the
// document (marking it edited when the path is new), then writes the bytes
// through a temporary file renamed over the target, so that a failed write
// leaves an existing file intact. A failure gives the "Save" alert.
DocumentOutcome saveExportedImage(TintDocument& document, const QString& path,
                                  const QByteArray& tiff);

} // namespace gelcoat
