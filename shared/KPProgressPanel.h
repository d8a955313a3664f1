#pragma once
// A progress panel for long work on the main thread.  The caller keeps its
// own loop and calls giveTime() (or giveTimeAndSetProgress()) now and then;
// the panel shows its window only once the task has run longer than the
// threshold time (0.2 s by default; a determinate task also needs more than
// one second still to go), keeps the interface alive while the window is up
// (one pass of event processing per accepted call, at most every 0.05 s), and
// reports the Stop button (or the window's close button) by giveTime()
// returning false.  The window is an application-modal panel, or a
// window-modal sheet on `modalWindow`; neither runs a nested exec().
//
//     KPProgressPanel* panel = KPProgressPanel::progressPanelModalForWindow(
//         nullptr, title, subtitle, true);
//     panel->startNewTaskAndSetMaxValue(count);
//     for (int i = 0; i < count && panel->giveTimeAndSetProgress(i); ++i) work(i);
//     panel->finishAndRelease();
//
// Times come from KPClock.  Misuse (value calls on an indeterminate panel,
// time calls before a start) writes one warning line and returns 0.

#include "shared/KPPanel.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

class KPProgressPanel : public QObject {
    Q_OBJECT
public:
    // A new panel the caller must end with finishAndRelease() (or delete).
    static KPProgressPanel* progressPanelModalForWindow(QWidget* modalWindow, const QString& title,
                                                        const QString& subtitle, bool determinate);
    KPProgressPanel(QWidget* modalWindow, const QString& title, const QString& subtitle,
                    bool determinate);
    ~KPProgressPanel() override;

    void start();
    void startNewTask();
    void startNewTaskAndSetMaxValue(double maxValue);
    void finish();
    void finishAndRelease();

    double minValue() const;
    double maxValue() const;
    double progress() const;
    void setMinValue(double value);
    void setMaxValue(double value);
    void setProgress(double value);

    bool giveTime();
    bool giveTimeAndSetProgress(double value);

    double elapsedTime() const;
    double estimatedTotalTime() const;
    double estimatedTimeToCompletion() const;
    double thresholdTime() const { return thresholdTime_; }
    void setThresholdTime(double seconds) { thresholdTime_ = seconds; }
    bool giveTimeToRunLoop() const { return giveTimeToRunLoop_; }
    void setGiveTimeToRunLoop(bool give) { giveTimeToRunLoop_ = give; }

    void setTitle(const QString& title);
    void setSubtitle(const QString& subtitle);
    QString title() const { return titleString_; }
    QString subtitle() const { return subtitleString_; }

    bool isVisible() const { return progressWindow_ != nullptr; }
    void forceVisible();
    bool isStoppedByUser() const { return progressStopped_; }
    bool isDeterminate() const { return isDeterminate_; }

    // The window while visible, else null (for tests and screenshots).
    KPPanel* progressWindow() const { return progressWindow_; }

public slots:
    void performStop();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setProgressQuietly(double value);
    void updateBar();
    void giveTimeSlice();
    void makeVisibleIfNecessary(double now);
    void buildWindow();
    // elapsedTime() at the given clock reading.
    double elapsedTimeAt(double now) const;
    // The estimated total time for the progress so far (no checks).
    double totalFor(double elapsed) const;

    QPointer<KPPanel> progressWindow_;
    QProgressBar* progressIndicator_ = nullptr;
    QLabel* progressTitle_ = nullptr;
    QLabel* progressSubtitle_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    bool progressStopped_ = false;
    QString titleString_;
    QString subtitleString_;
    bool isDeterminate_ = false;
    bool giveTimeToRunLoop_ = false;
    double minValue_ = 0.0;
    double maxValue_ = 1.0;
    double progress_ = 0.0;
    double thresholdTime_ = 0.2;
    QPointer<QWidget> modalWindow_;
    std::optional<double> elapsedTimeBase_;
    std::optional<double> lastUpdateTime_;
};
