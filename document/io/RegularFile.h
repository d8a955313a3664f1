#pragma once
// Whole files in and out safely. Reading: only regular files, only up to a
// size limit, never blocking on a FIFO or a device a hostile path may name.
// Writing: beside the target, then renamed over it.

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// The file's bytes, or nothing with the reason in *error.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes,
                                          QString* error = nullptr);

// Writes bytes to a temporary file beside path and renames it over path, so
// that a failed write leaves an existing file as it was. False, with the
// system's reason in *error, on failure.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace gelcoat
