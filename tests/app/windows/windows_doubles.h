#pragma once
#include "app/user_driver.h"
#include "platform/app_catalog.h"
#include "platform/login_items.h"
#include "platform/trust.h"
#include "platform/user_defaults.h"
#include <QHash>
#include <QVariant>

namespace vt::test {

// A trust check whose answer the test sets.
class FakeTrust final : public Trust {
public:
    bool trusted = false;
    TrustProblem whenNot = TrustProblem::chordTaken; // the problem while not trusted
    mutable int checks = 0;
    TrustProblem problem() const override {
        ++checks;
        return trusted ? TrustProblem::none : whenNot;
    }
};

// Preferences in memory; values keep the type they were stored with.
class InMemoryDefaults final : public UserDefaults {
public:
    QHash<QString, QVariant> values;
    QHash<QString, int> writes;

    bool contains(const QString& key) const override { return values.contains(key); }
    double doubleForKey(const QString& key) const override { return values.value(key).toDouble(); }
    std::optional<QString> stringForKey(const QString& key) const override {
        const QVariant v = values.value(key);
        if (v.typeId() != QMetaType::QString) return std::nullopt;
        return v.toString();
    }
    std::int64_t integerForKey(const QString& key) const override {
        return values.value(key).toLongLong();
    }
    std::optional<QStringList> stringArrayForKey(const QString& key) const override {
        const QVariant v = values.value(key);
        if (v.typeId() != QMetaType::QStringList) return std::nullopt;
        return v.toStringList();
    }
    bool boolForKey(const QString& key) const override { return values.value(key).toBool(); }
    void setDouble(const QString& key, double v) override { put(key, v); }
    void setString(const QString& key, const QString& v) override { put(key, v); }
    void setInteger(const QString& key, std::int64_t v) override { put(key, qlonglong(v)); }
    void setStringArray(const QString& key, const QStringList& v) override { put(key, v); }
    void setBool(const QString& key, bool v) override { put(key, v); }

private:
    void put(const QString& key, const QVariant& v) {
        values.insert(key, v);
        ++writes[key];
    }
};

// A login-item service whose status the test sets; registering enables it.
class StubLoginItems final : public LoginItemService {
public:
    LoginItemStatus current = LoginItemStatus::notRegistered;
    LoginItemStatus status() const override { return current; }
    bool registerItem(QString*) override {
        current = LoginItemStatus::enabled;
        return true;
    }
    bool unregisterItem(QString*) override {
        current = LoginItemStatus::notRegistered;
        return true;
    }
};

// Installed applications listed by the test, in its order.
class FakeCatalog final : public AppCatalog {
public:
    std::vector<InstalledApp> apps;
    std::vector<InstalledApp> installedApps() const override { return apps; }
    std::optional<InstalledApp> app(const QString& id) const override {
        for (const InstalledApp& a : apps) {
            if (a.id == id) return a;
        }
        return std::nullopt;
    }
};

// Update outcomes go nowhere: the tests watch the flags and the windows, not the check window.
class SilentPresenter final : public UpdatePresenter {
public:
    void showChecking() override {}
    void showUpdateFound(const AppcastItem&, const QString&) override {}
    void showUpToDate(const QString&) override {}
    void showFailure(const QString&) override {}
    void showUpdatedByPackage() override {}
};

} // namespace vt::test
