#pragma once
// The two display preferences' change notices, as signals of one object per
// process that every document window can observe without creating the
// preferences controller.

#include <QObject>

namespace gelcoat {

// Names of the two notices, for logs and for code that keys on names.
extern const char* const GelcoatShowTooltipsChanged;
extern const char* const GelcoatShowRainbowStripChanged;

class PreferenceNotifications : public QObject {
    Q_OBJECT
public:
    static PreferenceNotifications& center();

signals:
    void showTooltipsChanged();
    void showRainbowStripChanged();

private:
    PreferenceNotifications() = default;
};

} // namespace gelcoat
