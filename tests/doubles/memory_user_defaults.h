#pragma once
#include "platform/user_defaults.h"
#include <QHash>
#include <QVariant>

namespace vt::test {

// UserDefaults in memory, with the typed read rules of the real store. Values keep the type they
// were stored with, so tests can plant wrongly typed values with setRaw().
class MemoryUserDefaults final : public UserDefaults {
public:
    void setRaw(const QString& key, const QVariant& value) { values_.insert(key, value); }
    QVariant raw(const QString& key) const { return values_.value(key); }

    bool contains(const QString& key) const override { return values_.contains(key); }
    double doubleForKey(const QString& key) const override {
        const QVariant value = values_.value(key);
        bool ok = false;
        const double number = value.toDouble(&ok);
        return isNumber(value) && ok ? number : 0.0;
    }
    std::optional<QString> stringForKey(const QString& key) const override {
        const QVariant value = values_.value(key);
        return value.typeId() == QMetaType::QString ? std::optional(value.toString())
                                                    : std::nullopt;
    }
    std::int64_t integerForKey(const QString& key) const override {
        const QVariant value = values_.value(key);
        return isNumber(value) ? static_cast<std::int64_t>(value.toDouble()) : 0;
    }
    std::optional<QStringList> stringArrayForKey(const QString& key) const override {
        const QVariant value = values_.value(key);
        return value.typeId() == QMetaType::QStringList ? std::optional(value.toStringList())
                                                        : std::nullopt;
    }
    bool boolForKey(const QString& key) const override {
        const QVariant value = values_.value(key);
        return (value.typeId() == QMetaType::Bool || isNumber(value)) && value.toBool();
    }

    void setDouble(const QString& key, double value) override { write(key, value); }
    void setString(const QString& key, const QString& value) override { write(key, value); }
    void setInteger(const QString& key, std::int64_t value) override {
        write(key, QVariant::fromValue<qlonglong>(value));
    }
    void setStringArray(const QString& key, const QStringList& value) override {
        write(key, value);
    }
    void setBool(const QString& key, bool value) override { write(key, value); }

private:
    static bool isNumber(const QVariant& value) {
        const int type = value.typeId();
        return type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong ||
               type == QMetaType::Bool;
    }
    void write(const QString& key, const QVariant& value) { values_.insert(key, value); }

    QHash<QString, QVariant> values_;
};

} // namespace vt::test
