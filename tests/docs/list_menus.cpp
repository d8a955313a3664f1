// gelcoat-list-menus: prints the menu bar of a document window as the
// program builds it, one command a line, for the check that the manual
// describes every command:
//   MENU<TAB>COMMAND<TAB>KEYS<TAB>DESKTOP KEYS
// MENU is the menu's title, or "View > Result Background" inside a submenu;
// COMMAND is the item's text as shown (mnemonic marks and all); KEYS are its
// shortcuts in portable form, separated by ", ". A shortcut that is one of
// the platform's keys for a standard command (Close, Copy…) depends on the
// desktop, so DESKTOP KEYS lists every key the platform binds to that
// command, any of which the manual may show. A submenu is listed as a
// command of its parent too, and is told it is about to show first, as when
// it opens, so that a menu filled then (Open Recent) lists its commands.

#include "app/windows/DocumentWindows.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QStringList>
#include <QTextStream>

#include <memory>

using namespace gelcoat;

namespace {

// Every key of the standard commands that have key among theirs.
QStringList desktopKeys(const QKeySequence& key)
{
    QStringList keys;
    const QMetaEnum standard = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < standard.keyCount(); ++i) {
        const auto command = QKeySequence::StandardKey(standard.value(i));
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(command);
        if (!bindings.contains(key))
            continue;
        for (const QKeySequence& binding : bindings)
            if (!keys.contains(binding.toString(QKeySequence::PortableText)))
                keys << binding.toString(QKeySequence::PortableText);
    }
    return keys;
}

void listMenu(QTextStream& out, QMenu& menu, const QString& path)
{
    emit menu.aboutToShow();
    for (QAction* action : menu.actions()) {
        if (action->isSeparator())
            continue;
        QStringList keys;
        QStringList desktop;
        for (const QKeySequence& key : action->shortcuts()) {
            keys << key.toString(QKeySequence::PortableText);
            desktop << desktopKeys(key);
        }
        const QString comma = QStringLiteral(", ");
        out << path << '\t' << action->text() << '\t' << keys.join(comma) << '\t'
            << desktop.join(comma) << '\n';
        if (QMenu* submenu = action->menu())
            listMenu(out, *submenu, path + QStringLiteral(" > ") + submenu->title());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::unique_ptr<QWidget> window(newDocumentWindow(1));
    auto* main = qobject_cast<QMainWindow*>(window.get());
    if (!main || !main->menuBar()) {
        QTextStream(stderr) << "gelcoat-list-menus: the document window has no menu bar\n";
        return 1;
    }
    QTextStream out(stdout);
    for (QAction* item : main->menuBar()->actions())
        if (QMenu* menu = item->menu())
            listMenu(out, *menu, menu->title());
    return 0;
}
