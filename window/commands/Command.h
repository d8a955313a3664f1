#pragma once
// A command of the program, declared once in a table: its name, title,
// keys, the places it shows in, what it does and how its check mark and
// enabling are found. Menus, pop-up buttons and shortcuts are all made from
// these declarations (see CommandActions), so a command is added by adding
// its entry.
//
// What a command does is a typed call on the object it acts on (the
// document, the window's stencil commands, the application delegate…). The
// object is found through CommandTarget<T>, which each such type
// specialises; a command on a type nobody taught how to find does not
// compile, and a misspelt member does not either.

#include <QAction>
#include <QKeySequence>

#include <functional>
#include <optional>
#include <vector>

class QMainWindow;
class QMenu;

namespace gelcoat {

// The menus and pop-ups commands appear in. Bar stands for the menu bar
// itself, where the top-level menus are placed.
enum class MenuId {
    Bar,
    File,
    OpenRecent,
    Edit,
    View,
    DestBackground,
    Presets,
    Help,
    SourceActions,
    DestActions,
};

// A place in a menu. The items of one section stay together in order; a
// separator parts a section from the next one that has items.
struct Placement {
    MenuId menu;
    int section = 0;
    int order = 0;
};

// A command's keys: one fixed key, or the desktop's key for a standard
// command, with the usual key where the desktop defines none; then, for a
// command with more than one key, those of `more` that the desktop binds to
// its standard command `moreFrom` (Redo: Ctrl+Shift+Z everywhere, Ctrl+Y
// where the desktop redoes with it).
struct Keys {
    Keys() = default;
    Keys(QKeyCombination fixed) : usual(fixed) {}
    Keys(QKeySequence::StandardKey key, std::optional<QKeyCombination> fallback = {})
        : standard(key), usual(fallback)
    {
    }
    Keys(QKeyCombination fixed, QKeySequence::StandardKey desktop,
         std::vector<QKeyCombination> desktopKeys)
        : usual(fixed), moreFrom(desktop), more(std::move(desktopKeys))
    {
    }

    // The first is the one menus show; empty for a command without keys.
    QList<QKeySequence> sequences() const;

    QKeySequence::StandardKey standard = QKeySequence::UnknownKey;
    std::optional<QKeyCombination> usual;
    QKeySequence::StandardKey moreFrom = QKeySequence::UnknownKey;
    std::vector<QKeyCombination> more;
};

// How the object a command acts on is found from the window the command is
// in. Specialisations give
//   static T* in(QMainWindow& window);
//   static constexpr bool ofTheProgram;
// ofTheProgram: the object belongs to the program rather than the window,
// is looked up each time the command runs, and the command is in every
// window; otherwise a window without the object does not get the command.
// A target whose commands have states may also give
//   static void watch(T& target, QObject& receiver, std::function<void()> changed);
// connecting whatever may change those states to `changed`.
template <class T>
struct CommandTarget;

// The typed call, with its target's type erased once it is bound.
struct CommandCall {
    QObject* (*find)(QMainWindow& window) = nullptr;
    bool ofTheProgram = false;
    std::function<void(QObject& target)> run;
    // Empty: the command has no check mark.
    std::function<bool(QObject& target)> checked;
    // Empty: always enabled.
    std::function<bool(QObject& target)> enabled;
    // Empty: the declared title, always. Otherwise the title as it stands,
    // already translated ("Undo Hue").
    std::function<QString(QObject& target)> title;
    void (*watch)(QObject& target, QObject& receiver, std::function<void()> changed) = nullptr;
};

// Binds what a command does, and how its states are read, to T.
template <class T>
CommandCall on(std::function<void(T&)> run, std::function<bool(T&)> checked = {},
               std::function<bool(T&)> enabled = {}, std::function<QString(T&)> title = {})
{
    CommandCall call;
    call.find = [](QMainWindow& window) -> QObject* { return CommandTarget<T>::in(window); };
    call.ofTheProgram = CommandTarget<T>::ofTheProgram;
    call.run = [run = std::move(run)](QObject& target) { run(static_cast<T&>(target)); };
    if (checked)
        call.checked = [checked = std::move(checked)](QObject& target) {
            return checked(static_cast<T&>(target));
        };
    if (enabled)
        call.enabled = [enabled = std::move(enabled)](QObject& target) {
            return enabled(static_cast<T&>(target));
        };
    if (title)
        call.title = [title = std::move(title)](QObject& target) {
            return title(static_cast<T&>(target));
        };
    if constexpr (requires(T& target, QObject& receiver) {
                      CommandTarget<T>::watch(target, receiver, std::function<void()>());
                  })
        call.watch = [](QObject& target, QObject& receiver, std::function<void()> changed) {
            CommandTarget<T>::watch(static_cast<T&>(target), receiver, std::move(changed));
        };
    return call;
}

// A member function of T taking nothing.
template <class T, class R>
CommandCall on(R (T::*member)())
{
    return on<T>([member](T& target) { (target.*member)(); });
}

struct Command {
    // The selector's name ("toggleTinting"); the action's object name.
    const char* id = nullptr;
    // Translation context and source text of the title; "%1" in a title
    // stands for the program's name. A title that changes (Undo's) is read
    // from the call, and this one is its plain form.
    const char* context = nullptr;
    const char* title = nullptr;
    Keys keys{};
    std::vector<Placement> places{};
    CommandCall call{};
    // Commands sharing a group name show as one set of choices (a radio
    // mark), of which at most one is checked.
    const char* choiceGroup = nullptr;
    QAction::MenuRole role = QAction::TextHeuristicRole;
    // Null: always there; otherwise the command exists only while it answers true.
    bool (*available)() = nullptr;
};

// A menu: the bar's menus, their submenus and the pop-up buttons' menus.
struct MenuDeclaration {
    MenuId id;
    const char* objectName = nullptr;
    // Null for a pop-up button's menu, which has no title.
    const char* context = nullptr;
    const char* title = nullptr;
    // Where the menu sits in its parent (MenuId::Bar for the bar's menus);
    // unused for a pop-up.
    Placement place{MenuId::Bar};
    // Fills in items that are not commands each time the menu opens
    // (the recent documents).
    std::function<void(QMenu& menu)> fillOnShow{};
};

// A title as shown: translated, the program's name put in.
QString commandTitle(const char* context, const char* title);

} // namespace gelcoat
