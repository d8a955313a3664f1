#include "shared/KPProgressPanel.h"

#include "shared/KPApplicationIcon.h"
#include "shared/KPClock.h"
#include "shared/KPLocalizedString.h"
#include "shared/KPLog.h"
#include "shared/KPPanel.h"
#include "shared/KPScreen.h"
#include "shared/KPSystemFont.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int windowWidth = 331;
constexpr int windowHeight = 128;
constexpr double updateInterval = 0.05;
constexpr int barSteps = 10000;

// The window's elements are laid out from its bottom left corner.
QRect place(int x, int y, int width, int height)
{
    return KPFlipRect(QRect(x, y, width, height), windowHeight);
}

QFont systemFont(int pixelSize, bool bold)
{
    QFont font = KPSystemFont(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

KPProgressPanel* KPProgressPanel::progressPanelModalForWindow(QWidget* modalWindow,
                                                              const QString& title,
                                                              const QString& subtitle,
                                                              bool determinate)
{
    return new KPProgressPanel(modalWindow, title, subtitle, determinate);
}

KPProgressPanel::KPProgressPanel(QWidget* modalWindow, const QString& title,
                                 const QString& subtitle, bool determinate)
    : titleString_(title),
      subtitleString_(subtitle),
      isDeterminate_(determinate),
      modalWindow_(modalWindow)
{
}

KPProgressPanel::~KPProgressPanel()
{
    finish();
}

void KPProgressPanel::start()
{
    if (!elapsedTimeBase_)
        elapsedTimeBase_ = KPClock::now();
}

void KPProgressPanel::startNewTask()
{
    elapsedTimeBase_.reset();
    lastUpdateTime_.reset();
    if (isDeterminate_)
        setProgress(0.0);
    start();
}

void KPProgressPanel::startNewTaskAndSetMaxValue(double maxValue)
{
    setMaxValue(maxValue);
    startNewTask();
}

void KPProgressPanel::finish()
{
    if (KPPanel* window = progressWindow_) {
        window->removeEventFilter(this);
        window->hide();  // ends the modality of the panel or the sheet
        window->deleteLater();
        progressWindow_ = nullptr;
        progressIndicator_ = nullptr;
        progressTitle_ = nullptr;
        progressSubtitle_ = nullptr;
        stopButton_ = nullptr;
    }
    elapsedTimeBase_.reset();
}

void KPProgressPanel::finishAndRelease()
{
    finish();
    deleteLater();
}

double KPProgressPanel::minValue() const
{
    if (!isDeterminate_)
        qCWarning(kpSharedLog, "minValue called on an indeterminate KPProgressPanel");
    return minValue_;
}

double KPProgressPanel::maxValue() const
{
    if (!isDeterminate_)
        qCWarning(kpSharedLog, "maxValue called on an indeterminate KPProgressPanel");
    return maxValue_;
}

double KPProgressPanel::progress() const
{
    if (!isDeterminate_)
        qCWarning(kpSharedLog, "progress called on an indeterminate KPProgressPanel");
    return progress_;
}

void KPProgressPanel::setMinValue(double value)
{
    if (!isDeterminate_) {
        qCWarning(kpSharedLog, "setMinValue: called on an indeterminate KPProgressPanel");
        return;
    }
    minValue_ = value;
    updateBar();
    if (progress_ < minValue_)
        setProgress(minValue_);
}

void KPProgressPanel::setMaxValue(double value)
{
    if (!isDeterminate_) {
        qCWarning(kpSharedLog, "setMaxValue: called on an indeterminate KPProgressPanel");
        return;
    }
    maxValue_ = value;
    updateBar();
    if (progress_ > maxValue_)
        setProgress(maxValue_);
}

void KPProgressPanel::setProgressQuietly(double value)
{
    if (!isDeterminate_) {
        qCWarning(kpSharedLog, "setProgress: called on an indeterminate KPProgressPanel");
        return;
    }
    if (value < minValue_)
        value = minValue_;
    if (value > maxValue_)
        value = maxValue_;
    progress_ = value;
    start();
}

void KPProgressPanel::setProgress(double value)
{
    setProgressQuietly(value);
    updateBar();
    makeVisibleIfNecessary(KPClock::now());
}

void KPProgressPanel::updateBar()
{
    // The bar counts in whole steps; the range maps onto them.
    if (!isDeterminate_ || !progressIndicator_)
        return;
    const double span = maxValue_ - minValue_;
    const double fraction = span > 0 ? (progress_ - minValue_) / span : 0.0;
    progressIndicator_->setValue(int(std::lround(std::clamp(fraction, 0.0, 1.0) * barSteps)));
}

bool KPProgressPanel::giveTime()
{
    start();
    const double now = KPClock::now();
    if (lastUpdateTime_ && now - *lastUpdateTime_ <= updateInterval)
        return !progressStopped_;
    lastUpdateTime_ = now;
    makeVisibleIfNecessary(now);
    giveTimeSlice();
    return !progressStopped_;
}

bool KPProgressPanel::giveTimeAndSetProgress(double value)
{
    const double now = KPClock::now();
    const bool due = !lastUpdateTime_ || now - *lastUpdateTime_ > updateInterval;
    if (due)
        lastUpdateTime_ = now;
    if (!isDeterminate_)
        qCWarning(kpSharedLog, "giveTimeAndSetProgress: called on an indeterminate KPProgressPanel");
    else if (due)
        setProgress(value);
    else
        setProgressQuietly(value);
    if (due)
        giveTimeSlice();
    return !progressStopped_;
}

void KPProgressPanel::giveTimeSlice()
{
    if (!elapsedTimeBase_)
        qCWarning(kpSharedLog, "-_giveTime called without having started a task");
    // One pass of event processing: it serves the sheet, the modal panel and
    // (when asked) the caller's own timers and network replies alike.
    if (isVisible() || giveTimeToRunLoop_)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double KPProgressPanel::elapsedTime() const
{
    return elapsedTimeAt(KPClock::now());
}

double KPProgressPanel::elapsedTimeAt(double now) const
{
    if (!elapsedTimeBase_) {
        qCWarning(kpSharedLog, "elapsedTime called on an KPProgressPanel that has not been started");
        return 0.0;
    }
    return now - *elapsedTimeBase_;
}

double KPProgressPanel::totalFor(double elapsed) const
{
    return elapsed / ((progress_ - minValue_) / (maxValue_ - minValue_));
}

double KPProgressPanel::estimatedTotalTime() const
{
    if (!isDeterminate_) {
        qCWarning(kpSharedLog, "estimatedTotalTime called on an indeterminate KPProgressPanel");
        return 0.0;
    }
    if (!elapsedTimeBase_) {
        qCWarning(kpSharedLog, "estimatedTotalTime called on an unstarted KPProgressPanel");
        return 0.0;
    }
    return totalFor(elapsedTime());
}

double KPProgressPanel::estimatedTimeToCompletion() const
{
    if (!isDeterminate_) {
        qCWarning(kpSharedLog,
                  "estimatedTimeToCompletion called on an indeterminate KPProgressPanel");
        return 0.0;
    }
    if (!elapsedTimeBase_) {
        qCWarning(kpSharedLog, "estimatedTimeToCompletion called on an unstarted KPProgressPanel");
        return 0.0;
    }
    const double elapsed = elapsedTime();
    return totalFor(elapsed) - elapsed;
}

void KPProgressPanel::setTitle(const QString& title)
{
    if (title == titleString_)
        return;
    titleString_ = title;
    if (progressTitle_)
        progressTitle_->setText(titleString_);
}

void KPProgressPanel::setSubtitle(const QString& subtitle)
{
    if (subtitle == subtitleString_)
        return;
    subtitleString_ = subtitle;
    if (progressSubtitle_)
        progressSubtitle_->setText(subtitleString_);
}

void KPProgressPanel::makeVisibleIfNecessary(double now)
{
    if (isVisible())
        return;
    const double elapsed = elapsedTimeAt(now);
    if (!(elapsed > thresholdTime_))
        return;
    // A determinate task nearly done is not worth a window; one without any
    // progress yet has an infinite estimate and gets one.  (Both callers
    // have started a determinate task by now.)
    if (!isDeterminate_ || totalFor(elapsed) - elapsed > 1.0)
        forceVisible();
}

void KPProgressPanel::forceVisible()
{
    if (isVisible())
        return;
    buildWindow();
    if (modalWindow_) {
        progressWindow_->setWindowModality(Qt::WindowModal);
        progressWindow_->show();
    } else {
        // Placed before it shows so that it does not jump; placed again once
        // the window system has given it a frame.
        progressWindow_->setWindowModality(Qt::ApplicationModal);
        KPCenterOnPrimaryScreen(progressWindow_);
        progressWindow_->show();
        KPCenterOnPrimaryScreen(progressWindow_);
        progressWindow_->KPFreeze();
    }
}

void KPProgressPanel::buildWindow()
{
    const bool sheet = modalWindow_ != nullptr;
    const Qt::WindowFlags flags = sheet ? Qt::Sheet : Qt::Dialog;
    KPPanel* window = !sheet && KPRealFloatingPanel::KPShouldUseFloatingPanels()
                          ? new KPRealFloatingPanel(nullptr, flags)
                          : new KPPanel(modalWindow_, flags);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setWindowTitle(QGuiApplication::applicationDisplayName());
    window->setFixedSize(windowWidth, windowHeight);
    window->installEventFilter(this);

    auto* icon = new QLabel(window);
    icon->setGeometry(place(24, 48, 64, 64));
    icon->setPixmap(KPApplicationIconScaledToSize(QSize(64, 64)));

    progressTitle_ = new QLabel(titleString_, window);
    progressTitle_->setGeometry(place(104, 96, 195, 17));
    progressTitle_->setFont(systemFont(13, true));

    progressSubtitle_ = new QLabel(subtitleString_, window);
    progressSubtitle_->setGeometry(place(104, 59, 195, 28));
    progressSubtitle_->setFont(systemFont(11, false));
    progressSubtitle_->setWordWrap(true);
    progressSubtitle_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    stopButton_ = new QPushButton(KPTestLocalizedStringFromTable("Stop button", "Base"), window);
    stopButton_->setGeometry(place(221, 11, 90, 34));
    stopButton_->setFont(systemFont(13, false));
    stopButton_->setAutoDefault(false);
    connect(stopButton_, &QPushButton::clicked, this, &KPProgressPanel::performStop);

    progressIndicator_ = new QProgressBar(window);
    progressIndicator_->setGeometry(place(105, 18, 104, 20));
    progressIndicator_->setTextVisible(false);
    progressWindow_ = window;
    if (isDeterminate_) {
        progressIndicator_->setRange(0, barSteps);
        updateBar();
    } else {
        progressIndicator_->setRange(0, 0);  // busy, animated by the style
    }
    progressStopped_ = false;
}

void KPProgressPanel::performStop()
{
    progressStopped_ = true;
}

bool KPProgressPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The window's close button (and Escape, which closes a dialog) means
    // Stop; the window itself stays until the caller finishes.
    if (watched != progressWindow_)
        return QObject::eventFilter(watched, event);
    const bool escape = event->type() == QEvent::KeyPress
                        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (event->type() == QEvent::Close || escape) {
        event->ignore();
        performStop();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
