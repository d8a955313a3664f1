#include "window/SettingsDrags.h"

#include "document/model/TintDocument.h"

#include <QMouseEvent>
#include <QWidget>

namespace gelcoat {

SettingsDrags::SettingsDrags(TintDocument& document, QObject* parent)
    : QObject(parent), document_(document)
{
}

void SettingsDrags::watch(QWidget* control)
{
    control->installEventFilter(this);
}

bool SettingsDrags::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    if (type != QEvent::MouseButtonRelease) {
        document_.beginSettingsDrag();
        return false;
    }
    if (!document_.settingsDragOpen())
        return false;
    // The control handles its release here and now (a circle and the bug
    // move once more on it); the drag ends after that.
    watched->event(event);
    document_.endSettingsDrag();
    return true;
}

} // namespace gelcoat
