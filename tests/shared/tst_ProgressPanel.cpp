// The progress panel: when its window appears, its values, Stop, the
// window's texts and layout, and the misuse log lines.

#include "shared/KPCocoaExtra.h"
#include "tests/qtsupport/FakeClock.h"
#include "tests/qtsupport/ModalAnswerer.h"
#include "tests/qtsupport/Screenshot.h"
#include "tests/qtsupport/TestSettings.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class ProgressPanelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void shortDeterminateTaskNeverShows();
    void determinateWindowDependsOnEstimate();
    void indeterminateShowsAfterThresholdOnAcceptedCall();
    void valuesAreClamped();
    void estimates();
    void stopEndsTheLoopButNotTheWindow();
    void closeButtonActsAsStop();
    void finishOnHiddenPanelOnlyStopsTheClock();
    void windowTextsAndLayout();
    void sheetOnAWindow();
    void misuseIsLogged();
};

void ProgressPanelTest::shortDeterminateTaskNeverShows()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "Working", "Step", true);
    panel.startNewTaskAndSetMaxValue(10);
    for (int i = 0; i <= 10; ++i) {
        clock.advance(0.019);
        QVERIFY(panel.giveTimeAndSetProgress(i));
    }
    QVERIFY(!panel.isVisible());
    panel.finish();
}

void ProgressPanelTest::determinateWindowDependsOnEstimate()
{
    FakeClock clock;
    KPProgressPanel nearlyDone(nullptr, "Working", "", true);
    nearlyDone.startNewTask();
    clock.advance(1.0);
    nearlyDone.setProgress(0.9);  // about 0.11 s to go
    QVERIFY(!nearlyDone.isVisible());
    nearlyDone.finish();

    KPProgressPanel slow(nullptr, "Working", "", true);
    slow.startNewTask();
    clock.advance(1.0);
    slow.setProgress(0.1);  // about 9 s to go
    QVERIFY(slow.isVisible());
    QCOMPARE(slow.progressWindow()->windowModality(), Qt::ApplicationModal);
    slow.finish();
    QVERIFY(!slow.isVisible());

    // No progress yet: an endless estimate shows the window.
    KPProgressPanel stuck(nullptr, "Working", "", true);
    stuck.startNewTask();
    clock.advance(0.3);
    QVERIFY(stuck.giveTime());
    QVERIFY(stuck.isVisible());
}

void ProgressPanelTest::indeterminateShowsAfterThresholdOnAcceptedCall()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "Waiting", "", false);
    panel.startNewTask();
    clock.advance(0.15);
    panel.giveTime();  // accepted, but too early
    QVERIFY(!panel.isVisible());
    clock.advance(0.04);
    panel.giveTime();
    QVERIFY(!panel.isVisible());
    clock.advance(0.02);  // 0.21 s after the start, only 0.02 s after the last
    panel.giveTime();     // accepted call: 0.06 s since 0.15
    QVERIFY(panel.isVisible());
    panel.finish();

    KPProgressPanel throttled(nullptr, "Waiting", "", false);
    throttled.startNewTask();
    clock.advance(0.19);
    throttled.giveTime();
    clock.advance(0.03);  // past the threshold, but within 0.05 s of the last call
    throttled.giveTime();
    QVERIFY(!throttled.isVisible());
    clock.advance(0.03);
    throttled.giveTime();
    QVERIFY(throttled.isVisible());
    QCOMPARE(throttled.progressWindow()->findChild<QProgressBar*>()->maximum(), 0);  // busy bar
}

void ProgressPanelTest::valuesAreClamped()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "", "", true);
    panel.setProgress(1.5);
    QCOMPARE(panel.progress(), 1.0);
    panel.setMaxValue(0.5);
    QCOMPARE(panel.progress(), 0.5);
    panel.setMinValue(0.7);  // above the maximum: the minimum wins first, then the maximum
    QCOMPARE(panel.minValue(), 0.7);
    panel.setMaxValue(2.0);
    panel.setProgress(-1);
    QCOMPARE(panel.progress(), 0.7);
    panel.setMinValue(0.0);
    panel.setProgress(1.0);
    panel.forceVisible();
    QCOMPARE(panel.progressWindow()->findChild<QProgressBar*>()->value(), 5000);
    panel.setMaxValue(4.0);
    QCOMPARE(panel.progressWindow()->findChild<QProgressBar*>()->value(), 2500);
}

void ProgressPanelTest::estimates()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "", "", true);
    panel.startNewTaskAndSetMaxValue(200);
    clock.advance(2.0);
    panel.setProgress(50);
    QCOMPARE(panel.elapsedTime(), 2.0);
    QCOMPARE(panel.estimatedTotalTime(), 8.0);
    QCOMPARE(panel.estimatedTimeToCompletion(), 6.0);
    panel.finish();
    // A new task restarts the clock and the progress.
    panel.startNewTask();
    QCOMPARE(panel.progress(), 0.0);
    QCOMPARE(panel.elapsedTime(), 0.0);
}

void ProgressPanelTest::stopEndsTheLoopButNotTheWindow()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "Working", "", false);
    panel.startNewTask();
    panel.forceVisible();
    auto* stop = panel.progressWindow()->findChild<QPushButton*>();
    QVERIFY(stop);
    QCOMPARE(stop->text(), QString("Stop"));
    QTest::mouseClick(stop, Qt::LeftButton);
    QVERIFY(panel.isStoppedByUser());
    clock.advance(0.1);
    QVERIFY(!panel.giveTime());
    QVERIFY(panel.isVisible());
    panel.finish();
    QVERIFY(!panel.isVisible());
    // A panel shown again starts without the stop.
    panel.startNewTask();
    panel.forceVisible();
    QVERIFY(!panel.isStoppedByUser());
}

