#include "window/UndoCommands.h"

#include "document/model/TintDocument.h"
#include "views/controls/FloatValueField.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QUndoStack>

namespace gelcoat {

namespace {

// The window's value field with the focus and typing not yet accepted.
FloatValueField* fieldWithTyping(QMainWindow& window)
{
    auto* field = qobject_cast<FloatValueField*>(QApplication::focusWidget());
    if (!field || field->window() != window.window() || !field->hasUnacceptedText())
        return nullptr;
    return field;
}

} // namespace

UndoCommands::UndoCommands(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window)
{
}

bool UndoCommands::canUndo() const
{
    return document_.undoStack().canUndo();
}

bool UndoCommands::canRedo() const
{
    return document_.undoStack().canRedo();
}

QString UndoCommands::undoTitle() const
{
    const QUndoStack& stack = document_.undoStack();
    return stack.canUndo() ? tr("&Undo %1").arg(stack.undoText()) : tr("&Undo");
}

QString UndoCommands::redoTitle() const
{
    const QUndoStack& stack = document_.undoStack();
    return stack.canRedo() ? tr("&Redo %1").arg(stack.redoText()) : tr("&Redo");
}

bool UndoCommands::dragFinished()
{
    if (!document_.settingsDragOpen())
        return true;
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return false;
    document_.endSettingsDrag();
    return true;
}

void UndoCommands::undo()
{
    if (FloatValueField* field = fieldWithTyping(window_)) {
        field->discardUnacceptedText();
        return;
    }
    if (dragFinished())
        document_.undoStack().undo();
}

void UndoCommands::redo()
{
    if (dragFinished())
        document_.undoStack().redo();
}

} // namespace gelcoat
