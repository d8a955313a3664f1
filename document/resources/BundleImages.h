#pragma once
// The images compiled into the program: the reference gel button, the
// start picture (the mascot) and the mascot's foot. Each is decoded once
// per process and kept.

#include "engine/buffer/BitmapRep.h"
#include "document/intake/SourcePicture.h"

#include <optional>

namespace gelcoat {

// The decoded picture of a bundle image, before the acceptance check;
// nothing when the resource is missing or cannot be decoded.
const std::optional<SourcePicture>& startPicture();
const std::optional<SourcePicture>& footPicture();

// Installs the provider the shading tables sample "base" from, and routes
// the engine's log lines to the application's log. Safe to call often.
void installEngineResources();

} // namespace gelcoat
