// The application delegate: the start-up platform check, deferred
// activation, the identity and the web, mail and read-me commands.

#include "tests/app/AppTestSupport.h"
#include "tests/qtsupport/FakeClock.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/UrlCatcher.h"

#include "app/delegate/AppDelegate.h"
#include "app/delegate/ManualPage.h"
#include "app/delegate/ReadMePage.h"
#include "app/delegate/SystemVersion.h"
#include "app/menus/MenuBuilder.h"

#include "BuildSettings.h"
#include "shared/KPCocoaExtra.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using namespace gelcoat;

namespace {

// The schemes the delegate's commands open.
const QStringList openedSchemes{QStringLiteral("http"), QStringLiteral("https"),
                                QStringLiteral("mailto"), QStringLiteral("file")};

// Counts how often its slots run.  newDocument shares its name with the
// delegate's own command.
class Counter : public QObject {
    Q_OBJECT
public:
    int count = 0;
public slots:
    void hit() { ++count; }
    void newDocument() { ++count; }
};

// A delegate that forgets to supply its about links.
class ForgetfulDelegate : public KPAppDelegate {
    Q_OBJECT
};

QString site()
{
    return QString::fromUtf8(build::makerWebSite);
}

} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        startWithCleanSettings();
    }

    void cleanup() { setSystemVersionSourceForTesting({}); }

    void versionTextsBecomeNumbers()
    {
        QCOMPARE(versionNumberFromString(QStringLiteral("6.4.0")), 0x060400);
        QCOMPARE(versionNumberFromString(QStringLiteral("6.4.2")), 0x060402);
        QCOMPARE(versionNumberFromString(QStringLiteral("6.10")), 0x060a00);
        QCOMPARE(versionNumberFromString(QStringLiteral("7")), 0x070000);
        for (const char* bad : {"", "6.x", "6.4.2.1", "6..4", "6.256", "-6.4", "six"})
            QCOMPARE(versionNumberFromString(QString::fromLatin1(bad)), 0);
        // The running Qt passes the check the program makes.
        QVERIFY(KPGetSystemVersion() >= AppDelegate::requiredOSVersion);
    }

    void theQtVersionIsChecked_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("too old") << QStringLiteral("6.3.9") << false;
        QTest::newRow("the required version itself") << QStringLiteral("6.4") << true;
    }

    void theQtVersionIsChecked()
    {
        QFETCH(QString, running);
        QFETCH(bool, accepted);
        setSystemVersionSourceForTesting([running] { return running; });
        AppDelegate delegate;
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("OK"), [](QMessageBox* box) {
            saveScreenshot(box, QStringLiteral("critical-alert-with-icon"));
        });
        QCOMPARE(delegate.applicationWillFinishLaunching(), accepted);
        QCOMPARE(delegate.applicationShouldOpenUntitledFile(), accepted);
        QTest::qWait(30);
        QCOMPARE(answerer.seen().size(), accepted ? 0 : 1);
        if (accepted)
            return;
        const SeenPanel& panel = answerer.seen().first();
        QCOMPARE(panel.text, QStringLiteral("Sorry, %1 requires Qt version 6.4 or later.  "
                                            "%1 will now quit.")
                                 .arg(QString::fromUtf8(build::applicationName)));
        QCOMPARE(panel.buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(panel.icon, QMessageBox::Critical);
    }

    void anUnreadableVersionCountsAsTooOldAndIsAskedAgain()
    {
        int asked = 0;
        setSystemVersionSourceForTesting([&asked] {
            ++asked;
            return asked == 1 ? QStringLiteral("garbage") : QStringLiteral("6.4.0");
        });
        QCOMPARE(KPGetSystemVersion(), 0);
        QCOMPARE(KPGetSystemVersion(), 0x060400);
        QCOMPARE(KPGetSystemVersion(), 0x060400);
        QCOMPARE(asked, 2);
    }

    void theDelegateRecordsItself()
    {
        {
            AppDelegate delegate;
            QCOMPARE(KPApplicationDelegate, &delegate);
            QCOMPARE(KPAppDelegate::current(), &delegate);
        }
        QVERIFY(!KPApplicationDelegate);
    }

    void activationRunsTheActionOnce_data()
    {
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("activationFirst");
        QTest::newRow("already active: at once") << true << false;
        QTest::newRow("activation before the fallback") << false << true;
        QTest::newRow("fallback timer alone") << false << false;
    }

    void activationRunsTheActionOnce()
    {
        QFETCH(bool, active);
        QFETCH(bool, activationFirst);
        FakeClock clock;
        AppDelegate delegate;
        delegate.setActiveQueryForTesting([active] { return active; });
        Counter counter;
        delegate.activateAndPerformSelector("hit", &counter);
        QCOMPARE(counter.count, active ? 1 : 0);
        if (activationFirst) {
            delegate.applicationDidBecomeActive();
            QCOMPARE(counter.count, 1);
        }
        // The fallback waits a tenth of a second, no less.
        clock.advance(0.09);
        QCOMPARE(counter.count, active || activationFirst ? 1 : 0);
        clock.advance(0.02);
        QCOMPARE(counter.count, 1);
        clock.advance(1);
        QCOMPARE(counter.count, 1);
        delegate.serviceActivationSelector();
        QCOMPARE(counter.count, 1);
    }

    void aTargetGoneWhileWaitingIsNotCalled()
    {
        // The member is not run at all: not on the gone target, nor on the
        // delegate in its place (which would make a window, or warn).
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        FakeClock clock;
        AppDelegate delegate;
        int windowsMade = 0;
        delegate.setDocumentWindowFactory([&windowsMade](int) -> QWidget* {
            ++windowsMade;
            return nullptr;
        });
        delegate.setActiveQueryForTesting([] { return false; });
        for (const char* member : {"newDocument", "hit"}) {
            auto* counter = new Counter;
            delegate.activateAndPerformSelector(member, counter);
            delete counter;
            delegate.applicationDidBecomeActive();
        }
        clock.advance(1);
        QCOMPARE(windowsMade, 0);
    }

    void floatingPanelsGoThroughActivation()
    {
        AppDelegate delegate;
        delegate.setActiveQueryForTesting([] { return false; });
        qApp->setProperty(KPUIElementProperty, QStringLiteral("1"));
        KPRealFloatingPanel::resetFloatingPanelDecisionForTesting();
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("Yes"));
        delegate.automaticVersionChecking();
        // Deferred: nothing asked until the program counts as active.
        QCOMPARE(answerer.seen().size(), 0);
        delegate.applicationDidBecomeActive();
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(answerer.seen().first().floating);
        QCOMPARE(QSettings().value(QStringLiteral("DoVersionCheck")).toString(),
                 QStringLiteral("YES"));

        qApp->setProperty(KPUIElementProperty, QStringLiteral("0"));
        KPRealFloatingPanel::resetFloatingPanelDecisionForTesting();
        answerer.answer(QStringLiteral("No"));
        delegate.automaticVersionChecking(); // at once, not deferred
        QCOMPARE(answerer.seen().size(), 2);
        QVERIFY(!answerer.seen().last().floating);
        QCOMPARE(QSettings().value(QStringLiteral("DoVersionCheck")).toString(),
                 QStringLiteral("NO"));
        QCOMPARE(answerer.unexpectedCount(), 0);
    }

    void launchingWithChecksOffAsksNothing()
    {
        AppDelegate delegate;
        ModalAnswerer answerer;
        delegate.applicationDidFinishLaunching();
        QTest::qWait(50);
        QCOMPARE(answerer.seen().size(), 0);
    }

    void versionChecksNeedARealWebSite_data()
    {
        QTest::addColumn<QString>("webSite");
        QTest::addColumn<bool>("checks");
        QTest::newRow("the build's placeholder") << QStringLiteral("https://www.example.org/") << false;
        QTest::newRow("another example name") << QStringLiteral("http://Shop.EXAMPLE.com/") << false;
        QTest::newRow("a test domain") << QStringLiteral("https://gelcoat.test/") << false;
        QTest::newRow("not a web address") << QStringLiteral("www.gelcoat.org") << false;
        // A real site (the port refuses at once, should anything connect).
        QTest::newRow("a real site") << QStringLiteral("http://127.0.0.1:9/") << true;
        QTest::newRow("a site that merely mentions example")
            << QStringLiteral("https://example.org.gelcoat.net/") << true;
    }

    void versionChecksNeedARealWebSite()
    {
        QFETCH(QString, webSite);
        QFETCH(bool, checks);
        // The delegate hands over the build's identity; the site is replaced after.
        AppDelegate delegate;
        KPApplicationIdentity identity = KPCurrentApplicationIdentity();
        identity.webSite = webSite;
        KPSetApplicationIdentity(identity);
        QSettings().remove(QStringLiteral("DoVersionCheck"));

        // The first start asks about automatic checks only when there is a
        // version list to read.
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("No"));
        delegate.applicationDidFinishLaunching();
        QTest::qWait(50);
        QCOMPARE(answerer.seen().size(), checks ? 1 : 0);
        QCOMPARE(QSettings().contains(QStringLiteral("DoVersionCheck")), checks);

        QMainWindow window;
        MenuBuilder::install(window);
        QCOMPARE(window.findChild<QAction*>(QStringLiteral("checkVersionNow")) != nullptr, checks);
        QCOMPARE(window.findChild<QAction*>(QStringLiteral("automaticVersionChecking")) != nullptr,
                 checks);

        AppDelegate::setUpApplication();
        QSettings().setValue(QStringLiteral("DoVersionCheck"), QStringLiteral("NO"));
    }

    void webAndMailCommandsOpenTheirAddresses()
    {
        AppDelegate delegate;
        UrlCatcher catcher(openedSchemes);
        delegate.showHelp();
        delegate.showProductHomePage();
        delegate.showQuillSoftwarePage();
        delegate.sendQuillSoftwareEmail();
        const QString name = QString::fromUtf8(build::applicationName);
        QCOMPARE(catcher.urls.size(), 4);
        // The build folder holds the manual beside its programs, as an install does.
        QVERIFY(catcher.urls[0].isLocalFile());
        QVERIFY(catcher.urls[0].path().endsWith(QStringLiteral("/gelcoat/manual/GelcoatManual.html")));
        QVERIFY(QFileInfo(catcher.urls[0].toLocalFile()).isFile());
        QCOMPARE(catcher.urls[1].toString(), site() + QStringLiteral("software/%1.html").arg(name));
        QCOMPARE(catcher.urls[2].toString(), site());
        // The subject: the name, an encoded space, the version.
        QCOMPARE(catcher.urls[3].toString(QUrl::FullyEncoded),
                 QStringLiteral("mailto:") + QString::fromUtf8(build::supportAddress) +
                     QStringLiteral("?subject=") + name + QStringLiteral("%20") +
                     QString::fromUtf8(build::applicationVersion));
    }

    void helpOpensTheManualInstalledBesideTheProgram()
    {
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        const QUrl web = manualUrl(bin, QUrl(site()));
        QCOMPARE(web.toString(), site() + QStringLiteral("software/GelcoatManual.html"));

        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/gelcoat/manual")));
        QFile page(prefix.filePath(QStringLiteral("share/gelcoat/manual/GelcoatManual.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        QCOMPARE(manualUrl(bin, QUrl(site())),
                 QUrl::fromLocalFile(QFileInfo(page.fileName()).canonicalFilePath()));
    }

    void aboutLinksAndTheirAbsence()
    {
        AppDelegate delegate;
        const QMap<QString, QString> urls = delegate.aboutURLDictionary();
        QCOMPARE(urls.size(), 1);
        QCOMPARE(urls.value(QStringLiteral("KPCircularSlider")),
                 site() + QStringLiteral("software/CircularSlider.html"));

        ForgetfulDelegate forgetful;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, forgetful.aboutURLDictionary());
        QTest::ignoreMessage(QtWarningMsg, "-aboutURLDictionary must be overriden in AppDelegate");
        forgetful.activeShowAbout();
        QVERIFY(!KPAboutPanel::currentAboutPanel());
    }

    void aboutCommandShowsOnePanel()
    {
        AppDelegate delegate;
        delegate.showAbout();
        KPPanel* panel = KPAboutPanel::currentAboutPanel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        saveScreenshot(panel, QStringLiteral("about-panel"));
        delegate.showAbout();
        QCOMPARE(KPAboutPanel::currentAboutPanel(), panel);
        panel->close();
        QTRY_VERIFY(!KPAboutPanel::currentAboutPanel());
    }

    void readMeIsCopiedToAFileOnce()
    {
        QTemporaryDir dir;
        const QString path = readMePagePath(dir.path());
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QFile resource(QString::fromLatin1(readMeResource));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), resource.readAll());
        // Dated long ago, so that a second copy could not go unseen.
        const QDateTime written = QDateTime::fromSecsSinceEpoch(1700000000);
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
        file.close();
        QCOMPARE(readMePagePath(dir.path()), path);
        QCOMPARE(QFileInfo(path).lastModified(), written);

        // A folder that cannot be made: no path, a log line, no crash.
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write the read-me page"));
        QVERIFY(readMePagePath(dir.filePath(QStringLiteral("blocker/sub"))).isEmpty());

        AppDelegate delegate;
        UrlCatcher catcher(openedSchemes);
        delegate.showReadMe();
        QCOMPARE(catcher.urls.size(), 1);
        QVERIFY(catcher.urls[0].isLocalFile());
        QVERIFY(QFile::exists(catcher.urls[0].toLocalFile()));
    }
};

QTEST_MAIN(AppDelegateTest)
#include "tst_AppDelegate.moc"
