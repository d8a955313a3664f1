#include "app/menus/MenuBuilder.h"

#include "app/delegate/KPAppDelegate.h"
#include "app/delegate/VersionCheckAvailability.h"
#include "app/documents/RecentDocuments.h"

#include "BuildSettings.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace gelcoat {

namespace {

std::vector<MenuBuilder::Extension>& extensions()
{
    static std::vector<MenuBuilder::Extension> list;
    return list;
}

// Sends the command to the delegate of the moment, if there is one.
QAction* addDelegateCommand(QMenu* menu, const QString& text, const char* slot,
                            const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(text);
    action->setShortcut(shortcut);
    action->setObjectName(QString::fromLatin1(slot));
    QObject::connect(action, &QAction::triggered, menu, [slot] {
        if (KPAppDelegate* delegate = KPAppDelegate::current())
            QMetaObject::invokeMethod(delegate, slot);
    });
    return action;
}

// The desktop's own key for a command, or the usual one where the
// platform defines none (Preferences on most desktops, every key on some).
QKeySequence shortcutFor(QKeySequence::StandardKey key, QKeyCombination usual)
{
    const QKeySequence standard(key);
    return standard.isEmpty() ? QKeySequence(usual) : standard;
}

} // namespace

AppMenus MenuBuilder::install(QMainWindow& window)
{
    const QString name = QString::fromUtf8(build::applicationName);
    AppMenus menus;
    menus.bar = new QMenuBar(&window);
    window.setMenuBar(menus.bar);

    menus.file = menus.bar->addMenu(QObject::tr("&File"));
    menus.file->setObjectName(QStringLiteral("fileMenu"));
    addDelegateCommand(menus.file, QObject::tr("&New"), "newDocument",
                       shortcutFor(QKeySequence::New, Qt::CTRL | Qt::Key_N));
    addDelegateCommand(menus.file, QObject::tr("&Open\u2026"), "openDocument",
                       shortcutFor(QKeySequence::Open, Qt::CTRL | Qt::Key_O));
    QMenu* recent = menus.file->addMenu(QObject::tr("Open &Recent"));
    recent->setObjectName(QStringLiteral("openRecentMenu"));
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent] {
        RecentDocuments::fillMenu(recent, [](const QString& path) {
            if (KPAppDelegate* delegate = KPAppDelegate::current())
                QMetaObject::invokeMethod(delegate, "openDocumentFiles",
                                          Q_ARG(QStringList, QStringList{path}));
        });
    });
    menus.file->addSeparator();
    QAction* close = menus.file->addAction(QObject::tr("&Close"));
    close->setObjectName(QStringLiteral("closeWindow"));
    close->setShortcut(shortcutFor(QKeySequence::Close, Qt::CTRL | Qt::Key_W));
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
    menus.file->addSeparator();
    QAction* quit = addDelegateCommand(menus.file, QObject::tr("&Quit"), "terminate",
                                       shortcutFor(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);

    menus.edit = menus.bar->addMenu(QObject::tr("&Edit"));
    menus.edit->setObjectName(QStringLiteral("editMenu"));
    addDelegateCommand(menus.edit, QObject::tr("Pre&ferences…"), "showPreferences",
                       shortcutFor(QKeySequence::Preferences, Qt::CTRL | Qt::Key_Comma))
        ->setMenuRole(QAction::PreferencesRole);

    menus.help = menus.bar->addMenu(QObject::tr("&Help"));
    menus.help->setObjectName(QStringLiteral("helpMenu"));
    addDelegateCommand(menus.help, QObject::tr("%1 &Help").arg(name), "showHelp",
                       shortcutFor(QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1)));
    addDelegateCommand(menus.help, QObject::tr("&Read Me"), "showReadMe");
    menus.help->addSeparator();
    addDelegateCommand(menus.help, QObject::tr("%1 &Web Page").arg(name), "showProductHomePage");
    addDelegateCommand(menus.help, QObject::tr("&Maker's Web Site"), "showQuillSoftwarePage");
    addDelegateCommand(menus.help, QObject::tr("Send &Feedback E-mail…"),
                       "sendQuillSoftwareEmail");
    if (versionCheckingAvailable()) {
        menus.help->addSeparator();
        addDelegateCommand(menus.help, QObject::tr("&Check for New Version Now…"),
                           "checkVersionNow");
        addDelegateCommand(menus.help, QObject::tr("A&utomatic Version Checking…"),
                           "automaticVersionChecking");
    }
    menus.help->addSeparator();
    addDelegateCommand(menus.help, QObject::tr("&About %1").arg(name), "showAbout")
        ->setMenuRole(QAction::AboutRole);

    for (const Extension& extension : extensions())
        extension(menus, window);
    return menus;
}

void MenuBuilder::addExtension(Extension extension)
{
    extensions().push_back(std::move(extension));
}

} // namespace gelcoat
