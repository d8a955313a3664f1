#include "shared/KPVersionChecker.h"

#include "shared/KPAlertPanel.h"
#include "shared/KPApplicationDelegate.h"
#include "shared/KPLocalizedString.h"
#include "shared/KPLog.h"
#include "shared/KPProgressPanel.h"
#include "shared/KPVersionListFetch.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QSettings>
#include <QTimer>

namespace {

constexpr double userRequestedLimit = 15.0;
constexpr double automaticLimit = 5.0;
constexpr int waitTickMs = 50;

QString text(const char* key, const char* table = "VersionCheck")
{
    return KPTestLocalizedStringFromTable(QString::fromLatin1(key), QString::fromLatin1(table));
}

// The critical panel every failure of a check ends in.
void reportCheckFailure(const QString& message)
{
    KPRunCriticalAlertPanel(text("Version Check"), message, text("OK button", "Base"), QString(),
                            QString());
}

QNetworkAccessManager& network()
{
    static auto* manager = new QNetworkAccessManager;  // lives as long as the process
    return *manager;
}

} // namespace

KPVersionChecker* KPVersionChecker::sharedVersionChecker()
{
    static auto* checker = new KPVersionChecker;
    return checker;
}

KPVersionChecker::KPVersionChecker() = default;

KPVersionChecker::~KPVersionChecker() = default;

void KPVersionChecker::setWebSite(const QUrl& site)
{
    webSite_ = site;
    flushCachedVersionData();
}

QUrl KPVersionChecker::pageOnWebSite(const QString& path) const
{
    const QUrl site = webSite_ ? *webSite_ : QUrl(KPCurrentApplicationIdentity().webSite);
    // A broken site setting gives no address rather than a host-less one.
    if (!site.isValid() || site.host().isEmpty())
        return {};
    return site.resolved(QUrl(path));
}

QUrl KPVersionChecker::versionListUrl() const
{
    return pageOnWebSite(QStringLiteral("versions"));
}

QUrl KPVersionChecker::downloadPageUrl() const
{
    return pageOnWebSite(KPProductPagePath(KPCurrentApplicationName()));
}

KPVersionListFetch& KPVersionChecker::cachedFetch()
{
    const QUrl url = versionListUrl();
    if (!fetch_ || fetch_->url() != url) {
        fetch_ = std::make_unique<KPVersionListFetch>(network(), url, maximumListSize);
        // Only the fetch in the cache reports its end here: a dropped one is
        // gone with its signals and cannot end a later wait.
        connect(fetch_.get(), &KPVersionListFetch::finished, this,
                [this] { finishedLoading_ = true; });
    }
    return *fetch_;
}

void KPVersionChecker::flushCachedVersionData()
{
    fetch_.reset();
    finishedLoading_ = true;
}

void KPVersionChecker::startFetch(KPVersionListFetch& fetch)
{
    // A load already under way goes on; its end is awaited.
    finishedLoading_ = false;
    fetch.loadInBackground();
}

bool KPVersionChecker::isChecking() const
{
    return waiting_;
}

bool KPVersionChecker::isLoadingList() const
{
    return fetch_ && fetch_->status() == KPVersionListFetch::Status::LoadInProgress;
}

void KPVersionChecker::checkForNewVersionUserRequested(bool userRequested)
{
    // A check asked for while another waits would drop the list that wait
    // is loading; the first check answers both.
    if (waiting_)
        return;
    if (!userRequested) {
        if (!shouldDoAutomaticVersionCheckAskIfNecessary(true))
            return;
    } else {
        flushCachedVersionData();
    }

    QPointer<KPVersionListFetch> fetch = &cachedFetch();
    if (fetch->status() != KPVersionListFetch::Status::LoadSucceeded) {
        startFetch(*fetch);
        if (!waitForFetch(fetch, userRequested ? userRequestedLimit : automaticLimit))
            return;  // stopped by the user: nothing more to say
    }

    const auto status = fetch ? fetch->status() : KPVersionListFetch::Status::NotLoaded;
    if (status == KPVersionListFetch::Status::LoadSucceeded) {
        compareVersionWithVersionData(fetch->data(), userRequested);
        return;
    }
    reportNetworkUnavailable(userRequested);
}

