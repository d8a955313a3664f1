#pragma once
// The commands of one window as actions, made from their declarations. One
// action per command, whichever menus and pop-ups show it, so that their
// check marks agree; every action is the window's too, so that its keys
// work wherever the menus are. The states are read again from the
// commands' targets after a command runs, when a menu opens and when a
// target says its states may have changed.

#include "window/commands/Command.h"

#include <QObject>

#include <map>
#include <string>
#include <vector>

class QActionGroup;
class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace gelcoat {

class CommandActions : public QObject {
    Q_OBJECT
public:
    // The window's actions, made empty on first use.
    static CommandActions& of(QMainWindow& window);

    // Makes the action of each command that the window has a target for,
    // is available, and has no action yet. The commands must outlive the
    // window.
    void install(const std::vector<Command>& commands);

    // The action of the command with that id, or null.
    QAction* action(QStringView id) const;
    // Every action, in the order installed.
    QList<QAction*> actions() const;

    // The menu `menu` with its commands and, from `menus`, the submenus
    // placed in it; null when it would be empty.
    QMenu* makeMenu(const MenuDeclaration& menu, const std::vector<MenuDeclaration>& menus,
                    QWidget* parent);
    // Replaces the bar's menus with the ones of `menus` placed on the bar.
    void fillMenuBar(QMenuBar& bar, const std::vector<MenuDeclaration>& menus);

    // Check marks, enabling and changing titles, from the commands' targets.
    void refreshStates();
    // From now on states are left as they are: the window is being torn
    // down, and its targets may already be gone while signals still come
    // (an undo stack clears itself, and says so, as it is destroyed).
    void stopRefreshing() { refreshing_ = false; }

private:
    explicit CommandActions(QMainWindow& window);

    struct Installed {
        const Command* command;
        QAction* action;
    };
    void run(const Installed& installed);

    QMainWindow& window_;
    std::vector<Installed> installed_;
    std::map<std::string, QActionGroup*> groups_;
    bool refreshing_ = true;
};

} // namespace gelcoat
