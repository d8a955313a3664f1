#include "engine/colour/ColorConversions.h"

namespace gelcoat {

void RGBforValue(std::uint32_t v, float* red, float* green, float* blue)
{
    if (red)
        *red = float(double(v >> 24) / 255.0);
    if (green)
        *green = float(double((v >> 16) & 0xFF) / 255.0);
    if (blue)
        *blue = float(double((v >> 8) & 0xFF) / 255.0);
}

void HSVforValue(std::uint32_t v, float* hue, float* saturation, float* value)
{
    float r, g, b;
    RGBforValue(v, &r, &g, &b);
    RGBtoHSV(r, g, b, hue, saturation, value);
}

void RGBtoHSV(float r, float g, float b, float* hue, float* saturation, float* value)
{
    r = detail::clampUnit(r);
    g = detail::clampUnit(g);
    b = detail::clampUnit(b);

    float max = r;
    if (g > max)
        max = g;
    if (b > max)
        max = b;
    float h = 0.0f;
    float s = 0.0f;
    const float v = max;

    if (max > 0.0f) {
        float min = r;
        if (g < min)
            min = g;
        if (b < min)
            min = b;
        s = (max - min) / max;

        if (s > 0.0f) {
            const float rr = r - min;
            const float gg = g - min;
            const float bb = b - min;
            if (rr >= gg && rr >= bb) {
                if (gg > bb) {
                    h = float(double(gg / rr) / 6.0);
                } else if (bb > gg) {
                    h = float(1.0 - double(bb / rr) / 6.0);
                    if (h >= 1.0f)
                        h = 0.0f;
                }
            } else if (gg >= rr && gg >= bb) {
                if (rr > bb)
                    h = float(1.0 / 3.0 - double(rr / gg) / 6.0);
                else if (bb > rr)
                    h = float(1.0 / 3.0 + double(bb / gg) / 6.0);
                else
                    h = float(1.0 / 3.0);
            } else {
                if (rr > gg)
                    h = float(2.0 / 3.0 + double(rr / bb) / 6.0);
                else if (gg > rr)
                    h = float(2.0 / 3.0 - double(gg / bb) / 6.0);
                else
                    h = float(2.0 / 3.0);
            }
        }
    }
    if (hue)
        *hue = h;
    if (saturation)
        *saturation = s;
    if (value)
        *value = v;
}

} // namespace gelcoat
