// The window's share in editing: the edit keys a value field gives up to
// the window's commands, drags made single steps, and wells that take the
// focus when clicked so that the keyboard's commands reach the window again
// after a field.

#include "window/TintDocumentWindow.h"

#include "window/FieldShortcuts.h"
#include "window/SettingsDrags.h"
#include "window/commands/CommandActions.h"
#include "ui_TintDocument.h"

#include "document/model/TintDocument.h"
#include "views/controls/FloatSlider.h"
#include "views/controls/FloatValueField.h"
#include "views/slider/KPCircularSlider.h"

#include <QAction>

namespace gelcoat {

void TintDocumentWindow::setUpEditing()
{
    QAction* undo = commands_->action(u"undo");
    QAction* redo = commands_->action(u"redo");
    auto* fieldKeys = new FieldShortcuts(
        {undo, redo, commands_->action(u"copy"), commands_->action(u"paste")}, undo, redo, this);
    for (FloatValueField* field : centralWidget()->findChildren<FloatValueField*>())
        fieldKeys->watch(field);

    auto* drags = new SettingsDrags(*document_, this);
    for (FloatSlider* slider : centralWidget()->findChildren<FloatSlider*>())
        drags->watch(slider);
    for (KPCircularSlider* circle : centralWidget()->findChildren<KPCircularSlider*>())
        drags->watch(circle);
    drags->watch(form_->sourceImageWell);

    form_->sourceImageWell->setFocusPolicy(Qt::ClickFocus);
    form_->destImageWell->setFocusPolicy(Qt::ClickFocus);
}

} // namespace gelcoat
