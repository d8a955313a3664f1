// The version checker against a real HTTP server on 127.0.0.1: reading the
// list, comparing versions, every panel, the mail report, the download page,
// the cached list, time limits and the Stop button.

#include "shared/KPCocoaExtra.h"
#include "tests/qtsupport/FakeClock.h"
#include "tests/qtsupport/LocalHttpServer.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/TestDelegate.h"
#include "tests/qtsupport/TestSettings.h"
#include "tests/qtsupport/UrlCatcher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

// Clicks Stop on the progress panel once it is the active modal window.
class StopClicker : public QObject {
public:
    StopClicker()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* panel = activeModal<KPPanel>();
            auto* stop = panel ? panel->findChild<QPushButton*>() : nullptr;
            if (stop && !clicked) {
                clicked = true;
                stop->click();
            }
        });
        timer_.start(10);
    }
    bool clicked = false;

private:
    QTimer timer_;
};

} // namespace

class VersionCheckerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void versionComparison_data();
    void versionComparison();
    void findingTheApplicationsLine();
    void macRomanDecoding();

    void newerVersionOffersTheDownloadPage();
    void upToDateIsToldOnlyWhenAsked();
    void automaticCheckRespectsTheAnswer();
    void unansweredOfferIsAskedFirst();
    void missingLineStartsAnEmailReport();
    void unusableMailAddressIsLoggedInstead();
    void downloadPageThatCannotOpen();
    void unreachableListIsReported_data();
    void unreachableListIsReported();
    void silentServerEndsAtTheTimeLimit();
    void stopEndsTheWaitSilently();
    void listIsCachedUntilTheUserAsks();
    void staleFetchDoesNotEndANewWait();

private:
    KPVersionChecker* checker() { return KPVersionChecker::sharedVersionChecker(); }
    void setAnswer(const QVariant& value);

    TestDelegate delegate_;
    std::unique_ptr<LocalHttpServer> server_;
    std::unique_ptr<UrlCatcher> catcher_;
};

void VersionCheckerTest::initTestCase()
{
    useTemporarySettings();
    QCoreApplication::setOrganizationName("GelcoatTests");
    QCoreApplication::setApplicationName("VersionCheckerTest");
    delegate_.install();
    catcher_ = std::make_unique<UrlCatcher>(QStringList{"http", "https", "mailto"});
}

void VersionCheckerTest::cleanupTestCase()
{
    catcher_.reset();
}

void VersionCheckerTest::init()
{
    QSettings().clear();
    setAnswer("YES");
    server_ = std::make_unique<LocalHttpServer>();
    checker()->setWebSite(server_->baseUrl());
    catcher_->urls.clear();
    delegate_.name = "Gelcoat";
    delegate_.version = "2.0";
}

void VersionCheckerTest::cleanup()
{
    checker()->flushCachedVersionData();
    server_.reset();
}

void VersionCheckerTest::setAnswer(const QVariant& value)
{
    QSettings settings;
    if (value.isValid())
        settings.setValue(VersionCheckingEnabledDefaultsKey, value);
    else
        settings.remove(VersionCheckingEnabledDefaultsKey);
}

