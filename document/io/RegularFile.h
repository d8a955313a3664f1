#pragma once
// Reading a whole file safely: only regular files, only up to a size limit,
// and never blocking on a FIFO or a device that a hostile path may name.

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// The file's bytes, or nothing with the reason in *error.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes,
                                          QString* error = nullptr);

} // namespace gelcoat
