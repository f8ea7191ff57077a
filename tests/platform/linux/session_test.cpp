#include "platform/config.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
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

// Values survive a restart with their types, in a file only the owner may read, whatever the
// umask.
TEST_F(UserDefaultsFile, ValuesSurviveARestartInAPrivateFile) {
    EXPECT_EQ(QSettingsUserDefaults::defaultFilePath(),
              path(QStringLiteral("Vantrel/Vantrel.conf")));
    {
        const mode_t umaskBefore = ::umask(0);
        QSettingsUserDefaults defaults;
        defaults.setDouble(QStringLiteral("holdDelay"), 0.35);
        defaults.setString(QStringLiteral("pickerStyle"), QStringLiteral("ring"));
        defaults.setInteger(QStringLiteral("historyLimit"), 200);
        defaults.setStringArray(QStringLiteral("excludedApps"), {QStringLiteral("a, b")});
        defaults.setStringArray(QStringLiteral("emptyList"), {});
        defaults.setBool(QStringLiteral("onboardingDone"), true);
        ::umask(umaskBefore);
    }
    EXPECT_EQ(modeOf(path(QStringLiteral("Vantrel/Vantrel.conf"))), 0600u);
    EXPECT_EQ(modeOf(path(QStringLiteral("Vantrel"))), 0700u);
    QSettingsUserDefaults defaults; // a new launch reads the file
    EXPECT_DOUBLE_EQ(defaults.doubleForKey(QStringLiteral("holdDelay")), 0.35);
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("pickerStyle")), QStringLiteral("ring"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("historyLimit")), 200);
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("excludedApps")),
              QStringList{QStringLiteral("a, b")});
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("emptyList")), QStringList{});
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("onboardingDone")));
}

// In a hand-edited file, values of the wrong type read as missing (the settings then fall back
// to their defaults).
TEST_F(UserDefaultsFile, WrongTypesInAHandEditedFileReadAsMissing) {
    writeFile(QStringLiteral("Vantrel/Vantrel.conf"),
              "[General]\nholdDelay=0.3505\nhistoryLimit=many\nexcludedApps=com.example.one\n");
    QSettingsUserDefaults defaults;
    EXPECT_DOUBLE_EQ(defaults.doubleForKey(QStringLiteral("holdDelay")), 0.3505);
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("historyLimit")), 0);
    EXPECT_EQ(defaults.stringArrayForKey(QStringLiteral("excludedApps")), std::nullopt);
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("missing")));
}

using AutostartEntry = ConfigHome;

TEST_F(AutostartEntry, RegisterWritesAValidEntryThatStartsTheProgramAndUnregisterRemovesIt) {
    const QString program = makeProgram(QStringLiteral("bin dir/it's \"$(odd)\" `x` 100%"));
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
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

// The entry is read as the desktop reads it.
TEST_F(AutostartEntry, StatusFollowsTheEntry) {
    const struct {
        const char* extraLines;
        bool programExists;
        LoginItemStatus expected;
    } cases[] = {
        {"", true, LoginItemStatus::enabled},
        {"Hidden=true\n", true, LoginItemStatus::notRegistered},
        {"X-GNOME-Autostart-enabled=false\n", true, LoginItemStatus::notRegistered},
        {"", false, LoginItemStatus::notFound},
    };
    for (const auto& c : cases) {
        const QString program = c.programExists ? makeProgram(QStringLiteral("vantrel"))
                                                : path(QStringLiteral("gone/vantrel"));
        writeFile(QStringLiteral("autostart/io.vantrel.Vantrel.desktop"),
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=Vantrel\nExec=\"%1\"\n%2")
                      .arg(program, QString::fromLatin1(c.extraLines))
                      .toUtf8());
        XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(), program);
        EXPECT_EQ(items.status(), c.expected) << c.extraLines << c.programExists;
    }
}

TEST_F(AutostartEntry, FailedWriteIsReportedAndStatusStaysTrue) {
    writeFile(QStringLiteral("autostart"), "a file where the folder should be");
    XdgAutostartLoginItems items(XdgAutostartLoginItems::defaultEntryPath(),
                                 makeProgram(QStringLiteral("vantrel")));
    QString error;
    EXPECT_FALSE(items.registerItem(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
}

} // namespace
} // namespace vt
