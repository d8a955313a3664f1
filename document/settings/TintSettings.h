#pragma once
// The settings of one document: tint, rainbow, shadow, size, bug position
// and display options. Values are stored as given; nothing here clamps.

#include <cstdint>

namespace gelcoat {

struct TintSettings {
    // Tint, read by the gloss stage.
    float userHue = 59;          // hundredths of the colour circle
    float userSaturation = 150;  // percent
    float userBrightness = 100;  // percent, 100 = unchanged
    float userContrast = 100;    // percent
    float userAlpha = 100;       // percent
    float aquaMargin = 50;       // bevel width, percent
    bool useOriginalHue = true;
    bool useOriginalSaturation = false;
    bool useOriginalBrightness = false;
    bool useRainbow = true;
    bool circularRainbow = false;
    float rainbowXOffset = 0.07f;
    float rainbowYOffset = -0.1f; // y upward
    std::int32_t sourceBugX = 0;  // source pixels from the picture's centre
    std::int32_t sourceBugY = 0;  // y upward

    // Shadow.
    float shadowDensity = 50; // 0 or less: no shadow
    float shadowSharpness = 85;
    float shadowXOffset = 0;
    float shadowYOffset = -5; // y upward

    // Result size, percent of the stencil.
    float finalSize = 50;

    // Display options of the two image views.
    bool sourceShowsSize = true;
    bool sourceShowsBounds = false;
    bool sourceShrinksIfNecessary = true;
    bool destShowsSize = true;
    bool destShowsBounds = false;
    bool destShrinksIfNecessary = true;
    std::int32_t destInteriorStyle = 3; // 0 light, 1 dark, 2 black, 3 white, 4 checkered

    bool operator==(const TintSettings&) const = default;
};

// Copies the six display flags and the background style.
void copyDisplayOptions(const TintSettings& from, TintSettings& to);

// Every tint, shadow and size field to its default and the bug to (0, 0);
// display options untouched.
void setToDefaults(TintSettings& settings);

enum class TintPreset { Default, Blue, BlueHighlighted, Graphite, GraphiteHighlighted, Inactive };

// Writes a preset's values. The colour presets set hue 59 and switch the
// rainbow and the three use-original options off, keeping everything else.
void applyPreset(TintSettings& settings, TintPreset preset);

// "default", "blue", "blue-highlighted", "graphite", "graphite-highlighted",
// "inactive"; false for an unknown name.
bool presetForName(const char* name, TintPreset* preset);

} // namespace gelcoat
