#include "document/settings/SettingsKeys.h"

#include <cstring>

namespace gelcoat {

const char* const archiveVersionKey = "ArchiveVersion";
const char* const sourceDataKey = "SourceData";
const char* const sourceImagePathKey = "SourceImagePath";
const char* const destImagePathKey = "DestImagePath";
const char* const sourceBugXKey = "SourceBugX";
const char* const sourceBugYKey = "SourceBugY";
const char* const useOriginalHueKey = "UseOriginalHue";
const char* const useOriginalSaturationKey = "UseOriginalSaturation";
const char* const useOriginalBrightnessKey = "UseOriginalBrightness";
const char* const useRainbowKey = "UseRainbow";
const char* const circularRainbowKey = "RainbowCircular";
const char* const rainbowXOffsetKey = "RainbowXOffset";
const char* const rainbowYOffsetKey = "RainbowYOffset";
const char* const colorHueKey = "ColorHue";
const char* const colorSaturationKey = "ColorSaturation";
const char* const colorBrightnessKey = "ColorBrightness";
const char* const colorContrastKey = "Contrast";
const char* const colorAlphaKey = "Alpha";
const char* const aquaMarginKey = "AquaMargin";
const char* const shadowDensityKey = "ShadowDensity";
const char* const shadowSharpnessKey = "ShadowSharpness";
const char* const shadowXOffsetKey = "ShadowXOffset";
const char* const shadowYOffsetKey = "ShadowYOffset";
const char* const finalSizeKey = "FinalSize";
const char* const sourceShowsSizeKey = "SourceShowsSize";
const char* const sourceShowsBoundsKey = "SourceShowsBounds";
const char* const sourceShrinksIfNecessaryKey = "SourceShrinksIfNecessary";
const char* const destShowsSizeKey = "DestShowsSize";
const char* const destShowsBoundsKey = "DestShowsBounds";
const char* const destShrinksIfNecessaryKey = "DestShrinksIfNecessary";
const char* const destInteriorStyleKey = "DestInteriorStyle";
const char* const lastOpenDirKey = "LastOpenDirectory";
const char* const lastSaveDirKey = "LastSaveDirectory";
const char* const lastSaveFormatKey = "LastSaveFormat";

namespace {

using S = TintSettings;

constexpr SettingField boolField(const char* const& key, bool S::*f, bool display = false)
{
    return {key, SettingKind::Bool, f, nullptr, nullptr, display};
}
constexpr SettingField intField(const char* const& key, std::int32_t S::*f, bool display = false)
{
    return {key, SettingKind::Int, nullptr, f, nullptr, display};
}
constexpr SettingField floatField(const char* const& key, float S::*f)
{
    return {key, SettingKind::Float, nullptr, nullptr, f, false};
}


} // namespace

std::span<const SettingField> settingFields()
{
    static const SettingField fields[] = {
        intField(sourceBugXKey, &S::sourceBugX),
        intField(sourceBugYKey, &S::sourceBugY),
        boolField(useOriginalHueKey, &S::useOriginalHue),
        boolField(useOriginalSaturationKey, &S::useOriginalSaturation),
        boolField(useOriginalBrightnessKey, &S::useOriginalBrightness),
        boolField(useRainbowKey, &S::useRainbow),
        boolField(circularRainbowKey, &S::circularRainbow),
        floatField(rainbowXOffsetKey, &S::rainbowXOffset),
        floatField(rainbowYOffsetKey, &S::rainbowYOffset),
        floatField(colorHueKey, &S::userHue),
        floatField(colorSaturationKey, &S::userSaturation),
        floatField(colorBrightnessKey, &S::userBrightness),
        floatField(colorContrastKey, &S::userContrast),
        floatField(colorAlphaKey, &S::userAlpha),
        floatField(aquaMarginKey, &S::aquaMargin),
        floatField(shadowDensityKey, &S::shadowDensity),
        floatField(shadowSharpnessKey, &S::shadowSharpness),
        floatField(shadowXOffsetKey, &S::shadowXOffset),
        floatField(shadowYOffsetKey, &S::shadowYOffset),
        floatField(finalSizeKey, &S::finalSize),
        boolField(sourceShowsSizeKey, &S::sourceShowsSize, true),
        boolField(sourceShowsBoundsKey, &S::sourceShowsBounds, true),
        boolField(sourceShrinksIfNecessaryKey, &S::sourceShrinksIfNecessary, true),
        boolField(destShowsSizeKey, &S::destShowsSize, true),
        boolField(destShowsBoundsKey, &S::destShowsBounds, true),
        boolField(destShrinksIfNecessaryKey, &S::destShrinksIfNecessary, true),
        intField(destInteriorStyleKey, &S::destInteriorStyle, true),
    };
    return fields;
}

const SettingField* settingFieldForKey(const char* key)
{
    for (const SettingField& f : settingFields())
        if (std::strcmp(f.key, key) == 0)
            return &f;
    return nullptr;
}

} // namespace gelcoat
