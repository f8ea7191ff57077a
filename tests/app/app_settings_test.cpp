#include "app/app_settings.h"
#include "app/preferences.h"
#include "tests/doubles/fake_login_items.h"
#include "tests/doubles/log_capture.h"
#include "tests/doubles/memory_user_defaults.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

using test::FakeLoginItems;
using test::MemoryUserDefaults;

// Each stored value is read only when valid (else the default), and a rejected value stays
// stored until the setting is changed.
TEST(AppSettings, ReadsValidatedValuesAndLeavesTheStoreUntouched) {
    const struct {
        const char* key;
        QVariant stored; // invalid: nothing stored
        double holdDelay;
        bool useFan;
        std::int64_t fanSlots, historyLimit;
    } cases[] = {
        {"holdDelay", QVariant(), 0.25, true, 12, 50},
        {"holdDelay", 0.3, 0.25, true, 12, 50},
        {"holdDelay", 0.3505, 0.3505, true, 12, 50},
        {"holdDelay", QStringLiteral("0.35"), 0.25, true, 12, 50},
        {"pickerStyle", QStringLiteral("ring"), 0.25, false, 12, 50},
        {"pickerStyle", QStringLiteral("Ring"), 0.25, true, 12, 50},
        {"fanSlots", 16, 0.25, true, 16, 50},
        {"fanSlots", 10, 0.25, true, 12, 50},
        {"historyLimit", 200, 0.25, true, 12, 200},
        {"historyLimit", 30, 0.25, true, 12, 50},
        {"historyLimit", QStringLiteral("lots"), 0.25, true, 12, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + (" = " + c.stored.toString().toStdString()));
        MemoryUserDefaults defaults;
        if (c.stored.isValid()) defaults.setRaw(QString::fromLatin1(c.key), c.stored);
        FakeLoginItems loginItems;
        AppSettings settings(defaults, loginItems);
        EXPECT_DOUBLE_EQ(settings.holdDelay(), c.holdDelay);
        EXPECT_EQ(settings.useFan(), c.useFan);
        EXPECT_EQ(settings.fanSlots(), c.fanSlots);
        EXPECT_EQ(settings.historyLimit(), c.historyLimit);
        EXPECT_EQ(defaults.raw(QString::fromLatin1(c.key)), c.stored);
    }
}

// The default list stands in only when nothing or no list is stored, and for the default list
// of early builds (another platform's ids); a list the user edited, even empty, stays. The paste
// lists follow the same rule (the terminals' defaults are tested by pasting into them).
TEST(AppSettings, ExcludedAndPasteAppsDefaultOnlyWhenMissingOrNotAList) {
    FakeLoginItems loginItems;
    QStringList mine = Preferences::formerDefaultExcludedApps();
    mine << QStringLiteral("keepass2");
    const QStringList defaults = Preferences::defaultExcludedApps();
    for (const auto& [stored, expected] :
         {std::pair{QVariant(), defaults},
          {QVariant(QStringLiteral("com.example.one")), defaults},
          {QVariant(QStringList{}), QStringList{}},
          {QVariant(Preferences::formerDefaultExcludedApps()), defaults},
          {QVariant(mine), mine}}) {
        MemoryUserDefaults store;
        if (stored.isValid()) store.setRaw(QStringLiteral("excludedApps"), stored);
        EXPECT_EQ(AppSettings(store, loginItems).excludedApps(), expected)
            << stored.toString().toStdString();
    }
    MemoryUserDefaults store;
    EXPECT_TRUE(AppSettings(store, loginItems).pasteApps(PasteAppList::passThrough).isEmpty());
    store.setRaw(QStringLiteral("shiftInsertApps"), QStringList{});
    AppSettings stored(store, loginItems);
    EXPECT_TRUE(stored.pasteApps(PasteAppList::shiftInsert).isEmpty());
    stored.setPasteApps(PasteAppList::passThrough, {QStringLiteral("emacs")});
    EXPECT_EQ(store.stringArrayForKey(QStringLiteral("passThroughApps")),
              QStringList{QStringLiteral("emacs")});
}