void VersionCheckerTest::versionComparison_data()
{
    QTest::addColumn<QString>("web");
    QTest::addColumn<QString>("app");
    QTest::addColumn<bool>("later");
    QTest::newRow("minor") << "2.1" << "2.0.9" << true;
    QTest::newRow("minor back") << "2.0.9" << "2.1" << false;
    QTest::newRow("more components") << "2.1.1" << "2.1" << true;
    QTest::newRow("fewer components") << "2.1" << "2.1.1" << false;
    QTest::newRow("release over beta") << "2.1" << "2.1b3" << true;
    QTest::newRow("beta under release") << "2.1b3" << "2.1" << false;
    QTest::newRow("beta over alpha") << "2.1b3" << "2.1a7" << true;
    QTest::newRow("alpha under beta") << "2.1a7" << "2.1b3" << false;
    QTest::newRow("later beta") << "2.1b4" << "2.1b3" << true;
    QTest::newRow("earlier beta") << "2.1b3" << "2.1b4" << false;
    QTest::newRow("same beta") << "2.1b3" << "2.1b3" << false;
    QTest::newRow("later alpha") << "3.0a2" << "3.0a1" << true;
    QTest::newRow("same alpha") << "3.0a1" << "3.0a1" << false;
    QTest::newRow("equal") << "2.1" << "2.1" << false;
    QTest::newRow("numbers not text") << "2.10" << "2.9" << true;
    QTest::newRow("junk reads 0") << "x.1" << "0.1" << false;
    QTest::newRow("empty") << "" << "1.0" << false;
    QTest::newRow("trailing return") << "2.1\r" << "2.1" << false;
    QTest::newRow("huge component") << "99999999999999999999.0" << "2147483646.0" << true;
}

void VersionCheckerTest::versionComparison()
{
    QFETCH(QString, web);
    QFETCH(QString, app);
    QFETCH(bool, later);
    QCOMPARE(KPVersionChecker::webVersionIsLaterThanAppVersion(web, app), later);
}

void VersionCheckerTest::findingTheApplicationsLine()
{
    const QString id = "org.example.gelcoat";
    auto find = [&](const QString& text) { return KPVersionChecker::versionStringFromFullString(text, id); };
    QCOMPARE(find("com.other 1.0\norg.example.gelcoat 2.1\n"), QString("2.1"));
    // Matched as a prefix: a longer identifier listed first wins.
    QCOMPARE(find("org.example.gelcoat.pro 3.0\norg.example.gelcoat 2.1"), QString("3.0"));
    // Two spaces or none: the line is skipped.
    QCOMPARE(find("org.example.gelcoat 2.1 beta\norg.example.gelcoat 2.2"), QString("2.2"));
    QVERIFY(find("org.example.gelcoat  2.1").isNull());
    QVERIFY(find("org.example.gelcoat2.1").isNull());
    QVERIFY(find("").isNull());
    QVERIFY(find(QString()).isNull());
    QCOMPARE(find("org.example.gelcoat 2.1\r\n"), QString("2.1\r"));
}

void VersionCheckerTest::macRomanDecoding()
{
    QCOMPARE(KPVersionChecker::decodeMacRoman(QByteArray("caf\x8e \xa5 \xd2x\xd3 \xf0 \xca.", 15)),
             QString::fromUtf8("café • “x” \uF8FF \u00A0."));
    QCOMPARE(KPVersionChecker::decodeMacRoman(QByteArray("\x80\xff", 2)), QString::fromUtf8("Äˇ"));
}

void VersionCheckerTest::newerVersionOffersTheDownloadPage()
{
    server_->serve(LocalHttpServer::Respond, "com.other 9.0\norg.example.gelcoat 2.1\n");
    ModalAnswerer answerer;
    answerer.answer("Yes");
    checker()->checkForNewVersionUserRequested(true);
    QCOMPARE(answerer.seen().size(), 1);
    const SeenPanel& offer = answerer.seen().first();
    QCOMPARE(offer.text, QString("Version Check"));
    QCOMPARE(offer.informativeText,
             KPFormat(KPTestLocalizedStringFromTable("Version Check new version available",
                                                     "VersionCheck"),
                      QString("Gelcoat"), QString("2.1"), QString("2.0")));
    QVERIFY(offer.informativeText.contains("(2.1)"));
    QCOMPARE(offer.buttons.size(), 2);
    QVERIFY(offer.buttons.contains("Yes") && offer.buttons.contains("No"));
    QCOMPARE(catcher_->urls, QList<QUrl>{server_->baseUrl().resolved(QUrl("software/Gelcoat.html"))});
    QCOMPARE(server_->paths(), QList<QByteArray>{"/versions"});

    answerer.answer("No");
    checker()->checkForNewVersionUserRequested(true);
    QCOMPARE(catcher_->urls.size(), 1);
    QCOMPARE(answerer.unexpectedCount(), 0);
}

