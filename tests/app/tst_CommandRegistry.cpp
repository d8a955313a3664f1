// The program's command tables as a whole: every declared command ends up
// in a document window where its declaration says, no two collide, and the
// states and titles a command declares follow its target.

#include "tests/app/AppTestSupport.h"
#include "tests/window/WindowTestSupport.h"

#include "app/menus/ProgramCommands.h"
#include "app/windows/DocumentWindows.h"
#include "window/commands/CommandActions.h"
#include "window/commands/DocumentWindowCommands.h"
#include "ui_TintDocument.h"

#include "document/model/TintDocument.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>
#include <set>
#include <tuple>

using namespace gelcoat;

namespace {

std::vector<const Command*> everyCommand()
{
    std::vector<const Command*> all;
    for (const auto* table : {&programCommands(), &documentWindowCommands()})
        for (const Command& command : *table)
            all.push_back(&command);
    return all;
}

bool isAvailable(const Command& command)
{
    return !command.available || command.available();
}

std::unique_ptr<TintDocumentWindow> programWindow()
{
    std::unique_ptr<TintDocumentWindow> window(
        static_cast<TintDocumentWindow*>(newDocumentWindow(1)));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}

// The menu a placement names, in a document window as the program makes it.
QMenu* menuOf(TintDocumentWindow& window, MenuId id)
{
    if (id == MenuId::SourceActions)
        return window.form().sourceActionButton->menu();
    if (id == MenuId::DestActions)
        return window.form().destActionButton->menu();
    for (const MenuDeclaration& menu : menuBarMenus())
        if (menu.id == id)
            return window.menuBar()->findChild<QMenu*>(QString::fromLatin1(menu.objectName));
    return nullptr;
}

} // namespace

class CommandRegistryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { startWithCleanSettings(); }

    void declarationsDoNotCollide()
    {
        std::set<QByteArray> ids;
        std::set<std::tuple<MenuId, int, int>> places;
        std::map<QKeySequence, QByteArray> keys;
        for (const Command* command : everyCommand()) {
            const QByteArray id(command->id);
            QVERIFY2(ids.insert(id).second, id.constData());
            QVERIFY2(command->call.find && command->call.run, id.constData());
            QVERIFY2(!commandTitle(command->context, command->title).isEmpty(), id.constData());
            QVERIFY2(!command->places.empty(), id.constData());
            for (const Placement& place : command->places)
                QVERIFY2(places.insert({place.menu, place.section, place.order}).second,
                         id.constData());
            // One key for two commands of a window fires neither.
            for (const QKeySequence& key : command->keys.sequences()) {
                QVERIFY2(!key.isEmpty(), id.constData());
                const auto [clash, added] = keys.emplace(key, id);
                QVERIFY2(added, (id + " and " + clash->second).constData());
            }
        }
        for (const MenuDeclaration& menu : menuBarMenus())
            if (menu.place.menu != MenuId::Bar)
                QVERIFY2(places.insert({menu.place.menu, menu.place.section, menu.place.order})
                             .second,
                         menu.objectName);
    }

    void everyCommandShowsWhereItsDeclarationSays()
    {
        const auto window = programWindow();
        for (const Command* command : everyCommand()) {
            QAction* action = window->commands().action(QString::fromLatin1(command->id));
            if (!isAvailable(*command)) {
                QVERIFY2(!action, command->id);
                continue;
            }
            // A command whose target the window cannot find would be missing.
            QVERIFY2(action, command->id);
            QCOMPARE(action->objectName(), QString::fromLatin1(command->id));
            for (const Placement& place : command->places) {
                QMenu* menu = menuOf(*window, place.menu);
                QVERIFY2(menu && menu->actions().contains(action), command->id);
            }
        }
    }

    void statesFollowTheirTargets()
    {
        const auto window = programWindow();
        QAction& revert = test::command(*window, "revertDocumentToSaved");
        QAction& rendering = test::command(*window, "toggleTinting");
        QVERIFY(!revert.isEnabled());

        // Saved, then edited: there is something to revert to.
        QTemporaryDir dir;
        TintDocument& document = window->document();
        QVERIFY(document.saveDocumentAs(dir.filePath(QStringLiteral("a.gelcoat"))).ok);
        QVERIFY(!revert.isEnabled());
        document.useBluePresets();
        QVERIFY(revert.isEnabled());

        // The model changes behind the action's back.
        document.toggleTinting();
        QVERIFY(!rendering.isChecked());
        // The user's trigger flips the mark first; the document has the last word.
        rendering.trigger();
        QVERIFY(document.gelcoatOn());
        QVERIFY(rendering.isChecked());
    }

    // Undo's and Redo's titles name the step and follow the stack as it
    // changes, with no menu opened; Ctrl+Z must be right before one is.
    void titlesFollowTheirTargets()
    {
        const auto window = programWindow();
        QAction& undo = test::command(*window, "undo");
        QAction& redo = test::command(*window, "redo");
        TintDocument& document = window->document();
        QCOMPARE(undo.text(), QStringLiteral("&Undo"));
        QVERIFY(!undo.isEnabled());
        QVERIFY(!redo.isEnabled());

        document.changeSetting([](TintSettings& s) { s.userHue = 20; });
        QCOMPARE(undo.text(), QStringLiteral("&Undo Hue"));
        QVERIFY(undo.isEnabled());
        undo.trigger();
        QCOMPARE(undo.text(), QStringLiteral("&Undo"));
        QVERIFY(!undo.isEnabled());
        QCOMPARE(redo.text(), QStringLiteral("&Redo Hue"));
        QVERIFY(redo.isEnabled());

        // A new stencil clears the stack behind the actions' back.
        QVERIFY(document.invertSource());
        QCOMPARE(redo.text(), QStringLiteral("&Redo"));
        QVERIFY(!redo.isEnabled());
    }

    // A command's further keys are kept only where the desktop gives them
    // to the standard command named, after its own first key.
    void furtherKeysFollowTheDesktop()
    {
        const QList<QKeySequence> redoBindings = QKeySequence::keyBindings(QKeySequence::Redo);
        const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
        const Keys keys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, QKeySequence::Redo,
                        {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::Key_F12});
        QList<QKeySequence> expected{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
        if (redoBindings.contains(ctrlY))
            expected << ctrlY;
        QCOMPARE(keys.sequences(), expected);

        const auto window = programWindow();
        QCOMPARE(test::command(*window, "redo").shortcuts(), expected);
        QCOMPARE(test::command(*window, "undo").shortcuts(),
                 QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)});
    }
};

QTEST_MAIN(CommandRegistryTest)
#include "tst_CommandRegistry.moc"