// Setters store what they are given (the window offers only valid values) and announce it; the
// onboarding flag is announced without calling onChange.
TEST(AppSettings, EveryPublishedWriteIsStoredAsGivenAndAnnounced) {
    MemoryUserDefaults defaults;
    FakeLoginItems loginItems;
    AppSettings settings(defaults, loginItems);
    int onChangeCalls = 0;
    int changedSignals = 0;
    settings.onChange = [&] { ++onChangeCalls; };
    QObject::connect(&settings, &AppSettings::changed, [&] { ++changedSignals; });

    settings.setUseFan(false);
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("pickerStyle")), QStringLiteral("ring"));
    settings.setUseFan(true);
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("pickerStyle")), QStringLiteral("fan"));
    settings.setHoldDelay(0.3);
    settings.setFanSlots(16);
    settings.setHistoryLimit(100);
    settings.setExcludedApps({QStringLiteral("org.keepassxc.KeePassXC")});
    EXPECT_EQ(onChangeCalls, 6);
    EXPECT_DOUBLE_EQ(defaults.doubleForKey(QStringLiteral("holdDelay")), 0.3);
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("fanSlots")), 16);
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("historyLimit")), 100);
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("excludedApps")),
              QStringList{QStringLiteral("org.keepassxc.KeePassXC")});
    settings.setOnboardingDone(true);
    EXPECT_EQ(onChangeCalls, 6);
    EXPECT_EQ(changedSignals, 7);
    EXPECT_TRUE(AppSettings(defaults, loginItems).onboardingDone());
}

// The login item is switched on at the first launch only (and not registered again when it is
// already on); only the enabled status counts as on; a refused change is logged and the switch
// springs back.
TEST(AppSettings, LoginItemDefaultStatusAndFailure) {
    MemoryUserDefaults defaults;
    FakeLoginItems loginItems;
    {
        AppSettings first(defaults, loginItems);
        first.applyLaunchAtLoginDefaultOnce();
        EXPECT_TRUE(first.launchAtLogin());
        first.setLaunchAtLogin(false); // the user switches it off
    }
    AppSettings second(defaults, loginItems);
    second.applyLaunchAtLoginDefaultOnce();
    EXPECT_FALSE(second.launchAtLogin());
    EXPECT_EQ(loginItems.registerCalls, 1);
    MemoryUserDefaults fresh;
    FakeLoginItems enabled;
    enabled.current = LoginItemStatus::enabled;
    AppSettings(fresh, enabled).applyLaunchAtLoginDefaultOnce();
    EXPECT_EQ(enabled.registerCalls, 0);

    for (const auto status : {LoginItemStatus::requiresApproval, LoginItemStatus::notFound}) {
        loginItems.current = status;
        EXPECT_FALSE(second.launchAtLogin());
    }
    loginItems.current = LoginItemStatus::notRegistered;
    loginItems.fail = true;
    int changedSignals = 0;
    QObject::connect(&second, &AppSettings::changed, [&] { ++changedSignals; });
    test::LogCapture log;
    second.setLaunchAtLogin(true);
    EXPECT_TRUE(log.contains(QStringLiteral("login item: registration refused")));
    EXPECT_EQ(changedSignals, 1);
    EXPECT_FALSE(second.launchAtLogin());
}

TEST(Preferences, KnownAppNames) {
    // Every default is listed by name when it is not installed.
    for (const QString& id : Preferences::defaultExcludedApps())
        EXPECT_TRUE(Preferences::knownAppName(id).has_value()) << id.toStdString();
    EXPECT_EQ(Preferences::knownAppName(QStringLiteral("org.example.none")), std::nullopt);
}

} // namespace
} // namespace vt
