#include "app/delegate/KPAppDelegate.h"

#include "app/delegate/AppLog.h"
#include "app/delegate/ProgramIdentity.h"
#include "app/delegate/ReadMePage.h"

#include "shared/KPClock.h"
#include "shared/KPCocoaExtra.h"

#include <QDesktopServices>
#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <stdexcept>

namespace gelcoat {

namespace {
constexpr double kActivationFallbackSeconds = 0.1;
} // namespace

KPAppDelegate::KPAppDelegate(QObject* parent) : QObject(parent)
{
    KPSetApplicationIdentity(programIdentity());
    KPApplicationDelegate = this;
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    applicationDidBecomeActive();
            });
}

KPAppDelegate::~KPAppDelegate()
{
    if (KPApplicationDelegate == this)
        KPApplicationDelegate = nullptr;
}

KPAppDelegate* KPAppDelegate::current()
{
    return dynamic_cast<KPAppDelegate*>(KPApplicationDelegate);
}

QString KPAppDelegate::applicationName() const
{
    return programIdentity().name;
}

QString KPAppDelegate::applicationVersion() const
{
    return programIdentity().version;
}

QString KPAppDelegate::applicationBundleIdentifier() const
{
    return programIdentity().identifier;
}

QMap<QString, QString> KPAppDelegate::aboutURLDictionary() const
{
    static const char* const message = "-aboutURLDictionary must be overriden in AppDelegate";
    qCWarning(lcApp, "%s", message);
    throw std::logic_error(message);
}

QString KPAppDelegate::supportEmailURL() const
{
    return KPFormat(QStringLiteral("mailto:") + programIdentity().supportAddress +
                        QStringLiteral("?subject=%@%%20%@"),
                    applicationName(), applicationVersion());
}

QUrl KPAppDelegate::makerPage(const QString& path)
{
    return QUrl(programIdentity().webSite).resolved(QUrl(path));
}

void KPAppDelegate::setActiveQueryForTesting(std::function<bool()> query)
{
    activeQuery_ = std::move(query);
}

bool KPAppDelegate::isActive() const
{
    if (activeQuery_)
        return activeQuery_();
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void KPAppDelegate::perform(const char* member, QObject* target)
{
    QMetaObject::invokeMethod(target ? target : this, member);
}

void KPAppDelegate::setActivationSelector(const char* member, QObject* target)
{
    pendingMember_ = member ? QByteArray(member) : QByteArray();
    pendingTarget_ = target;
    pendingHasTarget_ = target != nullptr;
}

void KPAppDelegate::activateAndPerformSelector(const char* member, QObject* target)
{
    if (isActive()) {
        perform(member, target);
        return;
    }
    setActivationSelector(member, target);
    // Bring the program forward: its active window, else its first window.
    QWidget* window = QApplication::activeWindow();
    if (!window)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) {
                window = w;
                break;
            }
    if (window) {
        window->raise();
        window->activateWindow();
    }
    KPClock::singleShot(kActivationFallbackSeconds, this, [this] { serviceActivationSelector(); });
}

void KPAppDelegate::serviceActivationSelector()
{
    if (pendingMember_.isEmpty())
        return;
    const QByteArray member = pendingMember_;
    QPointer<QObject> target = pendingTarget_;
    const bool hadTarget = pendingHasTarget_;
    setActivationSelector(nullptr, nullptr);
    if (hadTarget && !target)
        return; // the target went away while waiting
    perform(member.constData(), target);
}

void KPAppDelegate::applicationDidBecomeActive()
{
    serviceActivationSelector();
}

void KPAppDelegate::runMenuCommand(const char* member)
{
    if (KPRealFloatingPanel::KPShouldUseFloatingPanels()) {
        if (KPAppDelegate* delegate = current())
            delegate->activateAndPerformSelector(member, this);
    } else {
        perform(member, this);
    }
}

void KPAppDelegate::showAbout()
{
    runMenuCommand("activeShowAbout");
}

void KPAppDelegate::checkVersionNow()
{
    runMenuCommand("activeCheckVersionNow");
}

void KPAppDelegate::automaticVersionChecking()
{
    runMenuCommand("activeAutomaticVersionChecking");
}

void KPAppDelegate::activeShowAbout()
{
    QMap<QString, QString> urls;
    try {
        urls = aboutURLDictionary();
    } catch (const std::logic_error&) {
        return; // logged where it was raised; no panel
    }
    KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(urls);
}

void KPAppDelegate::activeCheckVersionNow()
{
    KPVersionChecker::sharedVersionChecker()->checkForNewVersionUserRequested(true);
}

void KPAppDelegate::activeAutomaticVersionChecking()
{
    KPVersionChecker::sharedVersionChecker()->askUserAboutAutomaticVersionCheck();
}

void KPAppDelegate::showReadMe()
{
    const QString path = readMePagePath();
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void KPAppDelegate::showProductHomePage()
{
    QDesktopServices::openUrl(makerPage(KPProductPagePath(applicationName())));
}

void KPAppDelegate::showQuillSoftwarePage()
{
    QDesktopServices::openUrl(makerPage());
}

void KPAppDelegate::sendQuillSoftwareEmail()
{
    QDesktopServices::openUrl(QUrl(supportEmailURL()));
}

} // namespace gelcoat
