#pragma once
// Undo and Redo of a document window, named after the step they take back
// or make again ("Undo Hue"). A value field holding typed text not yet
// accepted has that typing undone first; otherwise the document's last
// step is undone, whichever control has the focus. Neither acts while the
// mouse is still dragging a control.

#include <QObject>

class QAction;
class QMainWindow;

namespace gelcoat {

class TintDocument;

class UndoCommands : public QObject {
    Q_OBJECT
public:
    // Actions named "undo" and "redo".
    UndoCommands(TintDocument& document, QMainWindow& window);

    QAction* undo = nullptr;
    QAction* redo = nullptr;

    QList<QAction*> all() const { return {undo, redo}; }

    // The menu titles when there is nothing to name, and for a step name.
    static QString undoText(const QString& stepName);
    static QString redoText(const QString& stepName);

private:
    void undoLast();
    void redoNext();
    // An open drag whose release went astray ends here; one still under the
    // mouse holds the commands back.
    bool dragFinished();
    void showState();

    TintDocument& document_;
    QMainWindow& window_;
};

} // namespace gelcoat
