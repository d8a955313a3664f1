// Menus made from command declarations: sections and separators, submenus,
// commands a window has no target for, the program's commands whose target
// comes and goes, and states read back from the target.

#include "window/commands/CommandActions.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QtTest>

using namespace gelcoat;

namespace {

// A window's part with a switch and a choice among three.
class Lamp : public QObject {
    Q_OBJECT
public:
    explicit Lamp(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("lamp")); }
    void toggle()
    {
        on = !on;
        emit changed();
    }
    bool on = false;
    int colour = 1;
    int toggles = 0;
signals:
    void changed();
};

// An object of the program's, which may not be there.
class Bell : public QObject {
    Q_OBJECT
public:
    static inline QPointer<Bell> current;
    int rings = 0;
};

} // namespace

namespace gelcoat {

template <>
struct CommandTarget<Lamp> {
    static constexpr bool ofTheProgram = false;
    static Lamp* in(QMainWindow& window)
    {
        return window.findChild<Lamp*>(QStringLiteral("lamp"));
    }
    static void watch(Lamp& lamp, QObject& receiver, std::function<void()> changed)
    {
        QObject::connect(&lamp, &Lamp::changed, &receiver, changed);
    }
};

template <>
struct CommandTarget<Bell> {
    static constexpr bool ofTheProgram = true;
    static Bell* in(QMainWindow&) { return Bell::current; }
};

} // namespace gelcoat

namespace {

bool never()
{
    return false;
}

CommandCall colour(int value)
{
    return on<Lamp>([value](Lamp& lamp) { lamp.colour = value; },
                    [value](Lamp& lamp) { return lamp.colour == value; });
}

const std::vector<Command>& table()
{
    using enum MenuId;
    static const std::vector<Command> commands{
        {.id = "ring",
         .context = "test",
         .title = "&Ring",
         .keys = Qt::CTRL | Qt::Key_R,
         .places = {{Edit, 0, 0}},
         .call = on<Bell>([](Bell& bell) { ++bell.rings; })},
        {.id = "toggle",
         .context = "test",
         .title = "&Light",
         .places = {{Edit, 2, 1}, {SourceActions, 0, 0}},
         .call = on<Lamp>(
             [](Lamp& lamp) {
                 ++lamp.toggles;
                 lamp.toggle();
             },
             [](Lamp& lamp) { return lamp.on; })},
        // Declared after, shown before: the place decides.
        {.id = "dim",
         .context = "test",
         .title = "&Dim",
         .places = {{Edit, 2, 0}},
         .call = on<Lamp>([](Lamp&) {}, {}, [](Lamp& lamp) { return lamp.on; })},
        // Its section has nothing else: no separator for it.
        {.id = "hidden",
         .context = "test",
         .title = "Hidden",
         .places = {{Edit, 1, 0}, {View, 0, 0}},
         .call = on<Lamp>([](Lamp&) {}),
         .available = never},
        {.id = "red",
         .context = "test",
         .title = "Red",
         .places = {{DestBackground, 0, 0}},
         .call = colour(0),
         .choiceGroup = "colour"},
        {.id = "green",
         .context = "test",
         .title = "Green",
         .places = {{DestBackground, 0, 1}},
         .call = colour(1),
         .choiceGroup = "colour"},
    };
    return commands;
}

const std::vector<MenuDeclaration>& menus()
{
    using enum MenuId;
    static const std::vector<MenuDeclaration> declared{
        {Edit, "edit", "test", "&Edit", {Bar, 0, 0}},
        {DestBackground, "colours", "test", "&Colour", {Edit, 2, 2}},
        // Only the unavailable command: not shown.
        {View, "view", "test", "&View", {Bar, 0, 1}},
    };
    return declared;
}

QStringList itemsOf(const QMenu& menu)
{
    QStringList items;
    for (QAction* action : menu.actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

} // namespace

class CommandActionsTest : public QObject {
    Q_OBJECT

private slots:
    void menusFollowThePlacesTheCommandsDeclare()
    {
        QMainWindow window;
        new Lamp(&window);
        CommandActions& actions = CommandActions::of(window);
        actions.install(table());
        actions.install(table());
        QCOMPARE(actions.actions().size(), 5);
        QVERIFY(!actions.action(u"hidden"));
        QMenuBar bar;
        actions.fillMenuBar(bar, menus());
        QCOMPARE(bar.actions().size(), 1);
        QMenu* edit = bar.actions().first()->menu();
        QCOMPARE(itemsOf(*edit), (QStringList{QStringLiteral("&Ring"), QStringLiteral("-"),
                                              QStringLiteral("&Dim"), QStringLiteral("&Light"),
                                              QStringLiteral("&Colour")}));
        QMenu* colours = edit->findChild<QMenu*>(QStringLiteral("colours"));
        QCOMPARE(itemsOf(*colours), (QStringList{QStringLiteral("Red"), QStringLiteral("Green")}));
        QCOMPARE(actions.action(u"ring")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
        // The window's own commands keep their keys without the bar.
        QVERIFY(window.actions().contains(actions.action(u"toggle")));
        QVERIFY(!window.actions().contains(actions.action(u"ring")));

        // A pop-up shares the menu's action.
        std::unique_ptr<QMenu> popUp(actions.makeMenu({.id = MenuId::SourceActions}, {}, nullptr));
        QCOMPARE(popUp->actions(), (QList<QAction*>{actions.action(u"toggle")}));
    }

    void aWindowWithoutTheTargetLacksItsCommands()
    {
        QMainWindow window;
        CommandActions& actions = CommandActions::of(window);
        actions.install(table());
        QCOMPARE(actions.actions().size(), 1);
        QMenuBar bar;
        actions.fillMenuBar(bar, menus());
        QCOMPARE(itemsOf(*bar.actions().first()->menu()), QStringList{QStringLiteral("&Ring")});
    }

    void theProgramsTargetIsFoundWhenTheCommandRuns()
    {
        QMainWindow window;
        CommandActions& actions = CommandActions::of(window);
        actions.install(table());
        QAction* ring = actions.action(u"ring");
        ring->trigger();
        Bell bell;
        Bell::current = &bell;
        ring->trigger();
        QCOMPARE(bell.rings, 1);
    }

    void statesAreReadFromTheTarget()
    {
        QMainWindow window;
        auto* lamp = new Lamp(&window);
        CommandActions& actions = CommandActions::of(window);
        actions.install(table());
        QAction* toggle = actions.action(u"toggle");
        QAction* dim = actions.action(u"dim");
        QAction* red = actions.action(u"red");
        QAction* green = actions.action(u"green");
        QVERIFY(toggle->isCheckable() && !dim->isCheckable());
        QVERIFY(!toggle->isChecked() && !dim->isEnabled() && green->isChecked());
        QCOMPARE(red->actionGroup(), green->actionGroup());

        toggle->trigger();
        QCOMPARE(lamp->toggles, 1);
        QVERIFY(toggle->isChecked() && dim->isEnabled());
        // A change the target reports.
        lamp->toggle();
        QVERIFY(!toggle->isChecked() && !dim->isEnabled());
        red->trigger();
        QVERIFY(red->isChecked() && !green->isChecked());
        // A change it does not report shows when a menu opens; a value
        // that matches no choice checks none.
        lamp->colour = 7;
        QMenuBar bar;
        actions.fillMenuBar(bar, menus());
        emit bar.actions().first()->menu()->aboutToShow();
        QVERIFY(!red->isChecked() && !green->isChecked());
    }
};

QTEST_MAIN(CommandActionsTest)
#include "tst_CommandActions.moc"
