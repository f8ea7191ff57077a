#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace vt {

// The user's preference storage, read with typed lookups. The settings store relies on the
// read rules below to tell a missing or wrongly typed value from a stored one.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;
    // True when anything is stored under key.
    virtual bool contains(const QString& key) const = 0;
    // The stored number; 0 when missing or not a number.
    virtual double doubleForKey(const QString& key) const = 0;
    // The stored text; nullopt when missing or not text.
    virtual std::optional<QString> stringForKey(const QString& key) const = 0;
    // The stored integer; 0 when missing or not a number.
    virtual std::int64_t integerForKey(const QString& key) const = 0;
    // The stored list of texts; nullopt when missing or not a list of texts. An empty stored
    // list reads as an empty list.
    virtual std::optional<QStringList> stringArrayForKey(const QString& key) const = 0;
    // The stored flag; false when missing or not a flag.
    virtual bool boolForKey(const QString& key) const = 0;

    // Each setter stores its value at once, replacing whatever was stored under key.
    virtual void setDouble(const QString& key, double value) = 0;
    virtual void setString(const QString& key, const QString& value) = 0;
    virtual void setInteger(const QString& key, std::int64_t value) = 0;
    virtual void setStringArray(const QString& key, const QStringList& value) = 0;
    virtual void setBool(const QString& key, bool value) = 0;
};

} // namespace vt
