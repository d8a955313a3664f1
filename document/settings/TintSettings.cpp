#include "settings/TintSettings.h"

#include <cstring>

namespace gelcoat {

namespace {

// The preset values are k / 2.07 for even integers k, stored as floats.
constexpr float presetValue(int k)
{
    return float(double(k) / 2.07);
}

struct PresetValues {
    float saturation, brightness, contrast;
};

constexpr PresetValues colourPresetValues(TintPreset p)
{
    switch (p) {
    case TintPreset::Blue: return {presetValue(264), presetValue(220), presetValue(212)};
    case TintPreset::BlueHighlighted: return {presetValue(264), presetValue(186), presetValue(212)};
    case TintPreset::Graphite: return {presetValue(48), presetValue(170), presetValue(248)};
    case TintPreset::GraphiteHighlighted: return {presetValue(48), presetValue(154), presetValue(248)};
    case TintPreset::Inactive: return {0.0f, presetValue(194), presetValue(240)};
    case TintPreset::Default: break;
    }
    return {};
}

} // namespace

void setToDefaults(TintSettings& s)
{
    const TintSettings d;
    s.userHue = d.userHue;
    s.userSaturation = d.userSaturation;
    s.userBrightness = d.userBrightness;
    s.userContrast = d.userContrast;
    s.userAlpha = d.userAlpha;
    s.aquaMargin = d.aquaMargin;
    s.useOriginalHue = d.useOriginalHue;
    s.useOriginalSaturation = d.useOriginalSaturation;
    s.useOriginalBrightness = d.useOriginalBrightness;
    s.useRainbow = d.useRainbow;
    s.circularRainbow = d.circularRainbow;
    s.rainbowXOffset = d.rainbowXOffset;
    s.rainbowYOffset = d.rainbowYOffset;
    s.sourceBugX = 0;
    s.sourceBugY = 0;
    s.shadowDensity = d.shadowDensity;
    s.shadowSharpness = d.shadowSharpness;
    s.shadowXOffset = d.shadowXOffset;
    s.shadowYOffset = d.shadowYOffset;
    s.finalSize = d.finalSize;
}

void applyPreset(TintSettings& s, TintPreset preset)
{
    if (preset == TintPreset::Default) {
        setToDefaults(s);
        return;
    }
    const PresetValues v = colourPresetValues(preset);
    s.userHue = 59;
    s.useRainbow = false;
    s.useOriginalHue = false;
    s.useOriginalSaturation = false;
    s.useOriginalBrightness = false;
    s.userSaturation = v.saturation;
    s.userBrightness = v.brightness;
    s.userContrast = v.contrast;
}

bool presetForName(const char* name, TintPreset* preset)
{
    static const struct {
        const char* name;
        TintPreset preset;
    } names[] = {
        {"default", TintPreset::Default},
        {"blue", TintPreset::Blue},
        {"blue-highlighted", TintPreset::BlueHighlighted},
        {"graphite", TintPreset::Graphite},
        {"graphite-highlighted", TintPreset::GraphiteHighlighted},
        {"inactive", TintPreset::Inactive},
    };
    for (const auto& n : names)
        if (std::strcmp(n.name, name) == 0) {
            *preset = n.preset;
            return true;
        }
    return false;
}

} // namespace gelcoat
