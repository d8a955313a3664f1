#pragma once
// The pictures bundled with the views, loaded by name.

#include <QLoggingCategory>
#include <QPixmap>

namespace gelcoat {

Q_DECLARE_LOGGING_CATEGORY(lcViews)

// Loads ":/images/<folder>/<name>.png", or its "@2x" version (marked as
// double density) when the screens are dense and it exists.  A missing
// picture gives a null pixmap and one log line.
QPixmap loadViewImage(const QString& folder, const QString& name);

} // namespace gelcoat
