#include "views/controls/FloatValueField.h"

#include <QDoubleValidator>

#include <cmath>

namespace gelcoat {

QLocale FloatValueField::textLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
}

FloatValueField::FloatValueField(QWidget* parent) : QLineEdit(parent)
{
    auto* validator = new QDoubleValidator(this);
    validator->setLocale(textLocale());
    validator->setNotation(QDoubleValidator::StandardNotation);
    setValidator(validator);
    setFloatValue(0.0f);
    connect(this, &QLineEdit::editingFinished, this, &FloatValueField::acceptTypedText);
}

namespace {

bool readNumber(const QString& text, float* value)
{
    bool ok = false;
    const float number = float(FloatValueField::textLocale().toDouble(text, &ok));
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

} // namespace

float FloatValueField::floatValue() const
{
    float value = value_;
    if (text() == shownText_ || readNumber(text(), &value))
        return value;
    if (lastGoodText_ != shownText_ && readNumber(lastGoodText_, &value))
        return value;
    return value_;
}

void FloatValueField::setFloatValue(float value)
{
    value_ = value;
    shownText_ = textLocale().toString(double(value), 'f', decimals_);
    lastGoodText_ = shownText_;
    setText(shownText_);
}

void FloatValueField::setDecimals(int decimals)
{
    decimals_ = qBound(0, decimals, 9);
    if (text() == shownText_)
        setFloatValue(value_);
}

// Runs before any other listener of editingFinished: a number too large
// for a float is put back to the last good text before anyone reads it.
void FloatValueField::acceptTypedText()
{
    float value = 0.0f;
    if (readNumber(text(), &value))
        lastGoodText_ = text();
    else
        setText(lastGoodText_);
}

void FloatValueField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!hasAcceptableInput())
        setText(lastGoodText_);
}

} // namespace gelcoat
