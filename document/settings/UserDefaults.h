#pragma once
// The user-defaults store over QSettings, with registered defaults: values
// that reads fall back to when the user never stored one, and that are
// never written into the user's settings themselves.

#include <QString>
#include <QVariant>

class QSettings;

namespace gelcoat {

class UserDefaults {
public:
    static UserDefaults& standard();

    void registerDefault(const QString& key, const QVariant& value);
    QVariant objectForKey(const QString& key) const;

    // "YES", "true", "1"… read as true: the first non-blank character is one
    // of Y, y, T, t or a digit 1–9. Numbers read as non-zero, missing as false.
    bool boolForKey(const QString& key) const;
    // Leading integer of a string, a number truncated, 0 otherwise.
    std::int32_t integerForKey(const QString& key) const;

    // The same through a store the caller opened: reading several keys,
    // opening the store once costs less than reading the keys.
    QVariant objectForKey(const QString& key, const QSettings& store) const;
    bool boolForKey(const QString& key, const QSettings& store) const;
    std::int32_t integerForKey(const QString& key, const QSettings& store) const;

    void setBool(const QString& key, bool value);    // stored as "YES" / "NO"
    void setInteger(const QString& key, std::int32_t value);
    void setString(const QString& key, const QString& value);

    // Drops every registered default, for tests.
    void resetRegisteredDefaultsForTesting();

private:
    UserDefaults() = default;
};

// The string-to-boolean rule of the store, shared with readers of its files.
bool boolFromString(const QString& text);

} // namespace gelcoat
