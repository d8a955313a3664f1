#include "delegate/AppDelegate.h"

#include "delegate/ProgramIdentity.h"
#include "delegate/SystemVersion.h"
#include "prefs/PrefsController.h"

#include "BuildSettings.h"
#include "KPCocoaExtra.h"

#include <QApplication>
#include <QDesktopServices>
#include <QIcon>

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
    QWidget* window = factory_(++untitledCount_);
    if (!window)
        return;
    // The window places itself: the saved frame, then a cascade.
    lastDocumentWindow_ = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::showHelp()
{
    QDesktopServices::openUrl(makerPage(QStringLiteral("software/GelcoatManual.html")));
}

void AppDelegate::showPreferences()
{
    PrefsController::sharedPrefsController().showWindow();
}

void AppDelegate::terminate()
{
    if (applicationShouldTerminate())
        QApplication::closeAllWindows();
}

} // namespace gelcoat
