#include "document/settings/PreferenceNotifications.h"

namespace gelcoat {

const char* const GelcoatShowTooltipsChanged = "GelcoatShowTooltipsChanged";
const char* const GelcoatShowRainbowStripChanged = "GelcoatShowRainbowStripChanged";

PreferenceNotifications& PreferenceNotifications::center()
{
    // Never freed: observers may outlive any one window.
    static PreferenceNotifications* instance = new PreferenceNotifications;
    return *instance;
}

} // namespace gelcoat
