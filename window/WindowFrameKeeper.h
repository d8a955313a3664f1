#pragma once
// A document window's place on the desktop between windows and sessions:
// one saved frame that every move and resize of any document window
// overwrites and every new one starts from, and the cascade that moves a
// new window off the last one placed.  The cascade point lives for the
// process and follows whichever window moved last.

#include <QtGlobal>

class QWidget;

namespace gelcoat {

// The user-defaults key of the saved frame.
extern const char* const documentFrameName; // "GelcoatDocument"

class WindowFrameKeeper {
public:
    explicit WindowFrameKeeper(QWidget& window) : window_(window) {}

    // Gives the window the saved frame, if one was saved; a frame that no
    // screen shows keeps only its size, so that the window cannot open out
    // of reach.  False when there is none to restore.
    bool restoreSavedFrame();

    // Saves the window's frame (its geometry without the window system's
    // decorations, as "x y width height") once the window is placed.
    void saveFrame();

    // Once the window shows, with its decorations known: the first window
    // of the process stays and sets the cascade point, later ones move one
    // title bar's height right and down of it.  Until then, moves are the
    // window system placing the window and are not recorded.
    void cascade();
    bool isPlaced() const { return placed_; }

    void windowDidMove();

private:
    QWidget& window_;
    bool placed_ = false;
};

} // namespace gelcoat
