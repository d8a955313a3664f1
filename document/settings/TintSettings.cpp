#include "document/settings/TintSettings.h"

#include "document/settings/SettingsKeys.h"

#include <cstring>

namespace gelcoat {

namespace {

struct PresetValue {
    const char* key;
    float value;
};

// Every colour preset turns the picture into one tint of hue 59, whatever
// the stencil's own colours.
constexpr PresetValue kOneTint[] = {
    {"ColorHue", 59},       {"UseRainbow", 0},           {"UseOriginalHue", 0},
    {"UseOriginalSaturation", 0}, {"UseOriginalBrightness", 0},
};

struct ColourPreset {
    TintPreset preset;
    float saturation, brightness, contrast;
};

// Saturation, brightness and contrast as stored; each is close to k / 2.07
// for an even k (264, 220, 212; 186; 48, 170, 248; 154; 194, 240).
constexpr ColourPreset kColourPresets[] = {
    {TintPreset::Blue, 127.53623f, 106.28020f, 102.41545f},
    {TintPreset::BlueHighlighted, 127.53623f, 89.85507f, 102.41545f},
    {TintPreset::Graphite, 23.18841f, 82.12560f, 119.80676f},
    {TintPreset::GraphiteHighlighted, 23.18841f, 74.39613f, 119.80676f},
    {TintPreset::Inactive, 0.0f, 93.71980f, 115.94202f},
};

void set(TintSettings& s, const PresetValue& v)
{
    setFromNumber(s, *settingFieldForKey(v.key), v.value);
}

} // namespace

void setToDefaults(TintSettings& s)
{
    const TintSettings defaults;
    for (const SettingField& f : settingFields())
        if (!f.isDisplayOption())
            copySetting(f, defaults, s);
}

void applyPreset(TintSettings& s, TintPreset preset)
{
    for (const ColourPreset& p : kColourPresets) {
        if (p.preset != preset)
            continue;
        for (const PresetValue& v : kOneTint)
            set(s, v);
        set(s, {"ColorSaturation", p.saturation});
        set(s, {"ColorBrightness", p.brightness});
        set(s, {"Contrast", p.contrast});
        return;
    }
    setToDefaults(s);
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
    for (const SettingField& f : settingFields())
        if (f.isDisplayOption())
            copySetting(f, from, to);
}

} // namespace gelcoat