void VersionCheckerTest::upToDateIsToldOnlyWhenAsked()
{
    server_->serve(LocalHttpServer::Respond, "org.example.gelcoat 2.0\n");
    ModalAnswerer answerer;
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(true);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Information);
    QCOMPARE(answerer.seen().first().informativeText, QString("Gelcoat 2.0 is the latest version."));

    checker()->flushCachedVersionData();
    checker()->checkForNewVersionUserRequested(false);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(server_->requestCount(), 2);
}

void VersionCheckerTest::automaticCheckRespectsTheAnswer()
{
    server_->serve(LocalHttpServer::Respond, "org.example.gelcoat 9.0\n");
    ModalAnswerer answerer;
    setAnswer("NO");
    checker()->checkForNewVersionUserRequested(false);
    checker()->beginBackgroundCheckIfNecessary();
    QVERIFY(!checker()->isLoadingList());
    QVERIFY(answerer.seen().isEmpty());
    QVERIFY(!checker()->shouldDoAutomaticVersionCheckAskIfNecessary(true));
    // Only the string "YES" switches it on.
    setAnswer(true);
    QVERIFY(!checker()->shouldDoAutomaticVersionCheckAskIfNecessary(true));
    QVERIFY(answerer.seen().isEmpty());

    // With "YES" the background fetch runs ahead, and the check uses it.
    setAnswer("YES");
    checker()->beginBackgroundCheckIfNecessary();
    QVERIFY(checker()->isLoadingList());
    QVERIFY(waitUntil([&] { return server_->requestCount() == 1; }));
    answerer.answer("No");
    checker()->checkForNewVersionUserRequested(false);
    QCOMPARE(server_->requestCount(), 1);
    QCOMPARE(answerer.seen().size(), 1);
    QVERIFY(answerer.seen().first().informativeText.contains("9.0"));
}

void VersionCheckerTest::unansweredOfferIsAskedFirst()
{
    server_->serve(LocalHttpServer::Respond, "org.example.gelcoat 2.0\n");
    setAnswer(QVariant());
    ModalAnswerer answerer;
    answerer.answer("No");
    checker()->checkForNewVersionUserRequested(false);
    QCOMPARE(answerer.seen().size(), 1);
    const SeenPanel& offer = answerer.seen().first();
    QCOMPARE(offer.icon, QMessageBox::Critical);
    QCOMPARE(offer.informativeText.count("Gelcoat"), 2);
    QCOMPARE(QSettings().value(VersionCheckingEnabledDefaultsKey).toString(), QString("NO"));
    QCOMPARE(server_->requestCount(), 0);

    // Stored as a string, at once, on disk.
    setAnswer(QVariant());
    answerer.answer("Yes");
    checker()->checkForNewVersionUserRequested(false);
    QSettings reread(QSettings().fileName(), QSettings::NativeFormat);
    QCOMPARE(reread.value(VersionCheckingEnabledDefaultsKey).toString(), QString("YES"));
    QCOMPARE(server_->requestCount(), 1);  // then checked, up to date: nothing said
    QCOMPARE(answerer.seen().size(), 2);

    answerer.answer("No");
    checker()->askUserAboutAutomaticVersionCheck();
    QCOMPARE(QSettings().value(VersionCheckingEnabledDefaultsKey).toString(), QString("NO"));
    QCOMPARE(answerer.unexpectedCount(), 0);
}

