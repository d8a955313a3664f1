#include "window/UndoCommands.h"

#include "document/model/TintDocument.h"
#include "views/controls/FloatValueField.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QUndoStack>

namespace gelcoat {

namespace {

// Ctrl+Shift+Z everywhere, and Ctrl+Y as well where the desktop redoes
// with it.
QList<QKeySequence> redoKeys()
{
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    const QKeySequence y(Qt::CTRL | Qt::Key_Y);
    if (QKeySequence::keyBindings(QKeySequence::Redo).contains(y))
        keys.append(y);
    return keys;
}

// The window's value field with the focus and typing not yet accepted.
FloatValueField* fieldWithTyping(QMainWindow& window)
{
    auto* field = qobject_cast<FloatValueField*>(QApplication::focusWidget());
    if (!field || field->window() != window.window() || !field->hasUnacceptedText())
        return nullptr;
    return field;
}

} // namespace

QString UndoCommands::undoText(const QString& stepName)
{
    return stepName.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(stepName);
}

QString UndoCommands::redoText(const QString& stepName)
{
    return stepName.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(stepName);
}

UndoCommands::UndoCommands(TintDocument& document, QMainWindow& window)
    : QObject(&window), document_(document), window_(window)
{
    undo = new QAction(undoText({}), this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo = new QAction(redoText({}), this);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(redoKeys());
    connect(undo, &QAction::triggered, this, &UndoCommands::undoLast);
    connect(redo, &QAction::triggered, this, &UndoCommands::redoNext);

    QUndoStack& stack = document_.undoStack();
    connect(&stack, &QUndoStack::indexChanged, this, &UndoCommands::showState);
    connect(&stack, &QUndoStack::cleanChanged, this, &UndoCommands::showState);
    showState();
}

void UndoCommands::showState()
{
    const QUndoStack& stack = document_.undoStack();
    undo->setEnabled(stack.canUndo());
    undo->setText(undoText(stack.canUndo() ? stack.undoText() : QString()));
    redo->setEnabled(stack.canRedo());
    redo->setText(redoText(stack.canRedo() ? stack.redoText() : QString()));
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

void UndoCommands::undoLast()
{
    if (FloatValueField* field = fieldWithTyping(window_)) {
        field->discardUnacceptedText();
        return;
    }
    if (dragFinished())
        document_.undoStack().undo();
}

void UndoCommands::redoNext()
{
    if (dragFinished())
        document_.undoStack().redo();
}

} // namespace gelcoat
