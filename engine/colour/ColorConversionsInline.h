#pragma once
// Inline bodies of the hot conversions; the gloss stage calls them per pixel.

#include <cmath>

namespace gelcoat {

inline std::uint32_t codeForFraction(float c)
{
    // round(c × 256 − 0.5) with halves away from zero, clamped to 0–255.
    // Below 0.5 the rounded value is 0 or −1 and clamps to 0 (NaN too); from
    // 255 up it is at least 255. In between, truncation plus the exact
    // fractional part rounds like roundf without the library call.
    const float t = c * 256.0f;
    const float shifted = t - 0.5f;
    if (!(shifted >= 0.5f))
        return 0;
    if (shifted >= 255.0f)
        return 255;
    const auto whole = std::uint32_t(shifted);
    // Branch-free: the half comparison is as good as random per pixel.
    return whole + std::uint32_t((shifted - float(whole)) >= 0.5f);
}

namespace detail {

// 0–1 clamp of the conversions: above 1 becomes 1, anything not at least 0
// (NaN included) becomes 0.
inline float clampUnit(float x)
{
    if (x > 1.0f)
        return 1.0f;
    if (!(x >= 0.0f))
        return 0.0f;
    return x;
}

// The hue sector's channels before desaturation, each rounded to single.
inline void hueSector(float h, float& r, float& g, float& b)
{
    constexpr double w = 1.0 / 6.0;
    const double hd = h;
    if (hd < 1.0 / 6.0) {
        r = 1.0f; g = float(hd / w); b = 0.0f;
    } else if (hd < 1.0 / 3.0) {
        r = float((w - (hd - 1.0 / 6.0)) / w); g = 1.0f; b = 0.0f;
    } else if (hd < 1.0 / 2.0) {
        r = 0.0f; g = 1.0f; b = float((hd - 1.0 / 3.0) / w);
    } else if (hd < 2.0 / 3.0) {
        r = 0.0f; g = float((w - (hd - 1.0 / 2.0)) / w); b = 1.0f;
    } else if (hd < 5.0 / 6.0) {
        r = float((hd - 2.0 / 3.0) / w); g = 0.0f; b = 1.0f;
    } else {
        r = 1.0f; g = 0.0f; b = float((w - (hd - 5.0 / 6.0)) / w);
    }
}

inline float desaturate(float c, float s, float v)
{
    const float mixed = float((1.0 - double(c)) * (1.0 - double(s)) + double(c));
    return mixed * v;
}

} // namespace detail

inline void HSVtoRGB(float h, float s, float v, float* red, float* green, float* blue)
{
    if (!(h < 1.0f) || h < 0.0f)
        h = 0.0f;
    s = detail::clampUnit(s);
    v = detail::clampUnit(v);
    float r, g, b;
    detail::hueSector(h, r, g, b);
    if (red)
        *red = detail::desaturate(r, s, v);
    if (green)
        *green = detail::desaturate(g, s, v);
    if (blue)
        *blue = detail::desaturate(b, s, v);
}

inline std::uint32_t valueForRGB(float red, float green, float blue)
{
    return (codeForFraction(red) << 24) | (codeForFraction(green) << 16) |
           (codeForFraction(blue) << 8);
}

inline std::uint32_t valueForHSV(float hue, float saturation, float value)
{
    float r, g, b;
    HSVtoRGB(hue, saturation, value, &r, &g, &b);
    return valueForRGB(r, g, b);
}

} // namespace gelcoat
