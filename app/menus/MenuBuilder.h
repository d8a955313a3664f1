#pragma once
// The menu bar of a window: the program's commands, which every window
// carries, and the commands of the window itself, placed in the menus
// their declarations name.

class QMainWindow;

namespace gelcoat {

class MenuBuilder {
public:
    // Builds the menus into window's menu bar, replacing what it held.
    static void install(QMainWindow& window);
};

} // namespace gelcoat
