// The shell around the documents: untitled windows, the menus every window
// installs, the Open Recent list, and quitting through the windows.

#include "tests/app/AppTestSupport.h"

#include "app/delegate/AppDelegate.h"
#include "app/documents/RecentDocuments.h"
#include "app/menus/MenuBuilder.h"
#include "app/prefs/PrefsController.h"
#include "app/windows/DocumentWindows.h"

#include "shared/KPCocoaExtra.h"
#include "document/model/TintDocument.h"
#include "window/TintDocumentWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace gelcoat;

namespace {

QAction* findAction(QMainWindow& window, const QString& name)
{
    return window.findChild<QAction*>(name);
}

QStringList menuTitles(QMainWindow& window)
{
    QStringList titles;
    for (QAction* menu : window.menuBar()->actions())
        titles << menu->text();
    return titles;
}

// A document window as the program makes it, owned by the caller.
std::unique_ptr<QMainWindow> documentWindow(int untitledNumber)
{
    std::unique_ptr<QMainWindow> window(
        static_cast<QMainWindow*>(newDocumentWindow(untitledNumber)));
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}

// A delegate that opens the program's document windows.
struct ProgramDelegate : AppDelegate {
    ProgramDelegate() { setDocumentWindowFactory(newDocumentWindow); }
};

// Runs the application's own event loop with `work` queued in it; the
// program's answer, or `guardCode` if it was still running after guardMs.
int runProgram(const std::function<void()>& work, int guardMs, int guardCode)
{
    QTimer::singleShot(0, qApp, work);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [guardCode] { qApp->exit(guardCode); });
    guard.start(guardMs);
    return QApplication::exec();
}

constexpr int kStillRunning = 7;

