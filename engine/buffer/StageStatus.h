#pragma once
// What a pixel stage reports, and the one check of its arguments that every
// stage makes before it touches a pixel.

#include "engine/buffer/BitmapRep.h"
#include "engine/buffer/EngineLog.h"

#include <initializer_list>

namespace gelcoat {

enum class StageStatus {
    done,
    wrongOutputFormat,   // the output is not premultiplied RGBA, 8 bits a sample
    buffersTooSmall,     // a buffer holds fewer than width × height four-byte pixels
    tablesUnavailable,   // the shading tables could not be built
};

// A short English reason, for logs and failure messages.
const char* describe(StageStatus status);

// The stage's arguments, checked once: the output in engine format (the
// stage's once-only log line names it otherwise) and every buffer, output
// included, holding width × height four-byte pixels.
[[nodiscard]] StageStatus checkStageBuffers(OnceOnlyLog& log, const char* outputName,
                                            const BitmapRep& output,
                                            std::initializer_list<const BitmapRep*> inputs,
                                            int width, int height);

} // namespace gelcoat
