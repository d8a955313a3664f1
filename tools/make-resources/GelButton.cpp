#include "tools/make-resources/GelButton.h"

#include "engine/colour/ColorConversions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gelcoat::resources {

namespace {

constexpr int kCentre = kButtonRadius;

double clamp01(double x)
{
    return std::clamp(x, 0.0, 1.0);
}

double smoothstep(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

struct Shade {
    double saturation;
    double value;
};

// Where the glossy cap ends: the colour drops sharply into the deep tone
// just above the middle of each chord.
constexpr double kCapEnd = 0.43;

// The button's colour at relative position t down a chord (0 top, 1 bottom)
// and relative distance r from the centre column (0 centre, 1 rim).
Shade buttonShade(double t, double r)
{
    Shade s{};
    if (t < kCapEnd) {
        // The glossy cap: almost white at the top, picking up a little blue
        // as it comes down, a faint blue line along the very top edge.
        const double k = t / kCapEnd;
        s.value = 1.0 - 0.08 * k * k;
        s.saturation = 0.06 + 0.30 * k * k * k;
        const double lip = 1.0 - smoothstep(0.0, 0.05, t);
        s.value -= 0.12 * lip;
        s.saturation += 0.25 * lip;
        // The cap dims and takes colour toward the sides.
        s.value -= 0.08 * r * r;
        s.saturation += 0.18 * r * r;
    } else {
        // Below the cap: the deepest colour right under it, then light
        // gathering toward the bottom, as if shining through the gel, and a
        // slightly darker lip at the very bottom.
        const double k = (t - kCapEnd) / (1.0 - kCapEnd);
        const double glow = smoothstep(0.0, 1.0, std::pow(k, 0.85));
        s.value = 0.73 + 0.28 * glow;
        s.saturation = 0.66 - 0.30 * glow;
        const double lip = smoothstep(0.90, 1.0, t);
        s.value -= 0.06 * lip;
        s.saturation += 0.06 * lip;
        // Darker and a little richer toward the rim.
        s.value *= 1.0 - 0.17 * std::pow(r, 2.2);
        s.saturation += 0.08 * r * r;
    }
    s.value = std::clamp(s.value, 0.05, 1.0);
    s.saturation = std::clamp(s.saturation, 0.06, 0.95);
    return s;
}

std::uint8_t toByte(double c)
{
    return std::uint8_t(std::lround(clamp01(c) * 255.0));
}

} // namespace

bool isSampledButtonPixel(int x, int y)
{
    const int i = x - kCentre;
    if (i < 0 || i > kButtonRadius)
        return false;
    const int sub = kButtonChord[i];
    const int top = (2 * kButtonRadius - sub) / 2;
    return y >= top && y <= top + sub;
}

std::vector<std::uint8_t> makeGelButtonPixels()
{
    std::vector<std::uint8_t> rgba(std::size_t(kButtonSide) * kButtonSide * 4);
    // Green's share between the smallest and largest channel that puts a
    // colour at the button's hue (blue largest, red smallest).
    const double greenShare = (2.0 / 3.0 - kButtonHue) * 6.0;
    for (int y = 0; y < kButtonSide; ++y) {
        for (int x = 0; x < kButtonSide; ++x) {
            // The button is symmetric about its centre column; each column
            // is shaded along its own chord, and pixels beyond the chord
            // continue the chord's end colour.
            const int i = std::abs(x - kCentre);
            const int sub = kButtonChord[i];
            const double top = (2 * kButtonRadius - sub) / 2;
            const double t = clamp01((double(y) - top) / double(sub));
            Shade s = buttonShade(t, double(i) / kButtonRadius);

            // Around the disk the colour falls off into a dark blue surround,
            // so that the picture reads as a round button. Every sampled
            // pixel lies within 10.5 pixels of the centre and is untouched.
            const double dist = std::hypot(double(x - kCentre), double(y - kCentre));
            const double outside = smoothstep(10.6, 12.0, dist);
            const Shade surround{0.85, 0.38};
            s.saturation += (surround.saturation - s.saturation) * outside;
            s.value += (surround.value - s.value) * outside;

            const double mx = s.value;
            const double mn = s.value * (1.0 - s.saturation);
            std::uint8_t* p = &rgba[(std::size_t(y) * kButtonSide + x) * 4];
            p[0] = toByte(mn);
            p[1] = toByte(mn + greenShare * (mx - mn));
            p[2] = toByte(mx);
            p[3] = 255;
        }
    }
    return rgba;
}

std::vector<std::string> checkGelButtonPixels(const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::string> problems;
    if (rgba.size() != std::size_t(kButtonSide) * kButtonSide * 4) {
        problems.push_back("the raster is not 21 x 21 RGBA");
        return problems;
    }
    for (int y = 0; y < kButtonSide; ++y) {
        for (int x = 0; x < kButtonSide; ++x) {
            const std::uint8_t* p = &rgba[(std::size_t(y) * kButtonSide + x) * 4];
            char where[64];
            std::snprintf(where, sizeof where, "pixel (%d, %d): ", x, y);
            if (p[3] != 255 || p[0] > p[3] || p[1] > p[3] || p[2] > p[3]) {
                problems.push_back(std::string(where) + "not opaque");
                continue;
            }
            if (!isSampledButtonPixel(x, y))
                continue;
            float h, s, v;
            RGBtoHSV(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, &h, &s, &v);
            char what[96];
            if (std::abs(h - kButtonHue) > 0.01) {
                std::snprintf(what, sizeof what, "hue %.4f", h);
                problems.push_back(std::string(where) + what);
            }
            if (!(s >= 0.03)) {
                std::snprintf(what, sizeof what, "saturation %.4f", s);
                problems.push_back(std::string(where) + what);
            }
            if (!(v > 0.0 && v <= 1.0)) {
                std::snprintf(what, sizeof what, "value %.4f", v);
                problems.push_back(std::string(where) + what);
            }
        }
    }
    return problems;
}

} // namespace gelcoat::resources
