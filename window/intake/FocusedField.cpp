#include "window/intake/FocusedField.h"

#include <QApplication>
#include <QLineEdit>

namespace gelcoat {

bool editFocusedField(QWidget& window, void (*edit)(QLineEdit&))
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || field->window() != window.window())
        return false;
    edit(*field);
    return true;
}

} // namespace gelcoat
