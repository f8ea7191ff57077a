#include "app/app_settings.h"
#include "app/preferences.h"
#include "log_capture.h"
#include "tests/doubles/case_name.h"
#include "tests/doubles/fake_login_items.h"
#include "tests/doubles/memory_user_defaults.h"
#include <gtest/gtest.h>

namespace vt {
namespace {

using test::FakeLoginItems;
using test::MemoryUserDefaults;

struct StoredRead {
    const char* what;
    const char* key;
    QVariant stored; // invalid: nothing stored
    double holdDelay;
    bool useFan;
    std::int64_t fanSlots;
    std::int64_t historyLimit;
};

class StoredValueRead : public ::testing::TestWithParam<StoredRead> {};

TEST_P(StoredValueRead, ReadsValidatedValueAndLeavesStoreUntouched) {
    const StoredRead& c = GetParam();
    MemoryUserDefaults defaults;
    if (c.stored.isValid()) defaults.setRaw(QString::fromLatin1(c.key), c.stored);
    FakeLoginItems loginItems;
    AppSettings settings(defaults, loginItems);

    EXPECT_DOUBLE_EQ(settings.holdDelay(), c.holdDelay);
    EXPECT_EQ(settings.useFan(), c.useFan);
    EXPECT_EQ(settings.fanSlots(), c.fanSlots);
    EXPECT_EQ(settings.historyLimit(), c.historyLimit);
    // A rejected value stays stored until the setting is changed.
    EXPECT_EQ(defaults.raw(QString::fromLatin1(c.key)), c.stored);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Settings, StoredValueRead, ::testing::Values(
    StoredRead{"nothing stored", "holdDelay", QVariant(), 0.25, true, 12, 50},
    StoredRead{"delay 0.3", "holdDelay", 0.3, 0.25, true, 12, 50},
    StoredRead{"delay 0.3505", "holdDelay", 0.3505, 0.3505, true, 12, 50},
    StoredRead{"delay as text", "holdDelay", QStringLiteral("0.35"), 0.25, true, 12, 50},
    StoredRead{"style ring", "pickerStyle", QStringLiteral("ring"), 0.25, false, 12, 50},
    StoredRead{"style Ring", "pickerStyle", QStringLiteral("Ring"), 0.25, true, 12, 50},
    StoredRead{"fan 16", "fanSlots", 16, 0.25, true, 16, 50},
    StoredRead{"fan 10", "fanSlots", 10, 0.25, true, 12, 50},
    StoredRead{"limit 200", "historyLimit", 200, 0.25, true, 12, 200},
    StoredRead{"limit 30", "historyLimit", 30, 0.25, true, 12, 50},
    StoredRead{"limit text", "historyLimit", QStringLiteral("lots"), 0.25, true, 12, 50}
), vt::test::caseName);
// clang-format on

TEST(AppSettings, ExcludedAppsDefaultOnlyWhenMissingOrNotAList) {
    FakeLoginItems loginItems;
    MemoryUserDefaults missing;
    EXPECT_EQ(AppSettings(missing, loginItems).excludedApps(), Preferences::defaultExcludedApps());

    MemoryUserDefaults notAList;
    notAList.setRaw(QStringLiteral("excludedApps"), QStringLiteral("com.example.one"));
    EXPECT_EQ(AppSettings(notAList, loginItems).excludedApps(), Preferences::defaultExcludedApps());

    MemoryUserDefaults empty;
    empty.setRaw(QStringLiteral("excludedApps"), QStringList{});
    EXPECT_TRUE(AppSettings(empty, loginItems).excludedApps().isEmpty());

    // The default list of early builds (another platform's ids) becomes today's default; a list
    // the user edited stays.
    MemoryUserDefaults former;
    former.setRaw(QStringLiteral("excludedApps"), Preferences::formerDefaultExcludedApps());
    EXPECT_EQ(AppSettings(former, loginItems).excludedApps(), Preferences::defaultExcludedApps());
    MemoryUserDefaults edited;
    QStringList mine = Preferences::formerDefaultExcludedApps();
    mine << QStringLiteral("keepass2");
    edited.setRaw(QStringLiteral("excludedApps"), mine);
    EXPECT_EQ(AppSettings(edited, loginItems).excludedApps(), mine);
    // The paste lists follow the same rule: terminals and the xterm family by default, none
    // keeping Ctrl+V; a stored list, even empty, is the user's.
    const AppSettings fresh(missing, loginItems);
    EXPECT_TRUE(fresh.pasteApps(PasteAppList::ctrlShiftV).contains(QStringLiteral("lxterminal")));
    EXPECT_TRUE(fresh.pasteApps(PasteAppList::shiftInsert).contains(QStringLiteral("xterm")));
    EXPECT_TRUE(fresh.pasteApps(PasteAppList::passThrough).isEmpty());
    empty.setRaw(QStringLiteral("shiftInsertApps"), QStringList{});
    AppSettings stored(empty, loginItems);
    EXPECT_TRUE(stored.pasteApps(PasteAppList::shiftInsert).isEmpty());
    stored.setPasteApps(PasteAppList::passThrough, {QStringLiteral("emacs")});
    EXPECT_EQ(empty.stringArrayForKey(QStringLiteral("passThroughApps")),
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

TEST(AppSettings, LoginDefaultAppliesOnFirstLaunchOnly) {
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

    // Already enabled: nothing registers again.
    MemoryUserDefaults fresh;
    FakeLoginItems enabled;
    enabled.current = LoginItemStatus::enabled;
    AppSettings(fresh, enabled).applyLaunchAtLoginDefaultOnce();
    EXPECT_EQ(enabled.registerCalls, 0);
}

TEST(AppSettings, FailedLoginItemChangeIsLoggedAndStillAnnounced) {
    MemoryUserDefaults defaults;
    FakeLoginItems loginItems;
    loginItems.fail = true;
    AppSettings settings(defaults, loginItems);
    int changedSignals = 0;
    QObject::connect(&settings, &AppSettings::changed, [&] { ++changedSignals; });
    test::LogCapture log;
    settings.setLaunchAtLogin(true);
    EXPECT_TRUE(log.contains(QStringLiteral("login item: registration refused")));
    EXPECT_EQ(changedSignals, 1);
    EXPECT_FALSE(settings.launchAtLogin()); // the switch springs back to the truth
}

TEST(AppSettings, OnlyTheEnabledStatusCountsAsOn) {
    MemoryUserDefaults defaults;
    FakeLoginItems loginItems;
    AppSettings settings(defaults, loginItems);
    for (const auto status : {LoginItemStatus::notRegistered, LoginItemStatus::requiresApproval,
                              LoginItemStatus::notFound, LoginItemStatus::enabled}) {
        loginItems.current = status;
        EXPECT_EQ(settings.launchAtLogin(), status == LoginItemStatus::enabled);
    }
}

TEST(Preferences, KnownAppNames) {
    EXPECT_EQ(Preferences::knownAppName(QStringLiteral("org.gnome.seahorse.Application")),
              QStringLiteral("パスワードと鍵"));
    // Every default is listed by name when it is not installed.
    for (const QString& id : Preferences::defaultExcludedApps())
        EXPECT_TRUE(Preferences::knownAppName(id).has_value()) << id.toStdString();
    EXPECT_EQ(Preferences::knownAppName(QStringLiteral("org.example.none")), std::nullopt);
    EXPECT_EQ(Preferences::holdDelayOptions().front().label, QStringLiteral("速い（0.2秒）"));
}

} // namespace
} // namespace vt
