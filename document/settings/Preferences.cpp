#include "document/settings/Preferences.h"

#include "document/settings/PreferenceNotifications.h"
#include "document/settings/UserDefaults.h"

#include <algorithm>

namespace gelcoat {

const char* const showTooltipsKey = "ShowTooltips";
const char* const showRainbowKey = "ShowRainbow";
const char* const flatteningChoiceKey = "FlatteningChoice";
const char* const vectorSideKey = "VectorSide";

namespace {

bool storeSwitch(bool& field, bool state, const char* key)
{
    if (state == field)
        return false;
    field = state;
    UserDefaults::standard().setBool(QString::fromLatin1(key), state);
    return true;
}

} // namespace

Preferences& Preferences::shared()
{
    // Kept for the life of the process, like the windows that read it.
    static Preferences* shared = new Preferences;
    return *shared;
}

Preferences::Preferences()
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.registerDefault(QString::fromLatin1(showTooltipsKey), QStringLiteral("YES"));
    defaults.registerDefault(QString::fromLatin1(showRainbowKey), QStringLiteral("YES"));
    defaults.registerDefault(QString::fromLatin1(flatteningChoiceKey), 0);
    showTooltips_ = defaults.boolForKey(QString::fromLatin1(showTooltipsKey));
    showRainbowStrip_ = defaults.boolForKey(QString::fromLatin1(showRainbowKey));
    flatteningChoice_ = defaults.integerForKey(QString::fromLatin1(flatteningChoiceKey));
    defaults.registerDefault(QString::fromLatin1(vectorSideKey), kDefaultVectorSide);
    // A value edited by hand outside the range is used brought within it.
    vectorSide_ = std::clamp(int(defaults.integerForKey(QString::fromLatin1(vectorSideKey))), 1,
                             kMaxVectorSide);
}

bool Preferences::setShowTooltips(bool shows)
{
    if (!storeSwitch(showTooltips_, shows, showTooltipsKey))
        return false;
    emit PreferenceNotifications::center().showTooltipsChanged();
    return true;
}

bool Preferences::setShowRainbowStrip(bool shows)
{
    if (!storeSwitch(showRainbowStrip_, shows, showRainbowKey))
        return false;
    emit PreferenceNotifications::center().showRainbowStripChanged();
    return true;
}

bool Preferences::setFlatteningChoice(std::int32_t choice)
{
    if (choice == flatteningChoice_)
        return false;
    flatteningChoice_ = choice;
    UserDefaults::standard().setInteger(QString::fromLatin1(flatteningChoiceKey), choice);
    return true;
}

} // namespace gelcoat

namespace gelcoat {

bool Preferences::setVectorSide(int side)
{
    side = std::clamp(side, 1, kMaxVectorSide);
    if (side == vectorSide_)
        return false;
    vectorSide_ = side;
    UserDefaults::standard().setInteger(QString::fromLatin1(vectorSideKey), side);
    return true;
}

} // namespace gelcoat
