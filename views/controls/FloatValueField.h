#pragma once
// A text field for one number.
//
// It shows what code sets with a fixed number of decimals and reads what
// the user types as it is: no range, no rounding, a typed "2" stays "2".
// Text is written and read in the C locale (a full stop before the
// decimals, no group separators) whatever the user's language, so that a
// value reads back as it was shown.  floatValue() gives back exactly the
// float last set by code until the user changes the text, so leaving a
// field untouched never reads a rounded value.  Listen to editingFinished().

#include <QLineEdit>

namespace gelcoat {

class FloatValueField : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int decimals READ decimals WRITE setDecimals)

public:
    explicit FloatValueField(QWidget* parent = nullptr);

    // The value set by code while its text is shown, otherwise the number
    // typed; text that is no finite number gives the last good value.
    float floatValue() const;
    void setFloatValue(float value);

    int decimals() const { return decimals_; }
    void setDecimals(int decimals);

    static QLocale textLocale();

    // Text typed since the field last showed a value or accepted what was
    // typed (Return, or leaving the field), and putting that text back.
    bool hasUnacceptedText() const { return text() != lastGoodText_; }
    void discardUnacceptedText() { setText(lastGoodText_); }

protected:
    // Text that is not yet a number when the field loses focus (an empty
    // field, a lone minus sign) gives way to the last good text.
    void focusOutEvent(QFocusEvent* event) override;

private:
    void acceptTypedText();

    float value_ = 0.0f;
    QString shownText_;
    QString lastGoodText_;
    int decimals_ = 3;
};

} // namespace gelcoat
