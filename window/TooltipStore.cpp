#include "window/TooltipStore.h"

#include "document/settings/PreferenceNotifications.h"
#include "document/settings/Preferences.h"

#include <QHash>
#include <QWidget>

namespace gelcoat {

namespace {

struct Store {
    QHash<QString, QString> texts;
    bool filled = false;
};

Store& store()
{
    static Store shared;
    return shared;
}

// The controls of form that the store has a tooltip for.
QList<QWidget*> controlsWithTooltips(const QWidget& form)
{
    QList<QWidget*> controls;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (store().texts.contains(w->objectName()))
            controls.append(w);
    return controls;
}

void showTooltipsPreference(const QWidget& form)
{
    if (Preferences::shared().showTooltips())
        addTooltipsToViews(form);
    else
        removeTooltipsFromViews(form);
}

} // namespace

void saveTooltipsForLater(const QWidget& form)
{
    Store& s = store();
    if (s.filled)
        return;
    for (const QWidget* w : form.findChildren<QWidget*>())
        if (!w->toolTip().isEmpty() && !w->objectName().isEmpty())
            s.texts.insert(w->objectName(), w->toolTip());
    s.filled = true;
}

void removeTooltipsFromViews(const QWidget& form)
{
    for (QWidget* control : controlsWithTooltips(form))
        control->setToolTip(QString());
}

void addTooltipsToViews(const QWidget& form)
{
    for (QWidget* control : controlsWithTooltips(form))
        control->setToolTip(store().texts.value(control->objectName()));
}

QString storedTooltip(const QString& control) { return store().texts.value(control); }

void setUpTooltips(QWidget& window, const QWidget& form)
{
    saveTooltipsForLater(form);
    for (QWidget* control : controlsWithTooltips(form))
        control->setAccessibleDescription(store().texts.value(control->objectName()));
    if (!Preferences::shared().showTooltips())
        removeTooltipsFromViews(form);
    QObject::connect(&PreferenceNotifications::center(),
                     &PreferenceNotifications::showTooltipsChanged, &window,
                     [&form] { showTooltipsPreference(form); });
}

} // namespace gelcoat