void VersionCheckerTest::missingLineStartsAnEmailReport()
{
    // The only line for this application has two spaces.
    server_->serve(LocalHttpServer::Respond, "com.other 1.0\norg.example.gelcoat 2.1 final\n");
    ModalAnswerer answerer;
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(false);  // whether asked for or not
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
    QCOMPARE(answerer.seen().first().informativeText,
             KPTestLocalizedStringFromTable("Version Check info unavailable error (sending email)",
                                            "VersionCheck"));
    QCOMPARE(catcher_->urls.size(), 1);
    QCOMPARE(catcher_->urls.first().toString(QUrl::FullyEncoded),
             QString("mailto:support@example.org?subject=Version%20check%20error&body=No%20entry%20"
                     "found%20for%20Gelcoat%20(org.example.gelcoat).%0D%0DThis%20email%20was%20"
                     "automatically%20generated.%0D%0D"));

    // An empty list, and no data at all, read the same way.
    answerer.answer("OK");
    checker()->compareVersionWithVersionData(QByteArray(), false);
    answerer.answer("OK");
    checker()->compareVersionWithVersionData(std::nullopt, false);
    // Bytes that are no text at all.
    answerer.answer("OK");
    checker()->compareVersionWithVersionData(QByteArray("\x00\xff\n\x00org.example.gelcoat\x00", 24),
                                             true);
    QCOMPARE(catcher_->urls.size(), 4);
    QCOMPARE(answerer.unexpectedCount(), 0);
}

void VersionCheckerTest::unusableMailAddressIsLoggedInstead()
{
    delegate_.name = "Gel coat";  // a space cannot stand in the address
    ModalAnswerer answerer;
    answerer.answer("OK");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^mailURL didn't create from string:\nmailto:"));
    checker()->compareVersionWithVersionData(QByteArray("com.other 1.0"), true);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().informativeText,
             KPTestLocalizedStringFromTable("Version Check info unavailable error", "VersionCheck"));
    QVERIFY(catcher_->urls.isEmpty());
}

void VersionCheckerTest::downloadPageThatCannotOpen()
{
    checker()->setWebSite(QUrl("http://bad host/"));
    ModalAnswerer answerer;
    answerer.answer("Yes");
    answerer.answer("OK");
    checker()->compareVersionWithVersionData(QByteArray("org.example.gelcoat 3.0\n"), true);
    QCOMPARE(answerer.seen().size(), 2);
    QCOMPARE(answerer.seen()[1].informativeText,
             KPTestLocalizedStringFromTable("Version Check download failed error", "VersionCheck"));
    QVERIFY(catcher_->urls.isEmpty());

    // Nor is the list fetched from such a site.
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(true);
    QCOMPARE(answerer.seen().size(), 3);
    QCOMPARE(answerer.seen()[2].informativeText,
             KPTestLocalizedStringFromTable(
                 "Version Check network unavailable error (short version)", "VersionCheck"));
}

void VersionCheckerTest::unreachableListIsReported_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<bool>("userRequested");
    QTest::newRow("refused, asked") << -1 << true;
    QTest::newRow("refused, automatic") << -1 << false;
    QTest::newRow("garbage") << int(LocalHttpServer::Garbage) << true;
    QTest::newRow("not found") << int(LocalHttpServer::NotFound) << false;
    QTest::newRow("huge body") << int(LocalHttpServer::HugeBody) << true;
}

void VersionCheckerTest::unreachableListIsReported()
{
    QFETCH(int, behaviour);
    QFETCH(bool, userRequested);
    if (behaviour < 0)
        server_->refuse();
    else
        server_->serve(LocalHttpServer::Behaviour(behaviour), "org.example.gelcoat 9.0\n");
    if (behaviour == LocalHttpServer::HugeBody)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Version list at .* is larger than"));
    ModalAnswerer answerer;
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(userRequested);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().icon, QMessageBox::Critical);
    QCOMPARE(answerer.seen().first().text, QString("Version Check"));
    QCOMPARE(answerer.seen().first().informativeText,
             KPTestLocalizedStringFromTable(
                 userRequested ? "Version Check network unavailable error (short version)"
                               : "Version Check network unavailable error (long version)",
                 "VersionCheck"));
    QCOMPARE(answerer.unexpectedCount(), 0);
}

