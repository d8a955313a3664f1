#pragma once
// Panels that stay where they were put, and panels that stay above other
// applications.
//
// Freezing: KPFreeze marks one window as the frozen panel; programmatic moves
// through KPPanel::setFrameOrigin / KPSetFrameOrigin leave it in place until
// another panel is moved that way.  Plain QWidget::move is not intercepted.
//
// The closing key: Ctrl+W closes a panel that has a close button
// (Qt::WindowCloseButtonHint) and is ignored by one without.

#include <QDialog>
#include <QPoint>

class QWidget;

class KPPanel : public QDialog {
    Q_OBJECT
public:
    explicit KPPanel(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    void KPFreeze();
    void setFrameOrigin(const QPoint& topLeft);
};

// A panel kept on top (Qt::WindowStaysOnTopHint) whatever level is asked.
class KPRealFloatingPanel : public KPPanel {
    Q_OBJECT
public:
    explicit KPRealFloatingPanel(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // Yes exactly when the application property KPUIElementProperty holds the
    // string "1" (an application running as a user-interface element without
    // a menu of its own).  Decided on the first call and kept.
    static bool KPShouldUseFloatingPanels();
    // Forgets the decision so that the next call reads the property again.
    static void resetFloatingPanelDecisionForTesting();
};

// The QCoreApplication property the floating decision reads; the application
// sets it from its build configuration before showing any panel.
inline constexpr const char* KPUIElementProperty = "UIElement";

// The same behaviours for windows not created as KPPanel (message boxes,
// windows loaded from .ui files).
void KPFreeze(QWidget* window);
void KPSetFrameOrigin(QWidget* window, const QPoint& topLeft);
bool KPIsFrozenPanel(const QWidget* window);
void KPTransformIntoKPPanel(QWidget* window);            // installs the closing key
void KPTransformIntoKPRealFloatingPanel(QWidget* window); // and keeps it on top
