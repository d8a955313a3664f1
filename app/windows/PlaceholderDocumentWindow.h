#pragma once
// Stands in for the document window until the real one exists: an untitled
// window of the document window's size with the program's menus.

#include <QMainWindow>

namespace gelcoat {

class PlaceholderDocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    // untitledNumber 1 is titled "Untitled", later ones "Untitled 2" and on.
    explicit PlaceholderDocumentWindow(int untitledNumber);
};

} // namespace gelcoat
