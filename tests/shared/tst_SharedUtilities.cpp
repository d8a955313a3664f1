// Formatter, string tables, screens, panels, the closing key, the
// application icon and text links.

#include "shared/KPCocoaExtra.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/Screenshot.h"
#include "tests/qtsupport/TestSettings.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>

class SharedUtilitiesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void formatterReplacesPlaceholders();
    void stringTablesHoldEveryKeyTheLibraryUses();
    void missingKeyReadsAsKeyBetweenAsterisks();
    void centringArithmetic();
    void centringOnThePrimaryScreen();
    void frozenPanelIgnoresMovesUntilAnotherMoves();
    void closingKeyClosesOnlyClosablePanels();
    void floatingDecisionIsReadOnce();
    void alertButtonsAndReturnCodes();
    void alertTextIsPlainAndFormatted();
    void alertFloatsForUserInterfaceElements();
    void textViewGetsLink();
    void labelIsReplacedByLinkedView();
    void applicationIconIsScaled();

private:
    void resetFloating(const QVariant& value);
};

void SharedUtilitiesTest::formatterReplacesPlaceholders()
{
    QCOMPARE(KPFormat("%@ %d %%", QString("Gelcoat"), 42), QString("Gelcoat 42 %"));
    QCOMPARE(KPFormat("?subject=%@%%20%@", QString("Gelcoat"), QString("1.0")),
             QString("?subject=Gelcoat%201.0"));
    QCOMPARE(KPFormat("%%20"), QString("%20"));
    // Other sequences, and a lone "%" at the end, stay as written.
    QCOMPARE(KPFormat("100%s and %", 1), QString("100%s and %"));
    QCOMPARE(KPFormat("%d/%d", -3, qint64(1) << 40), QString("-3/1099511627776"));
    // Missing arguments read as nothing; extra ones are ignored.
    QCOMPARE(KPFormat("%@ and %d"), QString(" and "));
    QCOMPARE(KPFormat("%@", QString("a"), QString("unused")), QString("a"));
}

void SharedUtilitiesTest::stringTablesHoldEveryKeyTheLibraryUses()
{
    const QList<std::pair<QString, QString>> keys = {
        {"Stop button", "Base"},
        {"Yes button", "Base"},
        {"No button", "Base"},
        {"OK button", "Base"},
        {"Version %@", "About"},
        {"Visit %@ for more!", "About"},
        {"About panel body text", "Localizable"},
        {"Version Check", "VersionCheck"},
        {"Version Check offer panel text", "VersionCheck"},
        {"Checking for a new version...", "VersionCheck"},
        {"Version Check new version available", "VersionCheck"},
        {"Version Check up to date", "VersionCheck"},
        {"Version Check download failed error", "VersionCheck"},
        {"Version Check info unavailable error (sending email)", "VersionCheck"},
        {"Version Check info unavailable error", "VersionCheck"},
        {"Version Check network unavailable error (short version)", "VersionCheck"},
        {"Version Check network unavailable error (long version)", "VersionCheck"},
    };
    for (const auto& [key, table] : keys) {
        const QString text = KPTestLocalizedStringFromTable(key, table);
        QVERIFY2(!text.isEmpty() && !text.startsWith('*'), qPrintable(key));
    }
    QCOMPARE(KPTestLocalizedStringFromTable("Stop button", "Base"), QString("Stop"));
    // Sentences in the tables are separated by two spaces.
    const QString offer = KPTestLocalizedStringFromTable("Version Check offer panel text",
                                                         "VersionCheck");
    QVERIFY(offer.contains("?  "));
    QCOMPARE(offer.count("%@"), 2);
    QCOMPARE(KPTestLocalizedStringFromTable("Version Check new version available", "VersionCheck")
                 .count("%@"),
             3);
}

void SharedUtilitiesTest::missingKeyReadsAsKeyBetweenAsterisks()
{
    QTest::ignoreMessage(QtWarningMsg, "No value found for key \"No such key\"");
    QCOMPARE(KPTestLocalizedStringFromTable("No such key", "Base"), QString("*No such key*"));
    // A key of another table is missing here too.
    QTest::ignoreMessage(QtWarningMsg, "No value found for key \"Stop button\"");
    QCOMPARE(KPTestLocalizedStringFromTable("Stop button", "About"), QString("*Stop button*"));
    QTest::ignoreMessage(QtWarningMsg, "String table \"Nowhere\" not found");
    QTest::ignoreMessage(QtWarningMsg, "No value found for key \"x\"");
    QCOMPARE(KPTestLocalizedStringFromTable("x", "Nowhere"), QString("*x*"));
}

