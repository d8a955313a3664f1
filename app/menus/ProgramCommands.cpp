#include "app/menus/ProgramCommands.h"

#include "app/delegate/AppDelegate.h"
#include "app/delegate/VersionCheckAvailability.h"
#include "app/documents/RecentDocuments.h"

#include <QMainWindow>

namespace gelcoat {

// The delegate of the moment: commands reach whichever delegate the
// program runs with, and do nothing while there is none.
template <>
struct CommandTarget<KPAppDelegate> {
    static constexpr bool ofTheProgram = true;
    static KPAppDelegate* in(QMainWindow&) { return KPAppDelegate::current(); }
};

template <>
struct CommandTarget<AppDelegate> {
    static constexpr bool ofTheProgram = true;
    static AppDelegate* in(QMainWindow&)
    {
        return qobject_cast<AppDelegate*>(KPAppDelegate::current());
    }
};

// The window the menu is in.
template <>
struct CommandTarget<QWidget> {
    static constexpr bool ofTheProgram = true;
    static QWidget* in(QMainWindow& window) { return &window; }
};

namespace {

constexpr auto ctrl = Qt::CTRL;
using enum MenuId;

void fillOpenRecent(QMenu& menu)
{
    RecentDocuments::fillMenu(&menu, [](const QString& path) {
        if (auto* delegate = qobject_cast<AppDelegate*>(KPAppDelegate::current()))
            delegate->openDocumentFiles({path});
    });
}

} // namespace

const std::vector<Command>& programCommands()
{
    static const std::vector<Command> commands{
        {.id = "newDocument",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&New"),
         .keys = {QKeySequence::New, ctrl | Qt::Key_N},
         .places = {{File, 0, 0}},
         .call = on(&AppDelegate::newDocument)},
        {.id = "openDocument",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Open\u2026"),
         .keys = {QKeySequence::Open, ctrl | Qt::Key_O},
         .places = {{File, 0, 1}},
         .call = on(&AppDelegate::openDocument)},
        {.id = "closeWindow",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Close"),
         .keys = {QKeySequence::Close, ctrl | Qt::Key_W},
         .places = {{File, 2, 0}},
         .call = on(&QWidget::close)},
        {.id = "terminate",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Quit"),
         .keys = {QKeySequence::Quit, ctrl | Qt::Key_Q},
         .places = {{File, 3, 0}},
         .call = on(&AppDelegate::terminate),
         .role = QAction::QuitRole},

        {.id = "showPreferences",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "Pre&ferences\u2026"),
         .keys = {QKeySequence::Preferences, ctrl | Qt::Key_Comma},
         .places = {{Edit, 4, 0}},
         .call = on(&AppDelegate::showPreferences),
         .role = QAction::PreferencesRole},

        {.id = "showHelp",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "%1 &Help"),
         .keys = {QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1)},
         .places = {{Help, 0, 0}},
         .call = on(&AppDelegate::showHelp)},
        {.id = "showReadMe",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Read Me"),
         .places = {{Help, 0, 1}},
         .call = on(&KPAppDelegate::showReadMe)},
        {.id = "showProductHomePage",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "%1 &Web Page"),
         .places = {{Help, 1, 0}},
         .call = on(&KPAppDelegate::showProductHomePage)},
        {.id = "showQuillSoftwarePage",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Maker's Web Site"),
         .places = {{Help, 1, 1}},
         .call = on(&KPAppDelegate::showQuillSoftwarePage)},
        {.id = "sendQuillSoftwareEmail",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "Send &Feedback E-mail\u2026"),
         .places = {{Help, 1, 2}},
         .call = on(&KPAppDelegate::sendQuillSoftwareEmail)},
        {.id = "checkVersionNow",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&Check for New Version Now\u2026"),
         .places = {{Help, 2, 0}},
         .call = on(&KPAppDelegate::checkVersionNow),
         .available = versionCheckingAvailable},
        {.id = "automaticVersionChecking",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "A&utomatic Version Checking\u2026"),
         .places = {{Help, 2, 1}},
         .call = on(&KPAppDelegate::automaticVersionChecking),
         .available = versionCheckingAvailable},
        {.id = "showAbout",
         .context = "QObject",
         .title = QT_TRANSLATE_NOOP("QObject", "&About %1"),
         .places = {{Help, 3, 0}},
         .call = on(&KPAppDelegate::showAbout),
         .role = QAction::AboutRole},
    };
    return commands;
}

const std::vector<MenuDeclaration>& menuBarMenus()
{
    static const std::vector<MenuDeclaration> menus{
        {File, "fileMenu", "QObject", QT_TRANSLATE_NOOP("QObject", "&File"), {Bar, 0, 0}},
        {OpenRecent, "openRecentMenu", "QObject", QT_TRANSLATE_NOOP("QObject", "Open &Recent"),
         {File, 0, 2}, fillOpenRecent},
        {Edit, "editMenu", "QObject", QT_TRANSLATE_NOOP("QObject", "&Edit"), {Bar, 0, 1}},
        {View, "viewMenu", "gelcoat::DocumentCommands",
         QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&View"), {Bar, 0, 2}},
        {DestBackground, "destBackgroundMenu", "gelcoat::DocumentCommands",
         QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "Result Bac&kground"), {View, 2, 3}},
        {Presets, "presetsMenu", "gelcoat::DocumentCommands",
         QT_TRANSLATE_NOOP("gelcoat::DocumentCommands", "&Presets"), {Bar, 0, 3}},
        {Help, "helpMenu", "QObject", QT_TRANSLATE_NOOP("QObject", "&Help"), {Bar, 0, 4}},
    };
    return menus;
}

} // namespace gelcoat
