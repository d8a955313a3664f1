#pragma once
// Deep samples narrowed to the 8 bits the stencil holds, rounded to
// nearest, the same whichever decoder read them.

#include <cstdint>

namespace gelcoat {

// v × 255 / maxValue, rounded to nearest; v above maxValue counts as it.
inline std::uint8_t reducedSample(std::uint32_t v, std::uint32_t maxValue = 65535)
{
    if (v >= maxValue)
        return 255;
    return std::uint8_t((std::uint64_t(v) * 255 + maxValue / 2) / maxValue);
}

} // namespace gelcoat
