// The preferences: their defaults and stored forms, the window, and the
// two change notices.

#include "tests/app/AppTestSupport.h"
#include "tests/qtsupport/TestSettings.h"

#include "app/delegate/AppDelegate.h"
#include "document/settings/PreferenceNotifications.h"
#include "app/prefs/PrefsController.h"

#include "shared/KPScreen.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using namespace gelcoat;

namespace {

struct NoticeSpies {
    QSignalSpy tooltips{&PreferenceNotifications::center(),
                        &PreferenceNotifications::showTooltipsChanged};
    QSignalSpy rainbow{&PreferenceNotifications::center(),
                       &PreferenceNotifications::showRainbowStripChanged};
};

} // namespace

class PrefsControllerTest : public QObject {
    Q_OBJECT

    std::optional<NoticeSpies> notices_;

    static PrefsController& shownPrefs()
    {
        PrefsController& prefs = PrefsController::sharedPrefsController();
        prefs.showWindow();
        return prefs;
    }

    // What initTestCase and every case start from: nothing stored but the
    // rainbow strip switched off as an older run wrote it, the string "NO".
    static void storeStartingSettings()
    {
        QSettings settings;
        settings.clear();
        settings.setValue(QStringLiteral("ShowRainbow"), QStringLiteral("NO"));
    }

private slots:
    void initTestCase()
    {
        useTemporarySettings();
        AppDelegate::setUpApplication();
        storeStartingSettings();
        // Starting the program reads the preferences but loads no window.
        QVERIFY(!PrefsController::sharedPrefsController().preferencesWindow());
    }

    // The controller outlives each case: put it, its window and the stored
    // settings back to the starting state, so that any case runs alone or
    // after any other.
    void init()
    {
        PrefsController& prefs = PrefsController::sharedPrefsController();
        if (prefs.preferencesWindow()) {
            prefs.closeWindow();
            prefs.showTooltipsCheckbox()->setChecked(true);
            prefs.showRainbowStripCheckbox()->setChecked(false);
            prefs.flatteningDefaultMatrix()->button(int(FlattenChoice::White))->setChecked(true);
        }
        prefs.showTooltipsChanged(true);
        prefs.showRainbowStripChanged(false);
        prefs.flatteningDefaultChanged(int(FlattenChoice::White));
        storeStartingSettings();
        notices_.emplace();
    }

    void readsDefaultsAndStoredStrings()
    {
        PrefsController& prefs = PrefsController::sharedPrefsController();
        QVERIFY(prefs.showTooltips());
        QVERIFY(!prefs.showRainbowStrip());
        QCOMPARE(prefs.flatteningChoice(), 0);
        QCOMPARE(&PrefsController::sharedPrefsController(), &prefs);
        // The registered defaults are not written into the user's settings.
        QVERIFY(!QSettings().contains(QStringLiteral("ShowTooltips")));
    }

    void windowShowsTheValuesAndLoadsOnce()
    {
        PrefsController& prefs = PrefsController::sharedPrefsController();
        prefs.showWindow();
        QDialog* window = prefs.preferencesWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(prefs.showTooltipsCheckbox()->isChecked());
        QVERIFY(!prefs.showRainbowStripCheckbox()->isChecked());
        QCOMPARE(prefs.flatteningDefaultMatrix()->checkedId(), 0);
        QCOMPARE(prefs.flatteningDefaultMatrix()->buttons().size(), 3);
        for (int tag = 0; tag < 3; ++tag)
            QVERIFY(prefs.flatteningDefaultMatrix()->button(tag));
        // No control starts focused.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(!focus || focus == window);
        // Centred across the primary screen, a third of the free height down.
        const QRect available = KPPrimaryScreen()->availableGeometry();
        const QPoint expected = KPCenteredOrigin(available, window->frameGeometry().size(),
                                                 KPPrimaryScreen()->geometry().height());
        QCOMPARE(window->frameGeometry().topLeft(), expected);
        saveScreenshot(window, QStringLiteral("preferences"));

        QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
        prefs.showWindow();
        QCOMPARE(prefs.preferencesWindow(), window);
        QVERIFY(window->isVisible());
    }

    void checkBoxesStoreAndAnnounceChanges()
    {
        PrefsController& prefs = shownPrefs();
        QSignalSpy& tooltips = notices_->tooltips;
        QSignalSpy& rainbow = notices_->rainbow;

        prefs.showTooltipsCheckbox()->click();
        QCOMPARE(tooltips.size(), 1);
        QCOMPARE(rainbow.size(), 0);
        QVERIFY(!prefs.showTooltips());
        QCOMPARE(QSettings().value(QStringLiteral("ShowTooltips")).toString(), QStringLiteral("NO"));

        // The same state again changes and announces nothing.
        prefs.showTooltipsChanged(false);
        QCOMPARE(tooltips.size(), 1);

        prefs.showRainbowStripCheckbox()->click();
        QCOMPARE(rainbow.size(), 1);
        QVERIFY(prefs.showRainbowStrip());
        QCOMPARE(QSettings().value(QStringLiteral("ShowRainbow")).toString(), QStringLiteral("YES"));
        QCOMPARE(tooltips.size(), 1);
    }

    void flatteningChoiceIsStoredSilently()
    {
        PrefsController& prefs = shownPrefs();
        QSignalSpy& tooltips = notices_->tooltips;
        QSignalSpy& rainbow = notices_->rainbow;
        prefs.flatteningDefaultMatrix()->button(int(FlattenChoice::None))->click();
        QCOMPARE(prefs.flatteningChoice(), 2);
        QCOMPARE(QSettings().value(QStringLiteral("FlatteningChoice")).toInt(), 2);
        prefs.flatteningDefaultMatrix()->button(int(FlattenChoice::Black))->click();
        QCOMPARE(prefs.flatteningChoice(), 1);
        QCOMPARE(tooltips.size() + rainbow.size(), 0);

        // Closed and shown again, the controls are as the user left them.
        prefs.showTooltipsCheckbox()->click();
        prefs.closeWindow();
        prefs.showWindow();
        QCOMPARE(prefs.flatteningDefaultMatrix()->checkedId(), 1);
        QVERIFY(!prefs.showTooltipsCheckbox()->isChecked());
    }
};

QTEST_MAIN(PrefsControllerTest)
#include "tst_PrefsController.moc"