void ProgressPanelTest::closeButtonActsAsStop()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "Working", "", false);
    panel.startNewTask();
    panel.forceVisible();
    QVERIFY(!panel.progressWindow()->close());
    QVERIFY(panel.isStoppedByUser());
    QVERIFY(panel.isVisible());
    QVERIFY(panel.progressWindow()->isVisible());

    KPProgressPanel escaped(nullptr, "Working", "", false);
    escaped.startNewTask();
    escaped.forceVisible();
    QTest::keyClick(escaped.progressWindow(), Qt::Key_Escape);
    QVERIFY(escaped.isStoppedByUser());
    QVERIFY(escaped.progressWindow()->isVisible());
}

void ProgressPanelTest::finishOnHiddenPanelOnlyStopsTheClock()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "", "", true);
    panel.start();
    clock.advance(0.5);
    QCOMPARE(panel.elapsedTime(), 0.5);
    panel.finish();
    QVERIFY(!panel.isVisible());
    QTest::ignoreMessage(QtWarningMsg,
                         "elapsedTime called on an KPProgressPanel that has not been started");
    QCOMPARE(panel.elapsedTime(), 0.0);
}

void ProgressPanelTest::windowTextsAndLayout()
{
    QPixmap icon(64, 64);
    icon.fill(QColor(40, 120, 220));
    QApplication::setWindowIcon(QIcon(icon));
    FakeClock clock;
    KPProgressPanel panel(nullptr, "Version Check", "Checking for a new version...", true);
    panel.startNewTask();
    panel.setProgress(0.4);
    panel.forceVisible();
    KPPanel* window = panel.progressWindow();
    QCOMPARE(window->size(), QSize(331, 128));
    QVERIFY(KPIsFrozenPanel(window));
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* label : labels)
        texts << label->text();
    QVERIFY(texts.contains("Version Check"));
    QVERIFY(texts.contains("Checking for a new version..."));
    // Rectangles from the bottom-left corner, in window coordinates.
    auto* stop = window->findChild<QPushButton*>();
    QCOMPARE(stop->geometry(), QRect(221, 128 - 11 - 34, 90, 34));
    QCOMPARE(window->findChild<QProgressBar*>()->geometry(), QRect(105, 128 - 18 - 20, 104, 20));
    for (QLabel* label : labels) {
        if (label->text() == "Version Check") {
            QCOMPARE(label->geometry(), QRect(104, 128 - 96 - 17, 195, 17));
            QVERIFY(label->font().bold());
        }
        if (label->text().isEmpty())
            QCOMPARE(label->geometry(), QRect(24, 128 - 48 - 64, 64, 64));
    }
    QVERIFY(QTest::qWaitForWindowExposed(window));
    saveScreenshot(window, "progress-panel", QString());
    QApplication::setWindowIcon(QIcon());
}

void ProgressPanelTest::sheetOnAWindow()
{
    FakeClock clock;
    QWidget document;
    document.resize(500, 400);
    document.show();
    KPProgressPanel panel(&document, "Exporting", "", false);
    panel.startNewTask();
    panel.forceVisible();
    QCOMPARE(panel.progressWindow()->windowModality(), Qt::WindowModal);
    QCOMPARE(panel.progressWindow()->parentWidget(), &document);
    panel.finish();
    QVERIFY(!panel.isVisible());
}

void ProgressPanelTest::misuseIsLogged()
{
    FakeClock clock;
    KPProgressPanel panel(nullptr, "", "", false);
    const char* lines[] = {
        "minValue called on an indeterminate KPProgressPanel",
        "maxValue called on an indeterminate KPProgressPanel",
        "progress called on an indeterminate KPProgressPanel",
        "setMinValue: called on an indeterminate KPProgressPanel",
        "setMaxValue: called on an indeterminate KPProgressPanel",
        "estimatedTotalTime called on an indeterminate KPProgressPanel",
        "estimatedTimeToCompletion called on an indeterminate KPProgressPanel",
    };
    for (const char* line : lines)
        QTest::ignoreMessage(QtWarningMsg, line);
    QCOMPARE(panel.minValue(), 0.0);
    QCOMPARE(panel.maxValue(), 1.0);
    QCOMPARE(panel.progress(), 0.0);
    panel.setMinValue(0.5);
    panel.setMaxValue(0.5);
    QCOMPARE(panel.estimatedTotalTime(), 0.0);
    QCOMPARE(panel.estimatedTimeToCompletion(), 0.0);

    QTest::ignoreMessage(QtWarningMsg,
                         "giveTimeAndSetProgress: called on an indeterminate KPProgressPanel");
    QTest::ignoreMessage(QtWarningMsg, "-_giveTime called without having started a task");
    QVERIFY(panel.giveTimeAndSetProgress(0.3));

    KPProgressPanel unstarted(nullptr, "", "", true);
    QTest::ignoreMessage(QtWarningMsg, "estimatedTotalTime called on an unstarted KPProgressPanel");
    QTest::ignoreMessage(QtWarningMsg,
                         "estimatedTimeToCompletion called on an unstarted KPProgressPanel");
    QCOMPARE(unstarted.estimatedTotalTime(), 0.0);
    QCOMPARE(unstarted.estimatedTimeToCompletion(), 0.0);
}

QTEST_MAIN(ProgressPanelTest)
#include "tst_ProgressPanel.moc"
