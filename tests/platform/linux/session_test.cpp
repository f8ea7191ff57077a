#include "app/app_settings.h"
#include "app/preferences.h"
#include "platform/config.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
#include "tests/doubles/case_name.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vt {
namespace {

// Points XDG_CONFIG_HOME at a fresh folder for the life of the test.
class ConfigHome : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }
    QString path(const QString& relative) const { return dir_.filePath(relative); }
    void writeFile(const QString& relative, const QByteArray& contents) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QString makeProgram(const QString& name) {
        const QString program = path(name);
        writeFile(name, "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
        return program;
    }
    QTemporaryDir dir_;
    QByteArray previous_;
};

using UserDefaultsFile = ConfigHome;

// Only the owner may read or change what the program writes, whatever the umask.
mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST_F(UserDefaultsFile, LivesInTheConfigHomeAndIsPrivate) {
    EXPECT_EQ(QSettingsUserDefaults::defaultFilePath(),
              path(QStringLiteral("Vantrel/Vantrel.conf")));
    const mode_t umaskBefore = ::umask(0);
    QSettingsUserDefaults defaults;
    defaults.setBool(QStringLiteral("onboardingDone"), true);
    defaults.setBool(QStringLiteral("onboardingDone"), false);
    ::umask(umaskBefore);
    EXPECT_EQ(modeOf(path(QStringLiteral("Vantrel/Vantrel.conf"))), 0600u);
    EXPECT_EQ(modeOf(path(QStringLiteral("Vantrel"))), 0700u);
}

TEST_F(UserDefaultsFile, ValuesSurviveARestartWithTheirTypes) {
    {
        QSettingsUserDefaults defaults;
        defaults.setDouble(QStringLiteral("holdDelay"), 0.35);
        defaults.setString(QStringLiteral("pickerStyle"), QStringLiteral("ring"));
        defaults.setInteger(QStringLiteral("historyLimit"), 200);
        defaults.setStringArray(QStringLiteral("excludedApps"), {QStringLiteral("a, b")});
        defaults.setStringArray(QStringLiteral("emptyList"), {});
        defaults.setBool(QStringLiteral("onboardingDone"), true);
    }
    QSettingsUserDefaults defaults; // a new launch reads the file
    EXPECT_DOUBLE_EQ(defaults.doubleForKey(QStringLiteral("holdDelay")), 0.35);
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("pickerStyle")), QStringLiteral("ring"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("historyLimit")), 200);
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("excludedApps")),
              QStringList{QStringLiteral("a, b")});
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("emptyList")), QStringList{});
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("onboardingDone")));
}

// Wrong types read as missing; the settings fall back to their defaults for those.
TEST_F(UserDefaultsFile, SettingsStoreReadsAHandEditedFileWithItsDefaults) {
    writeFile(QStringLiteral("Vantrel/Vantrel.conf"),
              "[General]\nholdDelay=0.3505\nhistoryLimit=many\nexcludedApps=com.example.one\n"
              "fanSlots=16\npickerStyle=Ring\n");
    QSettingsUserDefaults defaults;
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("historyLimit")), 0);
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("excludedApps")), std::nullopt);
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("missing")));
    XdgAutostartLoginItems loginItems;
    AppSettings settings(defaults, loginItems);
    EXPECT_DOUBLE_EQ(settings.holdDelay(), 0.3505);
    EXPECT_EQ(settings.historyLimit(), 50);
    EXPECT_EQ(settings.fanSlots(), 16);
    EXPECT_TRUE(settings.useFan());
    EXPECT_EQ(settings.excludedApps(), Preferences::defaultExcludedApps());
}

using AutostartEntry = ConfigHome;

