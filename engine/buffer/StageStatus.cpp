#include "engine/buffer/StageStatus.h"

namespace gelcoat {

const char* describe(StageStatus status)
{
    switch (status) {
    case StageStatus::done:
        return "done";
    case StageStatus::wrongOutputFormat:
        return "the output buffer is not in the engine's format";
    case StageStatus::buffersTooSmall:
        return "a buffer is smaller than the image";
    case StageStatus::tablesUnavailable:
        return "the shading tables could not be built";
    }
    return "unknown";
}

StageStatus checkStageBuffers(OnceOnlyLog& log, const char* outputName, const BitmapRep& output,
                              std::initializer_list<const BitmapRep*> inputs, int width,
                              int height)
{
    if (!isEngineFormat(output)) {
        log.formatFailure(outputName, &output);
        return StageStatus::wrongOutputFormat;
    }
    if (!coversFourByteRaster(output, width, height))
        return StageStatus::buffersTooSmall;
    for (const BitmapRep* input : inputs) {
        if (!input || !coversFourByteRaster(*input, width, height))
            return StageStatus::buffersTooSmall;
    }
    return StageStatus::done;
}

} // namespace gelcoat
