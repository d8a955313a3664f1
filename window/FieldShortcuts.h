#pragma once
// The window's edit commands reach it from a value field too. A line edit
// takes the keys of Copy, Paste, Undo and Redo for itself, which would leave
// a picture on the clipboard, the result and the document's steps out of
// reach while a field has the focus; here those keys go to the window's
// commands, which decide what the field gets. Only typing not yet
// accepted is undone in the field itself.

#include <QList>
#include <QObject>

class QAction;
class QLineEdit;

namespace gelcoat {

class FieldShortcuts : public QObject {
    Q_OBJECT
public:
    // commands: the window's actions whose keys the fields give up, among
    // them undo, which undoes a field's unaccepted typing first, and redo.
    FieldShortcuts(QList<QAction*> commands, QAction* undo, QAction* redo, QObject* parent);

    void watch(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* commandFor(const QKeyCombination& key) const;

    QList<QAction*> commands_;
    QAction* undo_;
    QAction* redo_;
};

} // namespace gelcoat
