#pragma once
// Keys of the document file and of the user defaults, and the table that
// ties each settings key to its field and kind.

#include "document/settings/TintSettings.h"

#include <span>

namespace gelcoat {

extern const char* const archiveVersionKey;
extern const char* const sourceDataKey;
extern const char* const sourceImagePathKey;
extern const char* const destImagePathKey;
extern const char* const sourceBugXKey;
extern const char* const sourceBugYKey;
extern const char* const useOriginalHueKey;
extern const char* const useOriginalSaturationKey;
extern const char* const useOriginalBrightnessKey;
extern const char* const useRainbowKey;
extern const char* const circularRainbowKey;
extern const char* const rainbowXOffsetKey;
extern const char* const rainbowYOffsetKey;
extern const char* const colorHueKey;
extern const char* const colorSaturationKey;
extern const char* const colorBrightnessKey;
extern const char* const colorContrastKey;
extern const char* const colorAlphaKey;
extern const char* const aquaMarginKey;
extern const char* const shadowDensityKey;
extern const char* const shadowSharpnessKey;
extern const char* const shadowXOffsetKey;
extern const char* const shadowYOffsetKey;
extern const char* const finalSizeKey;
extern const char* const sourceShowsSizeKey;
extern const char* const sourceShowsBoundsKey;
extern const char* const sourceShrinksIfNecessaryKey;
extern const char* const destShowsSizeKey;
extern const char* const destShowsBoundsKey;
extern const char* const destShrinksIfNecessaryKey;
extern const char* const destInteriorStyleKey;
extern const char* const lastOpenDirKey;
extern const char* const lastSaveDirKey;
extern const char* const lastSaveFormatKey;

enum class SettingKind { Bool, Int, Float };

// One settings field reachable by its key. Exactly one member pointer is
// set, matching kind.
struct SettingField {
    const char* key;
    SettingKind kind;
    bool TintSettings::*boolField;
    std::int32_t TintSettings::*intField;
    float TintSettings::*floatField;
    bool isDisplayOption;
};

// Every settings field in file order (bug, switches, reals, display).
std::span<const SettingField> settingFields();
const SettingField* settingFieldForKey(const char* key);

} // namespace gelcoat