void SharedUtilitiesTest::centringArithmetic()
{
    QCOMPARE(KPCenteredOrigin(QRect(0, 0, 1024, 746), QSize(400, 300), 768), QPoint(312, 149));
    // The result depends on the available area alone.
    QCOMPARE(KPCenteredOrigin(QRect(0, 0, 1024, 746), QSize(400, 300), 746), QPoint(312, 149));
    QCOMPARE(KPCenteredOrigin(QRect(0, 22, 1024, 746), QSize(400, 300), 768), QPoint(312, 171));
    // Odd free space rounds down across and towards the bottom (y-up).
    QCOMPARE(KPCenteredOrigin(QRect(0, 0, 101, 100), QSize(50, 50), 100), QPoint(25, 17));
    // A window taller than the screen still sits a third of the excess above.
    QCOMPARE(KPCenteredOrigin(QRect(0, 0, 800, 600), QSize(900, 900), 600), QPoint(-50, -100));
    QCOMPARE(KPFlipRect(KPFlipRect(QRect(3, 4, 5, 6), 100), 100), QRect(3, 4, 5, 6));
}

void SharedUtilitiesTest::centringOnThePrimaryScreen()
{
    QScreen* primary = KPPrimaryScreen();
    QVERIFY(primary);
    QCOMPARE(primary->geometry().topLeft(), QPoint(0, 0));
    QWidget window;
    window.resize(400, 300);
    KPCenterOnPrimaryScreen(&window);
    const QRect available = primary->availableGeometry();
    QCOMPARE(window.frameGeometry().topLeft(),
             KPCenteredOrigin(available, window.frameGeometry().size(),
                              primary->geometry().height()));
    KPCenterOnPrimaryScreen(nullptr);  // nothing to do, no crash
}

void SharedUtilitiesTest::frozenPanelIgnoresMovesUntilAnotherMoves()
{
    KPPanel first;
    KPPanel second;
    first.setFrameOrigin(QPoint(10, 20));
    QCOMPARE(first.pos(), QPoint(10, 20));
    first.KPFreeze();
    QVERIFY(KPIsFrozenPanel(&first));
    first.setFrameOrigin(QPoint(50, 60));
    QCOMPARE(first.pos(), QPoint(10, 20));
    second.setFrameOrigin(QPoint(70, 80));
    QCOMPARE(second.pos(), QPoint(70, 80));
    QVERIFY(!KPIsFrozenPanel(&first));
    first.setFrameOrigin(QPoint(50, 60));
    QCOMPARE(first.pos(), QPoint(50, 60));
    // A frozen panel that goes away leaves no mark behind.
    {
        KPPanel temporary;
        temporary.KPFreeze();
    }
    QVERIFY(!KPIsFrozenPanel(nullptr));
    first.setFrameOrigin(QPoint(1, 2));
    QCOMPARE(first.pos(), QPoint(1, 2));
}

