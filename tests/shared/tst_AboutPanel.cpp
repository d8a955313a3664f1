// The about panel: its size rules, its texts and links, and that at most
// one is open.

#include "BuildSettings.h"
#include "KPCocoaExtra.h"
#include "qtsupport/Screenshot.h"
#include "qtsupport/TestDelegate.h"
#include "qtsupport/UrlCatcher.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTextBlock>
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
    void panelSizeFollowsItsTexts();
    void textsAndLinks();
    void onlyOneOpenAtATime();
    void screenshot();

private:
    TestDelegate delegate_{"Gelcoat", "1.2b3"};
    const KPURLDictionary links_{{"KPCircularSlider", "https://www.example.org/software/CircularSlider.html"}};
};

void AboutPanelTest::initTestCase()
{
    KPApplicationDelegate = &delegate_;
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
    // Wide columns: int(180.6 + 15) + int(320.9 + 15) + 164.
    KPAboutPanelMetrics columns{180.6, 20, 320.9, 10, 100, 99.9};
    QCOMPARE(KPAboutPanelSize(columns), QSize(195 + 335 + 164, 104 + 188));
    KPAboutPanelMetrics notice{180.6, 20, 320.9, 10, 700.5, 0};
    QCOMPARE(KPAboutPanelSize(notice).width(), 770);
}

void AboutPanelTest::panelSizeFollowsItsTexts()
{
    KPPanel* panel = KPAboutPanel::standardKPAboutPanelForAppName(
        "Gelcoat", "1.0", KPApplicationIconScaledToSize(QSize(48, 48)), links_);
    auto* body = panel->findChild<QTextBrowser*>("body");
    QVERIFY(body);
    const int bodyHeight = body->height();
    QCOMPARE(panel->height(), bodyHeight + 188);
    QCOMPARE(body->geometry(), QRect(20, panel->height() - 91 - bodyHeight, panel->width() - 40,
                                     bodyHeight));
    QVERIFY(panel->width() >= 500);
    QCOMPARE(body->document()->textWidth(), qreal(panel->width() - 40));
    delete panel;

    // A long name widens the panel by its width.
    const QString longName = "Gelcoat With A Remarkably Long Application Name";
    QFont nameFont = QGuiApplication::font();
    nameFont.setPixelSize(24);
    QFont small = QGuiApplication::font();
    small.setPixelSize(11);
    const QString credit =
        KPFormat(QString::fromUtf8(gelcoat::build::creditLine), QString::fromUtf8(gelcoat::build::supportAddress));
    const double creditWidth = QFontMetricsF(small).horizontalAdvance(credit);
    const double webWidth = QFontMetricsF(small).horizontalAdvance(
        KPFormat("Visit %@ for more!", QUrl(QString::fromUtf8(gelcoat::build::makerWebSite)).host()));
    KPPanel* wide = KPAboutPanel::standardKPAboutPanelForAppName(longName, "1.0", QPixmap(), {});
    const int expected = int(QFontMetricsF(nameFont).horizontalAdvance(longName) + 15)
                         + int(std::max(creditWidth, webWidth) + 15) + 164;
    QCOMPARE(wide->width(), std::max(expected, 500));
    delete wide;
}

void AboutPanelTest::textsAndLinks()
{
    KPPanel* panel = KPAboutPanel::standardKPAboutPanelForAppName("Gelcoat", "2.0", QPixmap(), links_);
    QStringList texts;
    for (QLabel* label : panel->findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains("Gelcoat"));
    QVERIFY(texts.contains("Version 2.0"));
    QVERIFY(texts.contains(QString::fromUtf8(gelcoat::build::noticeLine)));

    const QString address = QString::fromUtf8(gelcoat::build::supportAddress);
    auto* credit = panel->findChild<QTextBrowser*>("credit");
    QVERIFY(credit);
    const int at = int(credit->toPlainText().lastIndexOf(address));
    QVERIFY(at > 0);
    QCOMPARE(anchorAt(credit, at + 1), "mailto:" + address);

    const QUrl site(QString::fromUtf8(gelcoat::build::makerWebSite));
    auto* web = panel->findChild<QTextBrowser*>("web");
    QCOMPARE(web->toPlainText(), "Visit " + site.host() + " for more!");
    QCOMPARE(anchorAt(web, 7), site.toString());

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
