#pragma once
#include "app/app_settings.h"
#include "app/user_driver.h"
#include "platform/app_catalog.h"
#include "platform/trust.h"
#include "tests/doubles/fake_login_items.h"
#include "tests/doubles/memory_user_defaults.h"
#include <gtest/gtest.h>
#include <stdexcept>

namespace vt::test {

// A trust check whose answer the test sets.
class FakeTrust final : public Trust {
public:
    bool trusted = false;
    TrustProblem whenNot = TrustProblem::chordTaken; // the problem while not trusted
    TrustProblem problem() const override { return trusted ? TrustProblem::none : whenNot; }
};

// Installed applications listed by the test, in its order.
class FakeCatalog final : public AppCatalog {
public:
    std::vector<InstalledApp> apps;
    std::vector<InstalledApp> installedApps() const override { return apps; }
    std::optional<InstalledApp> app(const QString& id) const override {
        for (const InstalledApp& a : apps)
            if (a.id == id) return a;
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

// The settings store and the platform doubles every window test starts from.
struct WindowsFixture : ::testing::Test {
    FakeTrust trust;
    MemoryUserDefaults defaults;
    FakeLoginItems loginItems;
    FakeCatalog catalog;
    SilentPresenter presenter;
    AppSettings settings{defaults, loginItems};

    // The child of that name; the test fails (by an exception) when there is none.
    template <typename T> static T* find(QObject* root, const char* name) {
        if (auto* w = root->findChild<T*>(QString::fromLatin1(name))) return w;
        throw std::runtime_error(std::string("no widget named ") + name);
    }
};

} // namespace vt::test