void SharedUtilitiesTest::closingKeyClosesOnlyClosablePanels()
{
    KPPanel closable;
    closable.show();
    QVERIFY(QTest::qWaitForWindowExposed(&closable));
    QVERIFY(closable.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QTest::keyClick(&closable, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!closable.isVisible());

    KPPanel fixed(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    fixed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixed));
    QTest::keyClick(&fixed, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(fixed.isVisible());
    QTest::keyClick(&fixed, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(fixed.isVisible());

    // A window from elsewhere gains the key when transformed.
    QWidget plain;
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QTest::keyClick(&plain, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(plain.isVisible());
    KPTransformIntoKPPanel(&plain);
    QTest::keyClick(&plain, Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!plain.isVisible());
}

void SharedUtilitiesTest::resetFloating(const QVariant& value)
{
    qApp->setProperty(KPUIElementProperty, value);
    KPRealFloatingPanel::resetFloatingPanelDecisionForTesting();
}

void SharedUtilitiesTest::floatingDecisionIsReadOnce()
{
    resetFloating(QVariant());
    QVERIFY(!KPRealFloatingPanel::KPShouldUseFloatingPanels());
    resetFloating(QString("1"));
    QVERIFY(KPRealFloatingPanel::KPShouldUseFloatingPanels());
    qApp->setProperty(KPUIElementProperty, QString("0"));
    QVERIFY(KPRealFloatingPanel::KPShouldUseFloatingPanels());  // kept
    resetFloating(QString("0"));
    QVERIFY(!KPRealFloatingPanel::KPShouldUseFloatingPanels());
    resetFloating(QVariant());
    KPRealFloatingPanel floating;
    QVERIFY(floating.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void SharedUtilitiesTest::alertButtonsAndReturnCodes()
{
    resetFloating(QVariant());
    ModalAnswerer answerer;
    answerer.answer("Save");
    answerer.answer("Don't Save");
    answerer.answer("Cancel");
    QCOMPARE(KPRunAlertPanel("Title", "Message", "Save", "Don't Save", "Cancel"), 1);
    QCOMPARE(KPRunAlertPanel("Title", "Message", "Save", "Don't Save", "Cancel"), 0);
    QCOMPARE(KPRunAlertPanel("Title", "Message", "Save", "Don't Save", "Cancel"), -1);
    QCOMPARE(answerer.unexpectedCount(), 0);
    QCOMPARE(answerer.seen()[0].buttons.size(), 3);

    // Escape: the alternate button, else the other, else the default.
    const QList<std::tuple<QString, QString, int>> escapes = {
        {"No", "Maybe", 0}, {"", "Maybe", -1}, {"", "", 1}};
    for (const auto& [alternate, other, code] : escapes) {
        answerer.answer(ModalAnswerer::escapeKey);
        QCOMPARE(KPRunAlertPanel("T", "M", "Yes", alternate, other), code);
    }
    QCOMPARE(answerer.unexpectedCount(), 0);

    // No default button: "OK" stands in.
    answerer.answer("OK");
    QCOMPARE(KPRunInformationalAlertPanel("T", "M", "", "", ""), 1);
    QCOMPARE(answerer.seen().last().buttons, QStringList{"OK"});
}

void SharedUtilitiesTest::alertTextIsPlainAndFormatted()
{
    resetFloating(QVariant());
    // A critical alert shows the application's icon, badged with a warning.
    QPixmap blue(128, 128);
    blue.fill(QColor(0, 0, 255));
    QApplication::setWindowIcon(QIcon(blue));
    ModalAnswerer answerer;
    QPoint position;
    QSize size;
    bool frozen = false;
    QImage icon;
    answerer.answer("OK", [&](QMessageBox* box) {
        position = box->frameGeometry().topLeft();
        size = box->frameGeometry().size();
        frozen = KPIsFrozenPanel(box);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        icon = box->findChild<QLabel*>("qt_msgboxex_icon_label")->pixmap().toImage();
        saveScreenshot(box, "critical-alert");
    });
    KPRunCriticalAlertPanel("", "Sorry, %@ requires Qt version %@ or later.  %@ will now quit.",
                            "OK", "", "", QString("<b>Gelcoat</b>"), QString("6.4"),
                            QString("Gelcoat"));
    const SeenPanel& seen = answerer.seen().last();
    QCOMPARE(seen.text, QString("Sorry, <b>Gelcoat</b> requires Qt version 6.4 or later.  "
                                "Gelcoat will now quit."));
    QCOMPARE(seen.informativeText, QString());
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QApplication::setWindowIcon(QIcon());
    QCOMPARE(icon.width(), 64);
    QCOMPARE(icon.pixelColor(8, 8), QColor(0, 0, 255));
    const QColor badge = icon.pixelColor(40, 57);
    QVERIFY2(badge.red() > 200 && badge.green() > 150 && badge.blue() < 80,
             qPrintable(badge.name()));
    QVERIFY(frozen);
    QScreen* primary = KPPrimaryScreen();
    QCOMPARE(position,
             KPCenteredOrigin(primary->availableGeometry(), size, primary->geometry().height()));

    answerer.answer("OK");
    KPRunInformationalAlertPanel("Version Check", "%@ %@ is current.", "OK", "", "",
                                 QString("Gelcoat"), QString("1.0"));
    QCOMPARE(answerer.seen().last().text, QString("Version Check"));
    QCOMPARE(answerer.seen().last().informativeText, QString("Gelcoat 1.0 is current."));
    QCOMPARE(answerer.seen().last().icon, QMessageBox::Information);
    answerer.answer("OK");
    KPRunAlertPanel("T", "M", "OK", "", "");
    QCOMPARE(answerer.seen().last().icon, QMessageBox::Warning);
    QVERIFY(!answerer.seen().last().floating);
}

void SharedUtilitiesTest::alertFloatsForUserInterfaceElements()
{
    resetFloating(QString("1"));
    ModalAnswerer answerer;
    answerer.answer("OK");
    KPRunAlertPanel("T", "M", "OK", "", "");
    QVERIFY(answerer.seen().last().floating);
    resetFloating(QVariant());
}

void SharedUtilitiesTest::textViewGetsLink()
{
    QCOMPARE(KPLinkPosition("see KPCircularSlider and KPCircularSlider", "KPCircularSlider"), 25);
    QCOMPARE(KPLinkPosition("nothing here", "KPCircularSlider"), -1);

    QTextBrowser view;
    view.setPlainText("Uses KPCircularSlider for its dials.");
    QVERIFY(KPFixTextToGoToLink(&view, "KPCircularSlider", "https://example.org/slider"));
    QTextCursor cursor(view.document());
    cursor.setPosition(6);
    QVERIFY(cursor.charFormat().isAnchor());
    QCOMPARE(cursor.charFormat().anchorHref(), QString("https://example.org/slider"));
    QVERIFY(cursor.charFormat().fontUnderline());
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(Qt::blue));
    cursor.setPosition(3);
    QVERIFY(!cursor.charFormat().isAnchor());
    QCOMPARE(view.toPlainText(), QString("Uses KPCircularSlider for its dials."));

    QTextBrowser atStart;
    atStart.setPlainText("KPCircularSlider first");
    QVERIFY(!KPFixTextToGoToLink(&atStart, "KPCircularSlider", "https://example.org/"));
}

void SharedUtilitiesTest::labelIsReplacedByLinkedView()
{
    QWidget parent;
    auto* label = new QLabel("Write to support@example.org", &parent);
    label->setGeometry(10, 20, 200, 16);
    label->setAlignment(Qt::AlignRight);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    QPointer<QLabel> watch = label;
    QTextBrowser* view = KPFixTextToGoToLink(label, "support@example.org", "mailto:support@example.org");
    QVERIFY(view);
    QCOMPARE(view->parentWidget(), &parent);
    QCOMPARE(view->geometry(), QRect(10, 20, 200, 16));
    QCOMPARE(view->toPlainText(), QString("Write to support@example.org"));
    QCOMPARE(view->document()->defaultFont().pixelSize(), 11);
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QTextCursor cursor(view->document());
    cursor.setPosition(12);
    QCOMPARE(cursor.charFormat().anchorHref(), QString("mailto:support@example.org"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watch);

    // Text without the link stretch still gets its view.
    auto* other = new QLabel("No address", &parent);
    QTextBrowser* plain = KPFixTextToGoToLink(other, "support@example.org", "mailto:x");
    QVERIFY(plain);
    QCOMPARE(plain->toPlainText(), QString("No address"));
}

void SharedUtilitiesTest::applicationIconIsScaled()
{
    QApplication::setWindowIcon(QIcon());
    QPixmap none = KPApplicationIconScaledToSize(QSize(48, 48));
    QCOMPARE(none.size(), QSize(48, 48));
    QCOMPARE(none.toImage().pixelColor(24, 24).alpha(), 0);

    QPixmap red(128, 128);
    red.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(red));
    const QImage scaled = KPApplicationIconScaledToSize(QSize(48, 48)).toImage();
    QCOMPARE(scaled.size(), QSize(48, 48));
    QCOMPARE(scaled.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(scaled.pixelColor(47, 47), QColor(Qt::red));
    QCOMPARE(KPApplicationIconScaledToSize(QSize(16, 8)).size(), QSize(16, 8));
    QApplication::setWindowIcon(QIcon());
}

QTEST_MAIN(SharedUtilitiesTest)
#include "tst_SharedUtilities.moc"
