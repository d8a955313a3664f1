#pragma once
// The one menu bar every window of the program installs. Its commands go to
// the application delegate by name, the way menu items send their actions
// to whichever delegate the program runs with. Later features add their
// commands through an extension, which every window then gets too.

#include <functional>

class QMainWindow;
class QMenu;
class QMenuBar;

namespace gelcoat {

struct AppMenus {
    QMenuBar* bar = nullptr;
    QMenu* file = nullptr;
    QMenu* edit = nullptr;
    QMenu* help = nullptr;
};

class MenuBuilder {
public:
    using Extension = std::function<void(AppMenus& menus, QMainWindow& window)>;

    // Builds the menus into window's menu bar (replacing what it held), then
    // runs every extension on them.
    static AppMenus install(QMainWindow& window);

    // Runs on every later install, in the order added.
    static void addExtension(Extension extension);
};

} // namespace gelcoat
