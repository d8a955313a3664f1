#include "document/settings/UserDefaults.h"

#include "document/settings/NumberText.h"

#include <QHash>
#include <QMutex>
#include <QSettings>


namespace gelcoat {

namespace {

QMutex registeredMutex;

QHash<QString, QVariant>& registered()
{
    static QHash<QString, QVariant> values;
    return values;
}

bool boolFromVariant(const QVariant& v)
{
    if (!v.isValid())
        return false;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toLongLong() != 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble() != 0.0;
    default:
        return boolFromString(v.toString());
    }
}

std::int32_t intFromVariant(const QVariant& v)
{
    if (!v.isValid())
        return 0;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return saturatedInt32(v.toDouble());
    default:
        return integerFromString(v.toString());
    }
}

} // namespace

bool boolFromString(const QString& text)
{
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        const char16_t u = c.unicode();
        return u == u'Y' || u == u'y' || u == u'T' || u == u't' || (u >= u'1' && u <= u'9');
    }
    return false;
}

UserDefaults& UserDefaults::standard()
{
    static UserDefaults defaults;
    return defaults;
}

void UserDefaults::registerDefault(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&registeredMutex);
    registered().insert(key, value);
}

QVariant UserDefaults::objectForKey(const QString& key) const
{
    return objectForKey(key, QSettings());
}

QVariant UserDefaults::objectForKey(const QString& key, const QSettings& store) const
{
    if (store.contains(key))
        return store.value(key);
    QMutexLocker lock(&registeredMutex);
    return registered().value(key);
}

bool UserDefaults::boolForKey(const QString& key) const
{
    return boolFromVariant(objectForKey(key));
}

bool UserDefaults::boolForKey(const QString& key, const QSettings& store) const
{
    return boolFromVariant(objectForKey(key, store));
}

std::int32_t UserDefaults::integerForKey(const QString& key) const
{
    return intFromVariant(objectForKey(key));
}

std::int32_t UserDefaults::integerForKey(const QString& key, const QSettings& store) const
{
    return intFromVariant(objectForKey(key, store));
}

void UserDefaults::setBool(const QString& key, bool value)
{
    QSettings().setValue(key, value ? QStringLiteral("YES") : QStringLiteral("NO"));
}

void UserDefaults::setInteger(const QString& key, std::int32_t value)
{
    QSettings().setValue(key, value);
}

void UserDefaults::setString(const QString& key, const QString& value)
{
    QSettings().setValue(key, value);
}

void UserDefaults::resetRegisteredDefaultsForTesting()
{
    QMutexLocker lock(&registeredMutex);
    registered().clear();
}

} // namespace gelcoat
