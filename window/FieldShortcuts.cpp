#include "window/FieldShortcuts.h"

#include "views/controls/FloatValueField.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace gelcoat {

FieldShortcuts::FieldShortcuts(QList<QAction*> commands, QAction* undo, QAction* redo,
                               QObject* parent)
    : QObject(parent), commands_(std::move(commands)), undo_(undo), redo_(redo)
{
}

void FieldShortcuts::watch(QLineEdit* field)
{
    field->installEventFilter(this);
}

QAction* FieldShortcuts::commandFor(const QKeyCombination& key) const
{
    const QKeySequence pressed(key);
    for (QAction* command : commands_)
        if (command->shortcuts().contains(pressed))
            return command;
    return nullptr;
}

bool FieldShortcuts::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    QAction* command = commandFor(static_cast<QKeyEvent*>(event)->keyCombination());
    if (!command)
        return false;
    auto* field = qobject_cast<FloatValueField*>(watched);
    const bool undoTyping = command == undo_ && field && field->hasUnacceptedText();
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key comes to the field as a key press; ignored, it
        // goes to the window's command.
        event->setAccepted(undoTyping);
        return true;
    }
    if (undoTyping) {
        field->discardUnacceptedText();
        return true;
    }
    // A press left over by a disabled command: the line edit's own undo and
    // redo never run, since they would bring back text the document has
    // moved past. Copy and paste do what a line edit does.
    return command == undo_ || command == redo_;
}

} // namespace gelcoat