bool KPVersionChecker::waitForFetch(const QPointer<KPVersionListFetch>& fetch, double limit)
{
    waiting_ = true;
    KPProgressPanel* panel = KPProgressPanel::progressPanelModalForWindow(
        nullptr, text("Version Check"), text("Checking for a new version..."), false);
    panel->setGiveTimeToRunLoop(true);
    panel->setThresholdTime(1.0);
    panel->startNewTask();

    // The wait sleeps in an event loop that the fetch's end or a tick wakes;
    // each tick gives the panel its time and checks the limit.
    bool cancelled = false;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(waitTickMs);
    auto checkWait = [&] {
        if (finishedLoading_ || !fetch) {
            loop.quit();
        } else if (panel->elapsedTime() < limit) {
            if (!panel->giveTime()) {
                cancelled = true;
                loop.quit();
            }
        } else {
            loop.quit();
        }
    };
    connect(&tick, &QTimer::timeout, &loop, checkWait);
    if (fetch)
        connect(fetch, &KPVersionListFetch::finished, &loop, &QEventLoop::quit);
    tick.start();
    checkWait();
    if (!finishedLoading_ && !cancelled && fetch)
        loop.exec();
    tick.stop();
    panel->finishAndRelease();
    waiting_ = false;
    return !cancelled;
}

void KPVersionChecker::reportNetworkUnavailable(bool userRequested)
{
    reportCheckFailure(userRequested
                           ? text("Version Check network unavailable error (short version)")
                           : text("Version Check network unavailable error (long version)"));
}

void KPVersionChecker::compareVersionWithVersionData(const std::optional<QByteArray>& data,
                                                     bool tellUserNegativeResult)
{
    const QString list = data ? decodeMacRoman(*data) : QString();
    const QString identifier = KPCurrentApplicationIdentifier();
    const QString name = KPCurrentApplicationName();
    const QString running = KPCurrentApplicationVersion();
    const QString published = versionStringFromFullString(list, identifier);

    if (published.isNull()) {
        const QString mail =
            QStringLiteral("mailto:") + KPCurrentApplicationIdentity().supportAddress
            + QStringLiteral("?subject=Version%20check%20error&body=No%20entry%20found%20for%20")
            + name + QStringLiteral("%20(") + identifier
            + QStringLiteral(").%0D%0DThis%20email%20was%20automatically%20generated.%0D%0D");
        const QUrl mailUrl(mail, QUrl::StrictMode);
        if (mailUrl.isValid()) {
            reportCheckFailure(text("Version Check info unavailable error (sending email)"));
            QDesktopServices::openUrl(mailUrl);
        } else {
            qCWarning(kpSharedLog, "mailURL didn't create from string:\n%s", qPrintable(mail));
            reportCheckFailure(text("Version Check info unavailable error"));
        }
        return;
    }

    if (webVersionIsLaterThanAppVersion(published, running)) {
        offerDownload(published);
    } else if (tellUserNegativeResult) {
        KPRunInformationalAlertPanel(text("Version Check"), text("Version Check up to date"),
                                     text("OK button", "Base"), QString(), QString(), name,
                                     running);
    }
}

void KPVersionChecker::offerDownload(const QString& webVersion)
{
    const int answer = KPRunAlertPanel(
        text("Version Check"), text("Version Check new version available"),
        text("Yes button", "Base"), text("No button", "Base"), QString(), KPCurrentApplicationName(),
        webVersion, KPCurrentApplicationVersion());
    if (answer != KPAlertDefaultReturn)
        return;
    const QUrl page = downloadPageUrl();
    if (!page.isValid() || !QDesktopServices::openUrl(page))
        reportCheckFailure(text("Version Check download failed error"));
}

bool KPVersionChecker::shouldDoAutomaticVersionCheckAskIfNecessary(bool ask)
{
    QSettings settings;
    // The answer, written through another QSettings, is visible here at once.
    if (!settings.contains(VersionCheckingEnabledDefaultsKey) && ask)
        askUserAboutAutomaticVersionCheck();
    return settings.value(VersionCheckingEnabledDefaultsKey).toString() == QLatin1String("YES");
}

void KPVersionChecker::askUserAboutAutomaticVersionCheck()
{
    const QString name = KPCurrentApplicationName();
    const int answer = KPRunCriticalAlertPanel(
        text("Version Check"), text("Version Check offer panel text"), text("Yes button", "Base"),
        text("No button", "Base"), QString(), name, name);
    QSettings settings;
    settings.setValue(VersionCheckingEnabledDefaultsKey,
                      answer == KPAlertDefaultReturn ? QStringLiteral("YES")
                                                     : QStringLiteral("NO"));
    settings.sync();
}

void KPVersionChecker::beginBackgroundCheckIfNecessary()
{
    if (!shouldDoAutomaticVersionCheckAskIfNecessary(false))
        return;
    KPVersionListFetch& fetch = cachedFetch();
    if (fetch.status() != KPVersionListFetch::Status::LoadSucceeded)
        startFetch(fetch);
}

QString KPProductPagePath(const QString& applicationName)
{
    return QStringLiteral("software/") + applicationName + QStringLiteral(".html");
}
