#pragma once
// The one declaration of every setting: the key it has in the document file,
// the user defaults and a script's --set, its default, what a change of it
// makes the pipeline redo, how the pipeline reads it, how the window
// shows it and what its undo step is called. The file, the defaults, the change set, the presets, the
// previews and the window's controls all work from this table, so a new
// setting is a member of TintSettings and one row here.

#include "document/settings/TintSettings.h"

#include <span>

namespace gelcoat {

extern const char* const archiveVersionKey;
extern const char* const sourceDataKey;
extern const char* const sourceImagePathKey;
extern const char* const destImagePathKey;
extern const char* const lastOpenDirKey;
extern const char* const lastSaveDirKey;
extern const char* const lastSaveFormatKey;

enum class SettingKind { Bool, Int, Float };

// The stages a change of a setting invalidates. Display options touch none.
enum class Remakes { nothing, tint, shadow, size };

// How the pipeline reads a setting: the one place each unit is converted.
enum class PipelineUnit {
    asIs,
    percent,             // value / 100
    percentAboveWhole,   // (value − 100) / 100
    cubedPercent,        // (value / 100)³
    percentLeft,         // 100 − value
    downward,            // − value: stored y-up, read y-down
};

// A real setting shown by a slider in its own units and by a field holding
// the value divided by factor.
struct SliderShown {
    const char* slider = nullptr;
    const char* field = nullptr;
    double factor = 0.0;
};

// A vector setting (this row's field is x, yField y) shown by a circular
// slider reaching maximumDistance and by two fields, the compass angle over
// 360 and the length over maximumDistance.
struct CircleShown {
    const char* circle = nullptr;
    const char* angleField = nullptr;
    const char* radiusField = nullptr;
    double maximumDistance = 0.0;
    float TintSettings::*yField = nullptr;
};

// One setting. Exactly one member pointer is set, matching kind; a default
// of a switch is 0 or 1.
struct SettingField {
    const char* key = nullptr;
    SettingKind kind = SettingKind::Bool;
    bool TintSettings::*boolField = nullptr;
    std::int32_t TintSettings::*intField = nullptr;
    float TintSettings::*floatField = nullptr;
    double defaultValue = 0.0;
    Remakes remakes = Remakes::nothing;
    // A change counts only while the new settings satisfy this: nothing
    // that is not drawn needs redrawing.
    bool (*countsWhile)(const TintSettings&) = nullptr;
    PipelineUnit unit = PipelineUnit::asIs;
    // Measured in stencil pixels, so scaled with a reduced stencil.
    bool inStencilPixels = false;
    // The check box that shows a switch.
    const char* checkBox = nullptr;
    SliderShown slider;
    CircleShown circle;
    // The control's name in Undo's title, untranslated (context
    // "SettingsStep"); both rows of a circle's vector carry it.
    const char* stepName = nullptr;

    bool isDisplayOption() const { return remakes == Remakes::nothing; }

    // The table's rows are written as a kind, a key, a member and a default
    // followed by these.
    constexpr SettingField changing(Remakes stages,
                                    bool (*onlyWhile)(const TintSettings&) = nullptr) const
    {
        return with(&SettingField::remakes, stages).with(&SettingField::countsWhile, onlyWhile);
    }
    constexpr SettingField readAs(PipelineUnit u) const { return with(&SettingField::unit, u); }
    constexpr SettingField scaledWithStencil() const
    {
        return with(&SettingField::inStencilPixels, true);
    }
    constexpr SettingField shownBy(const char* box) const
    {
        return with(&SettingField::checkBox, box);
    }
    constexpr SettingField shownBy(SliderShown shown) const
    {
        return with(&SettingField::slider, shown);
    }
    constexpr SettingField shownBy(CircleShown shown) const
    {
        return with(&SettingField::circle, shown);
    }
    constexpr SettingField undoneAs(const char* name) const
    {
        return with(&SettingField::stepName, name);
    }

private:
    template <class Member, class Value>
    constexpr SettingField with(Member SettingField::*member, Value value) const
    {
        SettingField f = *this;
        f.*member = value;
        return f;
    }
};

// Every setting in file order (bug, switches, reals, display).
std::span<const SettingField> settingFields();
const SettingField* settingFieldForKey(const char* key);

// A real or whole-number setting in the units the pipeline reads it in.
float pipelineValue(const TintSettings& settings, float TintSettings::*field);
float pipelineValue(const TintSettings& settings, std::int32_t TintSettings::*field);

// Sets a setting from a number (a switch is on for any value but 0).
void setFromNumber(TintSettings& settings, const SettingField& field, double value);

// The setting's value changed between the two.
bool differs(const SettingField& field, const TintSettings& a, const TintSettings& b);
// Copies one setting.
void copySetting(const SettingField& field, const TintSettings& from, TintSettings& to);

} // namespace gelcoat
