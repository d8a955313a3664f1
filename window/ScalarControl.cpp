#include "window/ScalarControl.h"

#include "document/settings/SettingsKeys.h"
#include "views/controls/FloatSlider.h"
#include "views/controls/FloatValueField.h"
#include "views/slider/KPCircularSlider.h"

#include <QAbstractButton>
#include <QLocale>

namespace gelcoat {

float settingFromField(const FloatValueField& field, double factor)
{
    bool ok = false;
    const double typed = FloatValueField::textLocale().toDouble(field.text().trimmed(), &ok);
    if (ok && float(typed) == field.floatValue())
        return float(typed * factor);
    return settingFromField(field.floatValue(), factor);
}

namespace {

template <class Control>
Control* named(const QWidget& form, const char* name)
{
    return name ? form.findChild<Control*>(QLatin1String(name)) : nullptr;
}

} // namespace

SettingControls findSettingControls(const QWidget& form)
{
    SettingControls controls;
    for (const SettingField& f : settingFields()) {
        if (f.slider.slider) {
            auto* slider = named<FloatSlider>(form, f.slider.slider);
            auto* field = named<FloatValueField>(form, f.slider.field);
            if (slider && field)
                controls.scalars.push_back({f.floatField, f.slider.factor, slider, field});
        }
        if (auto* box = named<QAbstractButton>(form, f.checkBox))
            controls.switches.push_back({f.boolField, box});
        if (f.circle.circle) {
            auto* circle = named<KPCircularSlider>(form, f.circle.circle);
            auto* angle = named<FloatValueField>(form, f.circle.angleField);
            auto* radius = named<FloatValueField>(form, f.circle.radiusField);
            if (circle && angle && radius)
                controls.circles.push_back({f.floatField, f.circle.yField,
                                            f.circle.maximumDistance, circle, angle, radius});
        }
    }
    return controls;
}

} // namespace gelcoat
