#include "window/commands/CommandActions.h"

#include "BuildSettings.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <set>
#include <tuple>

namespace gelcoat {

QList<QKeySequence> Keys::sequences() const
{
    QList<QKeySequence> keys;
    if (standard != QKeySequence::UnknownKey && !QKeySequence(standard).isEmpty())
        keys << QKeySequence(standard);
    else if (usual)
        keys << QKeySequence(*usual);
    const QList<QKeySequence> desktop = QKeySequence::keyBindings(moreFrom);
    for (QKeyCombination key : more)
        if (desktop.contains(QKeySequence(key)))
            keys << QKeySequence(key);
    return keys;
}

QString commandTitle(const char* context, const char* title)
{
    const QString text = QCoreApplication::translate(context, title);
    return text.contains(QLatin1String("%1")) ? text.arg(QString::fromUtf8(build::applicationName))
                                              : text;
}

CommandActions::CommandActions(QMainWindow& window) : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("commandActions"));
}

CommandActions& CommandActions::of(QMainWindow& window)
{
    auto* actions = window.findChild<CommandActions*>(QStringLiteral("commandActions"),
                                                      Qt::FindDirectChildrenOnly);
    return actions ? *actions : *new CommandActions(window);
}

void CommandActions::install(const std::vector<Command>& commands)
{
    // Each target is watched once, however many commands it serves.
    std::set<QObject*> watched;
    for (const Installed& installed : installed_)
        if (installed.command->call.watch && !installed.command->call.ofTheProgram)
            watched.insert(installed.command->call.find(window_));

    for (const Command& command : commands) {
        if (action(QString::fromLatin1(command.id)) || (command.available && !command.available()))
            continue;
        const CommandCall& call = command.call;
        QObject* target = call.find(window_);
        if (!target && !call.ofTheProgram)
            continue;
        auto* action = new QAction(commandTitle(command.context, command.title), this);
        action->setObjectName(QString::fromLatin1(command.id));
        action->setShortcuts(command.keys.sequences());
        action->setMenuRole(command.role);
        action->setCheckable(bool(call.checked));
        if (command.choiceGroup) {
            QActionGroup*& group = groups_[command.choiceGroup];
            if (!group) {
                group = new QActionGroup(this);
                // One choice at most: a value from a file may match none.
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            group->addAction(action);
        }
        installed_.push_back({&command, action});
        const Installed installed = installed_.back();
        connect(action, &QAction::triggered, this, [this, installed] { run(installed); });
        // A window's own commands keep their keys in a window without the
        // menu bar (a test's); the program's come with the bar.
        if (!call.ofTheProgram)
            window_.addAction(action);
        if (target && call.watch && !call.ofTheProgram && watched.insert(target).second)
            call.watch(*target, *this, [this] { refreshStates(); });
    }
    refreshStates();
}

void CommandActions::run(const Installed& installed)
{
    const CommandCall& call = installed.command->call;
    // The program's objects may come and go (there is no delegate while a
    // tool lists the menus); a window's own are there while it is.
    // Quit and Close may take the window, and these actions, with them.
    const QPointer<CommandActions> self(this);
    if (QObject* target = call.find(window_))
        call.run(*target);
    // A checkable action has flipped its own mark; the target decides.
    if (self)
        refreshStates();
}

QAction* CommandActions::action(QStringView id) const
{
    for (const Installed& installed : installed_)
        if (installed.action->objectName() == id)
            return installed.action;
    return nullptr;
}

QList<QAction*> CommandActions::actions() const
{
    QList<QAction*> list;
    for (const Installed& installed : installed_)
        list << installed.action;
    return list;
}

void CommandActions::refreshStates()
{
    if (!refreshing_)
        return;
    for (const Installed& installed : installed_) {
        const CommandCall& call = installed.command->call;
        if (!call.checked && !call.enabled && !call.title)
            continue;
        QObject* target = call.find(window_);
        if (!target)
            continue;
        if (call.checked)
            installed.action->setChecked(call.checked(*target));
        if (call.enabled)
            installed.action->setEnabled(call.enabled(*target));
        if (call.title)
            installed.action->setText(call.title(*target));
    }
}

QMenu* CommandActions::makeMenu(const MenuDeclaration& menu,
                                const std::vector<MenuDeclaration>& menus, QWidget* parent)
{
    struct Item {
        Placement place;
        QAction* action = nullptr;
        const MenuDeclaration* submenu = nullptr;
    };
    std::vector<Item> items;
    for (const Installed& installed : installed_)
        for (const Placement& place : installed.command->places)
            if (place.menu == menu.id)
                items.push_back({place, installed.action, nullptr});
    for (const MenuDeclaration& submenu : menus)
        if (submenu.place.menu == menu.id && submenu.id != menu.id)
            items.push_back({submenu.place, nullptr, &submenu});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::tie(a.place.section, a.place.order) < std::tie(b.place.section, b.place.order);
    });

    auto* made = menu.title ? new QMenu(commandTitle(menu.context, menu.title), parent)
                            : new QMenu(parent);
    made->setObjectName(QString::fromLatin1(menu.objectName));
    const Item* previous = nullptr;
    for (const Item& item : items) {
        QAction* entry = item.action;
        if (item.submenu) {
            QMenu* submenu = makeMenu(*item.submenu, menus, made);
            if (!submenu)
                continue;
            entry = submenu->menuAction();
        }
        if (previous && previous->place.section != item.place.section)
            made->addSeparator();
        made->addAction(entry);
        previous = &item;
    }
    // A menu of another window's commands only (View in a window that is
    // not a document's).
    if (made->isEmpty() && !menu.fillOnShow) {
        delete made;
        return nullptr;
    }
    if (menu.fillOnShow)
        connect(made, &QMenu::aboutToShow, made, [made, fill = menu.fillOnShow] { fill(*made); });
    connect(made, &QMenu::aboutToShow, this, &CommandActions::refreshStates);
    return made;
}

void CommandActions::fillMenuBar(QMenuBar& bar, const std::vector<MenuDeclaration>& menus)
{
    bar.clear();
    std::vector<const MenuDeclaration*> top;
    for (const MenuDeclaration& menu : menus)
        if (menu.place.menu == MenuId::Bar)
            top.push_back(&menu);
    std::stable_sort(top.begin(), top.end(), [](const auto* a, const auto* b) {
        return a->place.order < b->place.order;
    });
    for (const MenuDeclaration* menu : top)
        if (QMenu* made = makeMenu(*menu, menus, &bar))
            bar.addMenu(made);
}

} // namespace gelcoat