// A window whose owner declines to close it (an unsaved document, later).
class StubbornWindow : public QMainWindow {
public:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

class ApplicationShellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        startWithCleanSettings();
    }

    void cleanup() { QApplication::closeAllWindows(); }

    void untitledWindowsOpenAndCascade()
    {
        ProgramDelegate delegate;
        delegate.newDocument();
        QWidget* first = delegate.lastDocumentWindow();
        QVERIFY(first);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QCOMPARE(first->windowTitle(), QStringLiteral("Untitled[*]"));
        QCOMPARE(static_cast<QMainWindow*>(first)->centralWidget()->size(), QSize(686, 574));
        delegate.newDocument();
        QWidget* second = delegate.lastDocumentWindow();
        QCOMPARE(second->windowTitle(), QStringLiteral("Untitled 2[*]"));
        QVERIFY(QTest::qWaitForWindowExposed(second));
        QTRY_COMPARE(second->pos(), first->pos() + QPoint(22, 22));
        saveScreenshot(first, QStringLiteral("document-window"));
    }

    void menusFollowTheDesktopsConventions()
    {
        auto document = documentWindow(1);
        QMainWindow& window = *document;
        QCOMPARE(menuTitles(window),
                 (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"),
                              QStringLiteral("&View"), QStringLiteral("&Presets"),
                              QStringLiteral("&Help")}));
        const auto menuHolds = [&window](const char* menu, const char* command) {
            auto* found = window.menuBar()->findChild<QMenu*>(QString::fromLatin1(menu));
            auto* action = window.findChild<QAction*>(QString::fromLatin1(command));
            return found && action && found->actions().contains(action);
        };
        QVERIFY(menuHolds("viewMenu", "toggleTinting"));
        QVERIFY(menuHolds("viewMenu", "showSourceSize"));
        QVERIFY(menuHolds("destBackgroundMenu", "useWhiteBackgroundForDest"));
        QVERIFY(menuHolds("presetsMenu", "useDefaultSettings"));
        QVERIFY(menuHolds("presetsMenu", "useInactivePresets"));
        QVERIFY(menuHolds("fileMenu", "saveDestImage"));
        for (const char* command : {"undo", "redo", "copy", "paste", "invertSource",
                                    "adjustSourceSize", "chooseSourceImage", "useMoss", "useFoot"})
            QVERIFY2(menuHolds("editMenu", command), command);
        // Another window gets the program's menus only.
        QMainWindow other;
        MenuBuilder::install(other);
        QCOMPARE(menuTitles(other), (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"),
                                                 QStringLiteral("&Help")}));
        auto* edit = window.menuBar()->findChild<QMenu*>(QStringLiteral("editMenu"));
        auto* help = window.menuBar()->findChild<QMenu*>(QStringLiteral("helpMenu"));
        QVERIFY(edit->actions().contains(findAction(window, QStringLiteral("showPreferences"))));
        QVERIFY(help->actions().contains(findAction(window, QStringLiteral("showAbout"))));
        for (const char* command :
             {"terminate", "newDocument", "closeWindow", "showPreferences", "showHelp"}) {
            QAction* action = findAction(window, QString::fromLatin1(command));
            QVERIFY2(!action->shortcut().isEmpty(), command);
        }

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* name : {"helpMenu", "viewMenu", "fileMenu", "editMenu"}) {
            auto* menu = window.menuBar()->findChild<QMenu*>(QString::fromLatin1(name));
            menu->popup(window.mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            saveScreenshot(menu, QString::fromLatin1(name));
            menu->close();
        }
    }

    void editMenuNamesTheStepToUndo()
    {
        auto document = documentWindow(1);
        auto& window = static_cast<TintDocumentWindow&>(*document);
        auto* edit = window.menuBar()->findChild<QMenu*>(QStringLiteral("editMenu"));
        QAction* undo = edit->actions().value(0);
        QAction* redo = edit->actions().value(1);
        QCOMPARE(undo->objectName(), QStringLiteral("undo"));
        QCOMPARE(redo->objectName(), QStringLiteral("redo"));
        QVERIFY(edit->actions().value(2)->isSeparator());
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());

        window.document().changeSetting([](TintSettings& s) { s.userHue = 20; });
        QCOMPARE(undo->text(), QStringLiteral("&Undo Hue"));
        QVERIFY(undo->isEnabled());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->popup(window.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        saveScreenshot(edit, QStringLiteral("edit-menu-undo-hue"));
        edit->close();

        undo->trigger();
        QCOMPARE(redo->text(), QStringLiteral("&Redo Hue"));
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(!undo->isEnabled());
    }

    // The delegate's commands reach it through their items (the rest of
    // the table is checked in tst_CommandRegistry).
    void menuItemsReachTheDelegate()
    {
        ProgramDelegate delegate;
        auto document = documentWindow(1);
        QMainWindow& window = *document;
        // Preferences through its menu item.
        findAction(window, QStringLiteral("showPreferences"))->trigger();
        QVERIFY(PrefsController::sharedPrefsController().preferencesWindow());
        QVERIFY(PrefsController::sharedPrefsController().preferencesWindow()->isVisible());
        // The about panel through its item.
        findAction(window, QStringLiteral("showAbout"))->trigger();
        QVERIFY(KPAboutPanel::currentAboutPanel());
        KPAboutPanel::currentAboutPanel()->close();
    }

    void quitClosesEveryWindowAndEndsTheProgram()
    {
        ProgramDelegate delegate;
        const int code = runProgram(
            [&delegate] {
                delegate.newDocument();
                delegate.newDocument();
                PrefsController::sharedPrefsController().showWindow();
                delegate.terminate();
            },
            5000, kStillRunning);
        QCOMPARE(code, 0);
        QVERIFY(!delegate.lastDocumentWindow());
        QVERIFY(!PrefsController::sharedPrefsController().preferencesWindow()->isVisible());
    }

    void closingTheLastDocumentWindowEndsTheProgramEvenWithPreferencesOpen()
    {
        ProgramDelegate delegate;
        const int code = runProgram(
            [&delegate] {
                delegate.newDocument();
                PrefsController::sharedPrefsController().showWindow();
                QTimer::singleShot(20, delegate.lastDocumentWindow(), &QWidget::close);
            },
            5000, kStillRunning);
        QCOMPARE(code, 0);
        PrefsController::sharedPrefsController().closeWindow();
    }

    void openRecentKeepsTheNewestUpToItsLimit()
    {
        RecentDocuments::clear();
        QTemporaryDir dir;
        QStringList newestFirst;
        for (int i = 0; i < RecentDocuments::kMaximum + 2; ++i) {
            const QString path = dir.filePath(QStringLiteral("d%1.gelcoat").arg(i));
            QFile(path).open(QIODevice::WriteOnly);
            RecentDocuments::add(path);
            newestFirst.prepend(path);
        }
        QCOMPARE(RecentDocuments::paths(), newestFirst.mid(0, RecentDocuments::kMaximum));

        // One opened again moves to the front and nothing else is dropped;
        // a relative path is kept absolute, so it is the same entry.
        const QString again = newestFirst[RecentDocuments::kMaximum - 1];
        const QString folder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        RecentDocuments::add(QFileInfo(again).fileName());
        QDir::setCurrent(folder);
        QStringList expected = newestFirst.mid(0, RecentDocuments::kMaximum);
        expected.move(RecentDocuments::kMaximum - 1, 0);
        QCOMPARE(RecentDocuments::paths(), expected);

        // A document gone since stays listed but cannot be chosen.
        QVERIFY(QFile::remove(expected[1]));
        QMenu menu;
        RecentDocuments::fillMenu(&menu, [](const QString&) {});
        const QList<QAction*> items = menu.actions();
        QCOMPARE(items.size(), RecentDocuments::kMaximum + 2);   // a separator, Clear Menu
        QCOMPARE(items[0]->text(), QFileInfo(again).fileName());
        QVERIFY(items[0]->isEnabled());
        QVERIFY(!items[1]->isEnabled());
        RecentDocuments::clear();
    }

    void aWindowThatRefusesToCloseKeepsTheProgramRunning()
    {
        ProgramDelegate delegate;
        StubbornWindow stubborn;
        const int code = runProgram(
            [&delegate, &stubborn] {
                stubborn.show();
                delegate.newDocument();
                delegate.terminate();
            },
            300, kStillRunning);
        QCOMPARE(code, kStillRunning);
        QVERIFY(stubborn.isVisible());
        stubborn.hide();
    }
};

QTEST_MAIN(ApplicationShellTest)
#include "tst_ApplicationShell.moc"
