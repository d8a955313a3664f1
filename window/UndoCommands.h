#pragma once
// What Undo and Redo do in a document window, and their titles, named after
// the step they take back or make again ("Undo Hue"). A value field holding
// typed text not yet accepted has that typing undone first; otherwise the
// document's last step is undone, whichever control has the focus. Neither
// acts while the mouse is still dragging a control. The commands themselves
// are entries of the window's command table.

#include <QObject>

class QMainWindow;

namespace gelcoat {

class TintDocument;

class UndoCommands : public QObject {
    Q_OBJECT
public:
    UndoCommands(TintDocument& document, QMainWindow& window);

    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    // The menu titles: "Undo Hue", or "Undo" with nothing to undo.
    QString undoTitle() const;
    QString redoTitle() const;

private:
    // An open drag whose release went astray ends here; one still under the
    // mouse holds the commands back.
    bool dragFinished();

    TintDocument& document_;
    QMainWindow& window_;
};

} // namespace gelcoat
