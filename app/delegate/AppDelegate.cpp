#include "app/delegate/AppDelegate.h"

#include "app/delegate/ManualPage.h"
#include "app/delegate/ProgramIdentity.h"
#include "app/delegate/SystemVersion.h"
#include "app/delegate/VersionCheckAvailability.h"
#include "app/documents/DocumentOpening.h"
#include "app/documents/OpenPanels.h"
#include "app/documents/RecentDocuments.h"
#include "window/documents/DocumentFileCommands.h"
#include "app/prefs/PrefsController.h"

#include "BuildSettings.h"
#include "shared/KPCocoaExtra.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QTimer>

namespace gelcoat {

AppDelegate::AppDelegate(QObject* parent) : KPAppDelegate(parent)
{
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AppDelegate::applicationWillTerminate);
}

void AppDelegate::setUpApplication()
{
    const KPApplicationIdentity& identity = programIdentity();
    KPSetApplicationIdentity(identity);
    QCoreApplication::setOrganizationName(identity.name);
    QCoreApplication::setApplicationName(identity.name);
    QCoreApplication::setApplicationVersion(identity.version);
    QGuiApplication::setApplicationDisplayName(identity.name);
    QGuiApplication::setDesktopFileName(identity.identifier);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/gelcoat.png")));
    qApp->setProperty(KPUIElementProperty, QString::fromUtf8(build::uiElement));
    QApplication::setQuitOnLastWindowClosed(true);
}

bool AppDelegate::applicationWillFinishLaunching()
{
    if (KPGetSystemVersion() >= requiredOSVersion)
        return true;
    KPRunCriticalAlertPanel(QString(),
                            QStringLiteral("Sorry, %@ requires Qt version %@ or later.  "
                                           "%@ will now quit."),
                            QStringLiteral("OK"), QString(), QString(), applicationName(),
                            requiredOSVersionString(), applicationName());
    return false;
}

bool AppDelegate::applicationShouldOpenUntitledFile() const
{
    return KPGetSystemVersion() >= requiredOSVersion;
}

void AppDelegate::applicationDidFinishLaunching()
{
    registerDefaults();
    if (versionCheckingAvailable())
        KPVersionChecker::sharedVersionChecker()->checkForNewVersionUserRequested(false);
}

QMap<QString, QString> AppDelegate::aboutURLDictionary() const
{
    return {{QStringLiteral("KPCircularSlider"),
             makerPage(QStringLiteral("software/CircularSlider.html")).toString()}};
}

void AppDelegate::setDocumentWindowFactory(DocumentWindowFactory factory)
{
    factory_ = std::move(factory);
}

void AppDelegate::newDocument()
{
    if (!factory_)
        return;
    if (QWidget* window = factory_(++untitledCount_))
        showDocumentWindow(window);
}

void AppDelegate::openDocument()
{
    const QStringList paths = runDocumentOpenPanel();
    if (!paths.isEmpty())
        openDocumentFiles(paths);
}

int AppDelegate::openDocumentFiles(const QStringList& paths)
{
    return gelcoat::openDocumentFiles(
        paths, [this](QWidget* window) { showDocumentWindow(window); },
        [this]() -> QWidget* { return factory_ ? factory_(++untitledCount_) : nullptr; });
}

void AppDelegate::showDocumentWindow(QWidget* window)
{
    if (auto* commands = DocumentFileCommands::of(window)) {
        connect(commands, &DocumentFileCommands::closeCancelled, this,
                &AppDelegate::cancelTerminate);
        connect(commands, &DocumentFileCommands::documentSaved, this,
                [](const QString& path) { RecentDocuments::add(path); });
    }
    connect(window, &QObject::destroyed, this, &AppDelegate::continueTerminate);
    // The window places itself: the saved frame, then a cascade.
    lastDocumentWindow_ = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::showHelp()
{
    QDesktopServices::openUrl(manualUrl(QCoreApplication::applicationDirPath(), makerPage()));
}

void AppDelegate::showPreferences()
{
    PrefsController::sharedPrefsController().showWindow();
}

void AppDelegate::terminate()
{
    if (!applicationShouldTerminate())
        return;
    terminating_ = true;
    // Windows of their own only: a sheet or dialog goes with its window, and
    // closing a question would answer it.
    QList<QPointer<QWidget>> closed;
    for (;;) {
        QWidget* next = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && !widget->parentWidget() &&
                widget->windowType() != Qt::Desktop && !closed.contains(widget)) {
                next = widget;
                break;
            }
        }
        if (!next)
            break;
        closed.append(next);
        if (!next->close())
            return;
    }
    terminating_ = false;
}

void AppDelegate::continueTerminate()
{
    if (terminating_)
        QTimer::singleShot(0, this, &AppDelegate::terminate);
}

} // namespace gelcoat
