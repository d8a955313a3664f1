#include "app/delegate/SystemVersion.h"

#include <QStringList>
#include <QtGlobal>

namespace gelcoat {

namespace {

std::int32_t cachedVersion = 0;

std::function<QString()>& versionSource()
{
    static std::function<QString()> source;
    return source;
}

} // namespace

std::int32_t versionNumberFromString(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.isEmpty() || parts.size() > 3)
        return 0;
    std::int32_t number = 0;
    for (int i = 0; i < 3; ++i) {
        int component = 0;
        if (i < parts.size()) {
            bool ok = false;
            component = parts[i].toInt(&ok);
            if (!ok || component < 0 || component > 255)
                return 0;
        }
        number = (number << 8) | component;
    }
    return number;
}

std::int32_t KPGetSystemVersion()
{
    if (cachedVersion == 0) {
        const auto& source = versionSource();
        cachedVersion = versionNumberFromString(source ? source() : QString::fromLatin1(qVersion()));
    }
    return cachedVersion;
}

void setSystemVersionSourceForTesting(std::function<QString()> source)
{
    versionSource() = std::move(source);
    cachedVersion = 0;
}

} // namespace gelcoat
