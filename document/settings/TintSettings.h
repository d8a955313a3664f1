#pragma once
// The settings of one document: tint, rainbow, shadow, size, bug position
// and display options. Values are stored as given; nothing here clamps.

#include <cstdint>

namespace gelcoat {

struct TintSettings {
    // Every setting at its default (see settingFields(), which declares
    // each setting's key, default and use).
    TintSettings();

    // Tint, read by the gloss stage.
    float userHue;          // hundredths of the colour circle
    float userSaturation;   // percent
    float userBrightness;   // percent, 100 = unchanged
    float userContrast;     // percent
    float userAlpha;        // percent
    float aquaMargin;       // bevel width, percent
    bool useOriginalHue;
    bool useOriginalSaturation;
    bool useOriginalBrightness;
    bool useRainbow;
    bool circularRainbow;
    float rainbowXOffset;
    float rainbowYOffset;        // y upward
    std::int32_t sourceBugX;     // source pixels from the picture's centre
    std::int32_t sourceBugY;     // y upward

    // Shadow.
    float shadowDensity; // 0 or less: no shadow
    float shadowSharpness;
    float shadowXOffset; // pixels
    float shadowYOffset; // pixels, y upward

    // Result size, percent of the stencil.
    float finalSize;

    // Display options of the two image views.
    bool sourceShowsSize;
    bool sourceShowsBounds;
    bool sourceShrinksIfNecessary;
    bool destShowsSize;
    bool destShowsBounds;
    bool destShrinksIfNecessary;
    std::int32_t destInteriorStyle;

    bool operator==(const TintSettings&) const = default;
};

// Where the bug sits: source pixels from the picture's centre, y upward.
struct BugPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const BugPosition&) const = default;
};
inline BugPosition bugPosition(const TintSettings& s) { return {s.sourceBugX, s.sourceBugY}; }
inline void moveBug(TintSettings& s, BugPosition to)
{
    s.sourceBugX = to.x;
    s.sourceBugY = to.y;
}

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
