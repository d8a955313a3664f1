#include "document/settings/DisplayDefaults.h"

#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"

#include <QSettings>

#include <atomic>

namespace gelcoat {

void registerDefaults()
{
    static std::atomic<bool> registeredOnce{false};
    if (registeredOnce.exchange(true))
        return;
    const TintSettings d;
    UserDefaults& u = UserDefaults::standard();
    for (const SettingField& f : settingFields()) {
        if (!f.isDisplayOption())
            continue;
        const QString key = QString::fromLatin1(f.key);
        if (f.kind == SettingKind::Bool)
            u.registerDefault(key, d.*f.boolField ? QStringLiteral("YES") : QStringLiteral("NO"));
        else
            u.registerDefault(key, int(d.*f.intField));
    }
}

void readDisplayDefaults(TintSettings& s)
{
    const UserDefaults& u = UserDefaults::standard();
    const QSettings store;
    for (const SettingField& f : settingFields()) {
        if (!f.isDisplayOption())
            continue;
        const QString key = QString::fromLatin1(f.key);
        if (f.kind == SettingKind::Bool)
            s.*f.boolField = u.boolForKey(key, store);
        else
            s.*f.intField = u.integerForKey(key, store);
    }
}

void writeChangedDisplayDefaults(const TintSettings& before, const TintSettings& after)
{
    UserDefaults& u = UserDefaults::standard();
    for (const SettingField& f : settingFields()) {
        if (!f.isDisplayOption())
            continue;
        const QString key = QString::fromLatin1(f.key);
        if (f.kind == SettingKind::Bool) {
            if (before.*f.boolField != after.*f.boolField)
                u.setBool(key, after.*f.boolField);
        } else if (before.*f.intField != after.*f.intField) {
            u.setInteger(key, after.*f.intField);
        }
    }
}

} // namespace gelcoat
