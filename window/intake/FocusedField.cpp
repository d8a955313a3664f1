#include "window/intake/FocusedField.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

namespace gelcoat {

namespace {

QLineEdit* focusedField(QWidget& window)
{
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || field->window() != window.window())
        return nullptr;
    return field;
}

} // namespace

bool pasteIntoFocusedField(QWidget& window)
{
    QLineEdit* field = focusedField(window);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!field || !data || !data->hasText())
        return false;
    field->paste();
    return true;
}

bool copyFromFocusedField(QWidget& window)
{
    QLineEdit* field = focusedField(window);
    if (!field || !field->hasSelectedText())
        return false;
    field->copy();
    return true;
}

} // namespace gelcoat
