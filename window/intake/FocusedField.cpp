#include "intake/FocusedField.h"

#include <QApplication>
#include <QLineEdit>

namespace gelcoat {

namespace {

QLineEdit* focusedField(QWidget& window)
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    return field && field->window() == window.window() ? field : nullptr;
}

} // namespace

bool copyFromFocusedField(QWidget& window)
{
    QLineEdit* field = focusedField(window);
    if (!field)
        return false;
    field->copy();
    return true;
}

bool pasteIntoFocusedField(QWidget& window)
{
    QLineEdit* field = focusedField(window);
    if (!field)
        return false;
    field->paste();
    return true;
}

} // namespace gelcoat
