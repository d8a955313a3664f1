#include "document/settings/SettingsKeys.h"

#include <QtGlobal>

#include <cstring>

namespace gelcoat {

const char* const archiveVersionKey = "ArchiveVersion";
const char* const sourceDataKey = "SourceData";
const char* const sourceImagePathKey = "SourceImagePath";
const char* const destImagePathKey = "DestImagePath";
const char* const lastOpenDirKey = "LastOpenDirectory";
const char* const lastSaveDirKey = "LastSaveDirectory";
const char* const lastSaveFormatKey = "LastSaveFormat";

namespace {

using S = TintSettings;

constexpr SettingField flag(const char* key, bool S::*f, bool byDefault)
{
    SettingField row;
    row.key = key;
    row.kind = SettingKind::Bool;
    row.boolField = f;
    row.defaultValue = byDefault ? 1.0 : 0.0;
    return row;
}
constexpr SettingField whole(const char* key, std::int32_t S::*f, std::int32_t byDefault)
{
    SettingField row;
    row.key = key;
    row.kind = SettingKind::Int;
    row.intField = f;
    row.defaultValue = byDefault;
    return row;
}
constexpr SettingField real(const char* key, float S::*f, float byDefault)
{
    SettingField row;
    row.key = key;
    row.kind = SettingKind::Float;
    row.floatField = f;
    row.defaultValue = byDefault;
    return row;
}

// The bug centres the rainbow sweep; without the sweep it changes nothing.
bool rainbowOn(const S& s) { return s.useRainbow; }
// A shadow of density 0 is not drawn, so its sharpness needs no redraw.
bool shadowDrawn(const S& s) { return s.shadowDensity != 0.0f; }

constexpr Remakes tint = Remakes::tint;
constexpr Remakes shadow = Remakes::shadow;

// The value fields read 0 to 1 over each slider's scale; the rainbow
// vector reaches half across the stencil, the shadow moves up to 20 pixels.
constexpr SettingField kFields[] = {
    whole("SourceBugX", &S::sourceBugX, 0)
        .changing(tint, rainbowOn)
        .scaledWithStencil()
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Centre")),
    whole("SourceBugY", &S::sourceBugY, 0)
        .changing(tint, rainbowOn)
        .scaledWithStencil()
        .readAs(PipelineUnit::downward)
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Centre")),
    flag("UseOriginalHue", &S::useOriginalHue, true)
        .changing(tint)
        .shownBy("useOriginalHueButton")
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Original Hue")),
    flag("UseOriginalSaturation", &S::useOriginalSaturation, false)
        .changing(tint)
        .shownBy("useOriginalSaturationButton")
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Original Saturation")),
    flag("UseOriginalBrightness", &S::useOriginalBrightness, false)
        .changing(tint)
        .shownBy("useOriginalBrightnessButton")
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Original Brightness")),
    flag("UseRainbow", &S::useRainbow, true)
        .changing(tint)
        .shownBy("useRainbowCheckbox")
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow")),
    flag("RainbowCircular", &S::circularRainbow, false)
        .changing(tint)
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Type")),
    real("RainbowXOffset", &S::rainbowXOffset, 0.07f)
        .changing(tint)
        .shownBy(CircleShown{"rainbowCircle", "rainbowAngleValueField", "rainbowRadiusValueField",
                             0.5, &S::rainbowYOffset})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Sweep")),
    real("RainbowYOffset", &S::rainbowYOffset, -0.1f)
        .changing(tint)
        .readAs(PipelineUnit::downward)
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Sweep")),
    real("ColorHue", &S::userHue, 59)
        .changing(tint)
        .readAs(PipelineUnit::percent)
        .shownBy(SliderShown{"hueSlider", "hueValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Hue")),
    real("ColorSaturation", &S::userSaturation, 150)
        .changing(tint)
        .readAs(PipelineUnit::percent)
        .shownBy(SliderShown{"saturationSlider", "saturationValueField", 300})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Saturation")),
    real("ColorBrightness", &S::userBrightness, 100)
        .changing(tint)
        .readAs(PipelineUnit::percentAboveWhole)
        .shownBy(SliderShown{"brightnessSlider", "brightnessValueField", 200})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Brightness")),
    real("Contrast", &S::userContrast, 100)
        .changing(tint)
        .readAs(PipelineUnit::cubedPercent)
        .shownBy(SliderShown{"contrastSlider", "contrastValueField", 200})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Contrast")),
    real("Alpha", &S::userAlpha, 100)
        .changing(tint)
        .readAs(PipelineUnit::percent)
        .shownBy(SliderShown{"alphaSlider", "alphaValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Opacity")),
    real("AquaMargin", &S::aquaMargin, 50)
        .changing(tint)
        .readAs(PipelineUnit::percentLeft)
        .shownBy(SliderShown{"aquaMarginSlider", "aquaMarginValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Margin")),
    real("ShadowDensity", &S::shadowDensity, 50)
        .changing(shadow)
        .shownBy(SliderShown{"shadowDensitySlider", "shadowDensityValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Shadow Density")),
    real("ShadowSharpness", &S::shadowSharpness, 85)
        .changing(shadow, shadowDrawn)
        .shownBy(SliderShown{"shadowSharpnessSlider", "shadowSharpnessValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Shadow Sharpness")),
    real("ShadowXOffset", &S::shadowXOffset, 0)
        .changing(shadow)
        .scaledWithStencil()
        .shownBy(CircleShown{"shadowCircle", "shadowAngleValueField", "shadowRadiusValueField",
                             20.0, &S::shadowYOffset})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Shadow Offset")),
    real("ShadowYOffset", &S::shadowYOffset, -5)
        .changing(shadow)
        .scaledWithStencil()
        .readAs(PipelineUnit::downward)
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Shadow Offset")),
    real("FinalSize", &S::finalSize, 50)
        .changing(Remakes::size)
        .shownBy(SliderShown{"finalSizeSlider", "finalSizeValueField", 100})
        .undoneAs(QT_TRANSLATE_NOOP("SettingsStep", "Final Size")),
    flag("SourceShowsSize", &S::sourceShowsSize, true),
    flag("SourceShowsBounds", &S::sourceShowsBounds, false),
    flag("SourceShrinksIfNecessary", &S::sourceShrinksIfNecessary, true),
    flag("DestShowsSize", &S::destShowsSize, true),
    flag("DestShowsBounds", &S::destShowsBounds, false),
    flag("DestShrinksIfNecessary", &S::destShrinksIfNecessary, true),
    // 0 light, 1 dark, 2 black, 3 white, 4 checkered.
    whole("DestInteriorStyle", &S::destInteriorStyle, 3),
};

const SettingField& fieldOf(float S::*field)
{
    for (const SettingField& f : kFields)
        if (f.floatField == field)
            return f;
    return kFields[0]; // every real member has a row; a test keeps it so
}

const SettingField& fieldOf(std::int32_t S::*field)
{
    for (const SettingField& f : kFields)
        if (f.intField == field)
            return f;
    return kFields[0];
}

float inPipelineUnits(float v, PipelineUnit unit)
{
    switch (unit) {
    case PipelineUnit::asIs: return v;
    case PipelineUnit::percent: return v / 100.0f;
    case PipelineUnit::percentAboveWhole: return (v - 100.0f) / 100.0f;
    case PipelineUnit::cubedPercent: {
        const float c = v / 100.0f;
        return c * c * c;
    }
    case PipelineUnit::percentLeft: return 100.0f - v;
    case PipelineUnit::downward: return -v;
    }
    return v;
}

} // namespace

TintSettings::TintSettings()
{
    for (const SettingField& f : kFields)
        setFromNumber(*this, f, f.defaultValue);
}

std::span<const SettingField> settingFields() { return kFields; }

const SettingField* settingFieldForKey(const char* key)
{
    for (const SettingField& f : kFields)
        if (std::strcmp(f.key, key) == 0)
            return &f;
    return nullptr;
}

float pipelineValue(const TintSettings& s, float S::*field)
{
    return inPipelineUnits(s.*field, fieldOf(field).unit);
}

float pipelineValue(const TintSettings& s, std::int32_t S::*field)
{
    return inPipelineUnits(float(s.*field), fieldOf(field).unit);
}

void setFromNumber(TintSettings& s, const SettingField& f, double value)
{
    switch (f.kind) {
    case SettingKind::Bool: s.*f.boolField = value != 0.0; break;
    case SettingKind::Int: s.*f.intField = std::int32_t(value); break;
    case SettingKind::Float: s.*f.floatField = float(value); break;
    }
}

bool differs(const SettingField& f, const TintSettings& a, const TintSettings& b)
{
    switch (f.kind) {
    case SettingKind::Bool: return a.*f.boolField != b.*f.boolField;
    case SettingKind::Int: return a.*f.intField != b.*f.intField;
    case SettingKind::Float: return a.*f.floatField != b.*f.floatField;
    }
    return false;
}

void copySetting(const SettingField& f, const TintSettings& from, TintSettings& to)
{
    switch (f.kind) {
    case SettingKind::Bool: to.*f.boolField = from.*f.boolField; break;
    case SettingKind::Int: to.*f.intField = from.*f.intField; break;
    case SettingKind::Float: to.*f.floatField = from.*f.floatField; break;
    }
}

} // namespace gelcoat