TEST_F(AutostartEntry, RegisterWritesAValidEntryThatStartsTheProgramAndUnregisterRemovesIt) {
    const QString program = makeProgram(QStringLiteral("bin dir/it's \"$(odd)\" `x` 100%"));
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
    EXPECT_EQ(items.entryPath(), path(QStringLiteral("autostart/io.vantrel.Vantrel.desktop")));
    EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);

    QString error;
    const mode_t umaskBefore = ::umask(0);
    ASSERT_TRUE(items.registerItem(&error)) << error.toStdString();
    ::umask(umaskBefore);
    EXPECT_EQ(items.status(), LoginItemStatus::enabled);
    EXPECT_EQ(modeOf(items.entryPath()), 0644u);
    EXPECT_EQ(modeOf(path(QStringLiteral("autostart"))), 0700u);

    QFile file(items.entryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString contents = QString::fromUtf8(file.readAll());
    const QStringList lines = contents.split(u'\n');
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));
    for (const char* line : {"Type=Application", "Name=Vantrel", "Icon=io.vantrel.Vantrel",
                             "X-GNOME-Autostart-enabled=true"})
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
    // Quoted for the Exec key (" ` $ \ take a backslash, % doubles), then each backslash doubled
    // as in every string value of a desktop entry.
    const QString exec = QStringLiteral("Exec=\"") + dir_.path() +
                         QStringLiteral(R"x(/bin dir/it's \\"\\$(odd)\\" \\`x\\` 100%%")x");
    EXPECT_TRUE(lines.contains(exec)) << contents.toStdString();

    EXPECT_TRUE(items.unregisterItem(&error));
    EXPECT_FALSE(QFile::exists(items.entryPath()));
    EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
    EXPECT_TRUE(items.unregisterItem(&error)); // nothing left to remove is no failure
}

struct EntryStatus {
    const char* what;
    const char* extraLines;
    bool programExists;
    LoginItemStatus expected;
};

class AutostartStatus : public ConfigHome, public ::testing::WithParamInterface<EntryStatus> {};

TEST_P(AutostartStatus, ReadsTheEntryAsTheDesktopDoes) {
    const EntryStatus& c = GetParam();
    const QString program = c.programExists ? makeProgram(QStringLiteral("vantrel"))
                                            : path(QStringLiteral("gone/vantrel"));
    writeFile(QStringLiteral("autostart/io.vantrel.Vantrel.desktop"),
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Vantrel\nExec=\"%1\"\n%2")
                  .arg(program, QString::fromLatin1(c.extraLines))
                  .toUtf8());
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
    EXPECT_EQ(items.status(), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(LoginItems, AutostartStatus, ::testing::Values(
    EntryStatus{"plain", "", true, LoginItemStatus::enabled},
    EntryStatus{"hidden", "Hidden=true\n", true, LoginItemStatus::notRegistered},
    EntryStatus{"gnome off", "X-GNOME-Autostart-enabled=false\n", true, LoginItemStatus::notRegistered},
    EntryStatus{"program gone", "", false, LoginItemStatus::notFound}
), vt::test::caseName);
// clang-format on

TEST_F(AutostartEntry, FailedWriteIsReportedAndStatusStaysTrue) {
    writeFile(QStringLiteral("autostart"), "a file where the folder should be");
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(),
                                 makeProgram(QStringLiteral("vantrel")));
    QString error;
    EXPECT_FALSE(items.registerItem(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
}

TEST_F(AutostartEntry, FirstLaunchRegistersOnceAndRespectsARemoval) {
    const QString program = makeProgram(QStringLiteral("vantrel"));
    {
        QSettingsUserDefaults defaults;
        XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
        AppSettings settings(defaults, items);
        settings.applyLaunchAtLoginDefaultOnce();
        EXPECT_TRUE(settings.launchAtLogin());
    }
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("autostart/io.vantrel.Vantrel.desktop"))));
    QSettingsUserDefaults defaults;
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
    AppSettings settings(defaults, items);
    settings.applyLaunchAtLoginDefaultOnce();
    EXPECT_FALSE(settings.launchAtLogin());
    EXPECT_FALSE(QFile::exists(items.entryPath()));
}

} // namespace
} // namespace vt
