#pragma once
// gelcoat-render --sizes: each input rendered once and written as an icon
// set, its form chosen by the output (folder, --hicolor, .ico, .icns).

#include "app/render/RenderOptions.h"

#include <QTextStream>

namespace gelcoat {

int runIconSets(const RenderOptions& options, QTextStream& out, QTextStream& err);

} // namespace gelcoat
