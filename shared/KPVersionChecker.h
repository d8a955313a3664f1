#pragma once
// Tells the user when a newer version of the application is published.  The
// version list is a Mac OS Roman text at "<web site>versions": one line per
// application, "<identifier> <version>".  Versions are numbers separated by
// dots, optionally followed by "b" and a beta number or "a" and an alpha
// number.  The answer to the offer of automatic checks is the QSettings
// string "YES" / "NO" under VersionCheckingEnabledDefaultsKey.
//
// The application calls checkForNewVersionUserRequested(false) once at
// start-up, checkForNewVersionUserRequested(true) from "Check for new version
// now" and askUserAboutAutomaticVersionCheck() from "Automatic version
// checking".  Waiting shows a progress panel after one second and gives up
// after 5 s (automatic) or 15 s (asked for); the download offer opens the
// product's page "<web site>software/<name>.html".

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

inline constexpr const char* VersionCheckingEnabledDefaultsKey = "DoVersionCheck";

class KPVersionListFetch;

// The product's page on the maker's web site, relative to the site:
// "software/<name>.html".
QString KPProductPagePath(const QString& applicationName);

class KPVersionChecker : public QObject {
    Q_OBJECT
public:
    // A longer list is refused as a failed fetch.
    static constexpr qint64 maximumListSize = 256 * 1024;

    static KPVersionChecker* sharedVersionChecker();

    void checkForNewVersionUserRequested(bool userRequested);
    void askUserAboutAutomaticVersionCheck();
    bool shouldDoAutomaticVersionCheckAskIfNecessary(bool ask);
    // No data (nullopt) is treated like a list without this application.
    void compareVersionWithVersionData(const std::optional<QByteArray>& data,
                                       bool tellUserNegativeResult);
    void flushCachedVersionData();
    void beginBackgroundCheckIfNecessary();

    // The version of the first line that starts with the identifier and holds
    // exactly one space; a null string when there is none.
    static QString versionStringFromFullString(const QString& text, const QString& bundleIdentifier);
    static bool webVersionIsLaterThanAppVersion(const QString& webVersion, const QString& appVersion);
    static QString decodeMacRoman(const QByteArray& bytes);

    // The maker's web site (the application identity's by default); tests
    // point it at a local server.  Drops the cached list.
    void setWebSite(const QUrl& site);
    QUrl versionListUrl() const;
    QUrl downloadPageUrl() const;

    // A check is waiting for the list (further requests are ignored then).
    bool isChecking() const;
    // The list is being loaded, by a check or in the background.
    bool isLoadingList() const;

    ~KPVersionChecker() override;

private:
    KPVersionChecker();
    QUrl pageOnWebSite(const QString& path) const;
    KPVersionListFetch& cachedFetch();
    void startFetch(KPVersionListFetch& fetch);
    // Waits for the fetch with a progress panel; false when the user stopped.
    bool waitForFetch(const QPointer<KPVersionListFetch>& fetch, double limit);
    void reportNetworkUnavailable(bool userRequested);
    void offerDownload(const QString& webVersion);

    std::optional<QUrl> webSite_;
    std::unique_ptr<KPVersionListFetch> fetch_;
    bool finishedLoading_ = true;
    bool waiting_ = false;
};
