#include "document/settings/TintSettings.h"

#include <cstring>

namespace gelcoat {

namespace {

struct PresetValues {
    float saturation, brightness, contrast;
};

constexpr PresetValues colourPresetValues(TintPreset p)
{
    switch (p) {
    // Saturation, brightness and contrast as stored; each is close to k / 2.07
    // for an even k (264, 220, 212; 186; 48, 170, 248; 154; 194, 240).
    case TintPreset::Blue: return {127.53623f, 106.28020f, 102.41545f};
    case TintPreset::BlueHighlighted: return {127.53623f, 89.85507f, 102.41545f};
    case TintPreset::Graphite: return {23.18841f, 82.12560f, 119.80676f};
    case TintPreset::GraphiteHighlighted: return {23.18841f, 74.39613f, 119.80676f};
    case TintPreset::Inactive: return {0.0f, 93.71980f, 115.94202f};
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

void copyDisplayOptions(const TintSettings& from, TintSettings& to)
{
    to.sourceShowsSize = from.sourceShowsSize;
    to.sourceShowsBounds = from.sourceShowsBounds;
    to.sourceShrinksIfNecessary = from.sourceShrinksIfNecessary;
    to.destShowsSize = from.destShowsSize;
    to.destShowsBounds = from.destShowsBounds;
    to.destShrinksIfNecessary = from.destShrinksIfNecessary;
    to.destInteriorStyle = from.destInteriorStyle;
}

} // namespace gelcoat
