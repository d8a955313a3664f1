// The about panel: its size rules, its texts and links, and that at most
// one is open.

#include "shared/KPCocoaExtra.h"
#include "tests/qtsupport/Screenshot.h"
#include "tests/qtsupport/TestDelegate.h"
#include "tests/qtsupport/TestSettings.h"
#include "tests/qtsupport/UrlCatcher.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

namespace {

QString anchorAt(QTextBrowser* view, int position)
{
    QTextCursor cursor(view->document());
    cursor.setPosition(position);
    return cursor.charFormat().anchorHref();
}

} // namespace

class AboutPanelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sizeRules();
    void panelWidthFollowsItsTexts_data();
    void panelWidthFollowsItsTexts();
    void textsAndLinks();
    void onlyOneOpenAtATime();
    void screenshot();

private:
    TestDelegate delegate_{"Gelcoat", "1.2b3"};
    const KPURLDictionary links_{{"KPCircularSlider", "https://www.example.org/software/CircularSlider.html"}};
};

void AboutPanelTest::initTestCase()
{
    useTemporarySettings();
    delegate_.install();
    QPixmap icon(128, 128);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(60, 130, 230));
        painter.drawEllipse(8, 8, 112, 112);
    }
    QApplication::setWindowIcon(QIcon(icon));
}

void AboutPanelTest::sizeRules()
{
    KPAboutPanelMetrics shortTexts{60, 50, 100, 90, 200, 0};
    QCOMPARE(KPAboutPanelSize(shortTexts).width(), 500);
    KPAboutPanelMetrics longNotice{60, 50, 100, 90, 600, 0};
    QCOMPARE(KPAboutPanelSize(longNotice).width(), 670);
    KPAboutPanelMetrics body{60, 50, 100, 90, 200, 100};
    QCOMPARE(KPAboutPanelSize(body).height(), 293);
    // Wide columns: 195 (180.6 + 15, truncated) + 335 + 164 across, and
    // 104 + 188 high.
    KPAboutPanelMetrics columns{180.6, 20, 320.9, 10, 100, 99.9};
    QCOMPARE(KPAboutPanelSize(columns), QSize(694, 292));
    KPAboutPanelMetrics notice{180.6, 20, 320.9, 10, 700.5, 0};
    QCOMPARE(KPAboutPanelSize(notice).width(), 770);
}

void AboutPanelTest::panelWidthFollowsItsTexts_data()
{
    // In DejaVu Sans Mono every glyph advances 1233/2048 em, which FreeType
    // keeps in 64ths of a pixel: 924/64 px at 24 px, 500/64 at 13 px and
    // 423/64 at 11 px.  The credit line "A. Tester (support@example.org)"
    // and the web line "Visit www.example.org for more!" have 31 glyphs:
    // 204.9 px, so the right column is 219.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<int>("width");
    // Name 101.1 px and "Version 1.0" 85.9: 116 + 219 + 164 = 499.
    QTest::newRow("short texts keep the minimum") << "Gelcoat" << "Notice" << 500;
    // 40 glyphs: 577.5 + 15 = 592; 592 + 219 + 164.
    QTest::newRow("a long name widens it") << QString(40, u'N') << "Notice" << 975;
    // 100 glyphs: 660.9 + 70.
    QTest::newRow("a long notice widens it") << "Gelcoat" << QString(100, u'c') << 730;
}

void AboutPanelTest::panelWidthFollowsItsTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, notice);
    QFETCH(int, width);
    const QFont applicationFont = QGuiApplication::font();
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(QFontInfo(mono).family(), QStringLiteral("DejaVu Sans Mono"));
    QGuiApplication::setFont(mono);
    KPApplicationIdentity identity = testIdentity();
    identity.noticeLine = notice;
    KPSetApplicationIdentity(identity);

    KPPanel* panel = KPAboutPanel::standardKPAboutPanelForAppName(name, "1.0", QPixmap(), links_);
    QGuiApplication::setFont(applicationFont);
    KPSetApplicationIdentity(testIdentity());
    QCOMPARE(panel->width(), width);
    // The body fills the blue band's width and shows all its text.
    auto* body = panel->findChild<QTextBrowser*>("body");
    QCOMPARE(body->width(), width - 40);
    QVERIFY(body->document()->size().height() <= body->height());
    delete panel;
}

void AboutPanelTest::textsAndLinks()
{
    KPPanel* panel = KPAboutPanel::standardKPAboutPanelForAppName("Gelcoat", "2.0", QPixmap(), links_);
    QStringList texts;
    for (QLabel* label : panel->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains("Gelcoat"));
    QVERIFY(texts.contains("Version 2.0"));
    QVERIFY(texts.contains("Notice for testing"));

    auto* credit = panel->findChild<QTextBrowser*>("credit");
    QVERIFY(credit);
    QCOMPARE(credit->toPlainText(), "A. Tester (support@example.org)");
    QCOMPARE(anchorAt(credit, 12), "mailto:support@example.org");
    QCOMPARE(anchorAt(credit, 5), QString());

    auto* web = panel->findChild<QTextBrowser*>("web");
    QCOMPARE(web->toPlainText(), "Visit www.example.org for more!");
    QCOMPARE(anchorAt(web, 7), "https://www.example.org/");

    auto* body = panel->findChild<QTextBrowser*>("body");
    const int slider = int(body->toPlainText().lastIndexOf("KPCircularSlider"));
    QVERIFY(slider > 0);
    QCOMPARE(anchorAt(body, slider + 1), links_.first());
    QCOMPARE(anchorAt(body, 1), QString());

    // A clicked link goes to the desktop, not into the view.
    QList<QUrl> opened;
    {
        UrlCatcher catcher({"https"});
        emit body->anchorClicked(QUrl(links_.first()));
        opened = catcher.urls;
    }
    QCOMPARE(opened, QList<QUrl>{QUrl(links_.first())});
    QCOMPARE(body->toPlainText(), KPTestLocalizedStringFromTable("About panel body text", "Localizable"));
    delete panel;
}

void AboutPanelTest::onlyOneOpenAtATime()
{
    QVERIFY(!KPAboutPanel::currentAboutPanel());
    KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(links_);
    QPointer<KPPanel> first = KPAboutPanel::currentAboutPanel();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), QString("Gelcoat"));
    QVERIFY(first->findChildren<QLabel*>().size() > 0);
    KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(links_);
    QCOMPARE(KPAboutPanel::currentAboutPanel(), first.data());

    first->close();
    QVERIFY(!KPAboutPanel::currentAboutPanel());
    KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(links_);
    KPPanel* second = KPAboutPanel::currentAboutPanel();
    QVERIFY(second);
    QVERIFY(second != first.data() || !first);
    QTRY_VERIFY(!first);  // the closed one is deleted
    second->close();
}

void AboutPanelTest::screenshot()
{
    KPAboutPanel::runStandardKPAboutPanelWithURLDictionary(links_);
    KPPanel* panel = KPAboutPanel::currentAboutPanel();
    QVERIFY(QTest::qWaitForWindowExposed(panel));
    QVERIFY(!saveScreenshot(panel, "about-panel", QString()).isEmpty());
    panel->close();
}

QTEST_MAIN(AboutPanelTest)
#include "tst_AboutPanel.moc"
