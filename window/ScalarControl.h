#pragma once
// The window's controls of the settings, made from the settings table
// (settingFields()): a setting shown by a slider in its own units and by a
// field in those units divided by a fixed factor, so that the field reads 0
// to 1 over the slider's scale; a switch shown by a check box; a vector
// shown by a circular slider and two fields.

#include "document/settings/TintSettings.h"

#include <vector>

class QAbstractButton;
class QWidget;

namespace gelcoat {

class FloatSlider;
class FloatValueField;

struct ScalarControl {
    float TintSettings::*setting = nullptr;
    double factor = 1.0;
    FloatSlider* slider = nullptr;
    FloatValueField* field = nullptr;
};

// Conversions between a setting and its field, in double precision and
// rounded once to float.
inline float fieldFromSetting(float value, double factor)
{
    return float(double(value) / factor);
}
inline float settingFromField(float value, double factor)
{
    return float(double(value) * factor);
}
// The field's number times the factor. Text the field holds as it reads
// (typed, or shown exactly) counts in double precision, so that a shown
// 0.590 typed again gives back the hue 59 rather than 58.999996; a rounded
// display of a value set by code gives that value.
float settingFromField(const FloatValueField& field, double factor);

} // namespace gelcoat

namespace gelcoat {

class KPCircularSlider;

// A vector setting shown by a circular slider and by two fields: the
// compass angle over 360 and the length over the circle's maximum.
struct CircleControl {
    float TintSettings::*xOffset = nullptr;
    float TintSettings::*yOffset = nullptr;
    double radiusFactor = 1.0;
    KPCircularSlider* circle = nullptr;
    FloatValueField* angleField = nullptr;
    FloatValueField* radiusField = nullptr;
};

inline constexpr double kAngleFactor = 360.0;

struct SwitchControl {
    bool TintSettings::*setting = nullptr;
    QAbstractButton* box = nullptr;
};

// Every control the settings table names, found among form's children by
// object name, in the table's order. A name the form lacks is left out.
struct SettingControls {
    std::vector<ScalarControl> scalars;
    std::vector<SwitchControl> switches;
    std::vector<CircleControl> circles;
};
SettingControls findSettingControls(const QWidget& form);

} // namespace gelcoat
