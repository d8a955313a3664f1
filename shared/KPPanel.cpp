#include "shared/KPPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace {

constexpr const char* panelProperty = "KPPanel";

QPointer<QWidget>& frozenPanel()
{
    static QPointer<QWidget> panel;
    return panel;
}

std::optional<bool>& floatingDecision()
{
    static std::optional<bool> decision;
    return decision;
}

bool isClosingKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_W
           && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

// Ctrl+W closes a panel with a close button.  Claiming the key at the
// shortcut-override stage keeps a window-closing menu shortcut from taking
// it; for a panel without a close button the key is left to others.
class ClosingKeyFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !isClosingKey(static_cast<QKeyEvent*>(event)))
            return false;
        QWidget* window = widget->window();
        if (!window->property(panelProperty).toBool()
            || !window->windowFlags().testFlag(Qt::WindowCloseButtonHint))
            return false;
        event->accept();
        if (type == QEvent::KeyPress)
            window->close();
        return true;
    }
};

void installClosingKey(QWidget* window)
{
    static ClosingKeyFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new ClosingKeyFilter;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
    window->setProperty(panelProperty, true);
}

void keepOnTop(QWidget* window)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (visible)
        window->show();  // changing the flags hides a shown window
}

} // namespace

KPPanel::KPPanel(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    installClosingKey(this);
}

void KPPanel::KPFreeze()
{
    ::KPFreeze(this);
}

void KPPanel::setFrameOrigin(const QPoint& topLeft)
{
    KPSetFrameOrigin(this, topLeft);
}

KPRealFloatingPanel::KPRealFloatingPanel(QWidget* parent, Qt::WindowFlags flags)
    : KPPanel(parent, flags)
{
    keepOnTop(this);
}

bool KPRealFloatingPanel::KPShouldUseFloatingPanels()
{
    std::optional<bool>& decision = floatingDecision();
    if (!decision) {
        const QVariant value =
            QCoreApplication::instance() ? qApp->property(KPUIElementProperty) : QVariant();
        decision = value.isValid() && value.toString() == QLatin1String("1");
    }
    return *decision;
}

void KPRealFloatingPanel::resetFloatingPanelDecisionForTesting()
{
    floatingDecision().reset();
}

void KPFreeze(QWidget* window)
{
    frozenPanel() = window;
}

void KPSetFrameOrigin(QWidget* window, const QPoint& topLeft)
{
    if (!window || window == frozenPanel())
        return;
    window->move(topLeft);
    frozenPanel() = nullptr;
}

bool KPIsFrozenPanel(const QWidget* window)
{
    return window && window == frozenPanel().data();
}

void KPTransformIntoKPPanel(QWidget* window)
{
    if (window)
        installClosingKey(window);
}

void KPTransformIntoKPRealFloatingPanel(QWidget* window)
{
    if (!window)
        return;
    installClosingKey(window);
    keepOnTop(window);
}