void VersionCheckerTest::silentServerEndsAtTheTimeLimit()
{
    server_->serve(LocalHttpServer::NeverAnswer);
    FakeClock clock(20.0);  // the 5-second limit passes in a quarter of a second
    ModalAnswerer answerer;
    answerer.answer("OK");
    bool progressShown = false;
    bool secondCheckReturned = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto* panel = activeModal<KPPanel>();
        if (panel && panel->findChild<QPushButton*>()) {
            progressShown = true;
            // A check asked for meanwhile leaves this one waiting.
            checker()->checkForNewVersionUserRequested(true);
            secondCheckReturned = true;
        }
    });
    watcher.start(5);
    QElapsedTimer real;
    real.start();
    const double started = clock.now();
    checker()->checkForNewVersionUserRequested(false);
    QVERIFY(real.elapsed() < 3000);
    QVERIFY(clock.now() - started >= 5.0);
    QVERIFY(clock.now() - started < 8.0);
    QVERIFY(progressShown);
    QVERIFY(secondCheckReturned);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().informativeText,
             KPTestLocalizedStringFromTable(
                 "Version Check network unavailable error (long version)", "VersionCheck"));
    QCOMPARE(server_->requestCount(), 1);
    QVERIFY(!checker()->isChecking());
}

void VersionCheckerTest::stopEndsTheWaitSilently()
{
    server_->serve(LocalHttpServer::NeverAnswer);
    FakeClock clock(4.0);
    ModalAnswerer answerer;
    StopClicker stopper;
    QElapsedTimer real;
    real.start();
    checker()->checkForNewVersionUserRequested(true);
    QVERIFY(stopper.clicked);
    QVERIFY(real.elapsed() < 2000);  // the 15-second limit would take 3.75 s
    QVERIFY(answerer.seen().isEmpty());
}

void VersionCheckerTest::listIsCachedUntilTheUserAsks()
{
    server_->serve(LocalHttpServer::Respond, "org.example.gelcoat 2.0\n");
    ModalAnswerer answerer;
    checker()->checkForNewVersionUserRequested(false);
    checker()->checkForNewVersionUserRequested(false);
    QCOMPARE(server_->requestCount(), 1);
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(true);
    QCOMPARE(server_->requestCount(), 2);
    // A failed fetch is not kept: the next check tries again.
    server_->serve(LocalHttpServer::NotFound);
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(true);
    answerer.answer("OK");
    checker()->checkForNewVersionUserRequested(false);
    QCOMPARE(server_->requestCount(), 4);
    QCOMPARE(answerer.unexpectedCount(), 0);
}

void VersionCheckerTest::staleFetchDoesNotEndANewWait()
{
    // The background fetch would answer after 0.3 s; the check the user asks
    // for meanwhile fetches anew and must wait for its own answer.
    server_->delayMs = 300;
    server_->queue(LocalHttpServer::RespondLater, "org.example.gelcoat 9.0\n");
    server_->serve(LocalHttpServer::NeverAnswer);
    checker()->beginBackgroundCheckIfNecessary();
    QVERIFY(waitUntil([&] { return server_->requestCount() == 1; }));
    FakeClock clock(15.0);  // the 15-second limit passes after one real second
    ModalAnswerer answerer;
    answerer.answer("OK");
    QElapsedTimer real;
    real.start();
    checker()->checkForNewVersionUserRequested(true);
    QVERIFY(real.elapsed() >= 800);
    QCOMPARE(server_->requestCount(), 2);
    QCOMPARE(answerer.seen().size(), 1);
    QCOMPARE(answerer.seen().first().informativeText,
             KPTestLocalizedStringFromTable(
                 "Version Check network unavailable error (short version)", "VersionCheck"));
}

QTEST_MAIN(VersionCheckerTest)
#include "tst_VersionChecker.moc"
