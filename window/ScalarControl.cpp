#include "window/ScalarControl.h"

#include "views/controls/FloatValueField.h"

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

} // namespace gelcoat
