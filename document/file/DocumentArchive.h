#pragma once
// The document file: an XML property list whose top-level dictionary holds
// the format version, the stencil as LZW TIFF, the last export path and
// every setting. Written and parsed with libplist.

#include "document/settings/TintSettings.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// Files larger than this are refused before parsing.
inline constexpr qint64 kMaxDocumentFileBytes = qint64(256) << 20;

// The version this writer stores; later versions are refused.
inline constexpr std::int32_t kDocumentArchiveVersion = 1;

// What a document file holds, after the reading rules.
struct DocumentArchive {
    std::int32_t archiveVersion = 0;        // 0 when the key is missing
    std::optional<QByteArray> sourceData;   // the embedded picture's bytes
    QString sourceImagePath;                // "" for none
    QString destImagePath;                  // "" for none
    // The settings the caller passed in, with every tint, shadow, size and
    // bug field reset to its default and then every stored key applied. A
    // missing display key leaves the caller's display value.
    TintSettings settings;
};

// The file's bytes. sourceData is written as "SourceData" when not empty.
QByteArray writeDocumentArchive(const QByteArray& sourceData, const QString& destImagePath,
                                const TintSettings& settings);

// Parses a document file. Nothing, with a description of the fault (what
// failed and where) in *error, when the bytes are not a property list whose
// top level is a dictionary.
std::optional<DocumentArchive> readDocumentArchive(const QByteArray& bytes,
                                                   const TintSettings& current,
                                                   QString* error);

} // namespace gelcoat
