#pragma once
// One colour sample times its alpha, rounded as Qt's qPremultiply() rounds,
// so that a picture gives the same stencil whichever reader decoded it.

#include <cstdint>

namespace gelcoat {

inline std::uint8_t premultipliedSample(std::uint32_t sample, std::uint32_t alpha)
{
    const std::uint32_t t = (sample & 0xff) * alpha;
    return std::uint8_t((t + (t >> 8) + 0x80) >> 8);
}

} // namespace gelcoat
