#include "app/app_info.h"
#include "app/app_location.h"
#include "app/move_to_applications.h"
#include "tests/doubles/memory_user_defaults.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vt {
namespace {

// Only the folders themselves count, not lookalikes or paths that leave them.
TEST(ApplicationsFolder, OnlyTheFolderItselfCounts) {
    for (const auto& [path, inside] : {std::pair{"/Applications/V.AppImage", true},
                                       {"/home/u/Applications/V.AppImage", true},
                                       {"//Applications///V.AppImage", true},
                                       {"/Applications.old/V.AppImage", false},
                                       {"/Applications/../tmp/V.AppImage", false},
                                       {"/applications/V.AppImage", false},
                                       {"/Applications", false}})
        EXPECT_EQ(AppLocation::isInApplicationsFolder(QString::fromUtf8(path), "/home/u"), inside)
            << path;
}

// Answers the alerts as a user would, and remembers what they said.
class ScriptedAlerts : public MoveAlerts {
public:
    Answer answer;
    int asked = 0, failures = 0;
    QString message, informative, failureMessage, failureInformative;
    void activate() override {}
    Answer askToMove(const QString& m, const QString& i) override {
        ++asked, message = m, informative = i;
        return answer;
    }
    void showMoveFailed(const QString& m, const QString& i) override {
        ++failures, failureMessage = m, failureInformative = i;
    }
};

// A temporary home (with its own Trash) and a fake system Applications folder.
class MoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        AppInfo::setDictionaryForTesting(std::nullopt);
        home_ = root_.filePath(QStringLiteral("home"));
        QDir().mkpath(home_);
        saved_ = {qgetenv("HOME"), qgetenv("XDG_DATA_HOME")};
        qputenv("HOME", home_.toUtf8());
        qputenv("XDG_DATA_HOME", (home_ + QStringLiteral("/.local/share")).toUtf8());
        systemApps_ = root_.filePath(QStringLiteral("Applications"));
        QDir().mkpath(systemApps_);
        environment_.home = home_;
        environment_.systemApplications = systemApps_;
        environment_.defaults = &defaults_;
        environment_.alerts = &alerts_;
        environment_.relaunch = [this](const QString& url) { relaunched_.append(url); };
    }
    void TearDown() override {
        qputenv("HOME", saved_.first);
        qputenv("XDG_DATA_HOME", saved_.second);
    }
    // Writes an executable file (and the folders it needs).
    static void write(const QString& path, const QByteArray& contents) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(contents);
        file.close();
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    QString makeBundle(const QString& relative, const QByteArray& contents = "#!/bin/sh\n") {
        environment_.bundlePath = root_.filePath(relative);
        write(environment_.bundlePath, contents);
        return environment_.bundlePath;
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir root_;
    QString home_;
    QString systemApps_;
    QPair<QByteArray, QByteArray> saved_;
    test::MemoryUserDefaults defaults_;
    ScriptedAlerts alerts_;
    QStringList relaunched_;
    MoveToApplications::Environment environment_;
};

// No prompt when not running from an AppImage, or from inside an Applications folder. A lookalike
// folder is no Applications folder: the prompt comes, with the program's texts. Declining keeps the
// bundle; ticking the box as well suppresses the next prompt.
TEST_F(MoveTest, DecliningKeepsTheBundleAndTheBoxSuppressesTheNextPrompt) {
    EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_));
    makeBundle(QStringLiteral("Applications/Utilities/Vantrel.AppImage"));
    EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_));
    EXPECT_EQ(alerts_.asked, 0);
    const QString bundle = makeBundle(QStringLiteral("Applications.old/Vantrel.AppImage"));
    const QString suppressed = QString::fromLatin1(MoveToApplications::kSuppressedKey);
    alerts_.answer = {false, false};
    EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_));
    EXPECT_EQ(alerts_.message,
              QStringLiteral("Vantrel の AppImage を ~/Applications に移動しますか？"));
    EXPECT_TRUE(alerts_.informative.endsWith(
        QStringLiteral("\n移動すると、移動した Vantrel で開き直します。")));
    EXPECT_FALSE(defaults_.boolForKey(suppressed));
    alerts_.answer = {false, true};
    EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_));
    EXPECT_TRUE(defaults_.boolForKey(suppressed));
    EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_)); // the next launch
    EXPECT_EQ(alerts_.asked, 2);
    EXPECT_TRUE(QFile::exists(bundle));
    EXPECT_TRUE(relaunched_.isEmpty());
}

TEST_F(MoveTest, TickingTheBoxAndMovingSuppressesAndMoves) {
    const QString bundle = makeBundle(QStringLiteral("Downloads/Vantrel.AppImage"), "new copy");
    write(systemApps_ + QStringLiteral("/Vantrel.AppImage"), "older copy"); // to the Trash first
    alerts_.answer = {true, true};
    EXPECT_TRUE(MoveToApplications::offerIfNeeded(environment_));
    EXPECT_TRUE(defaults_.boolForKey(QString::fromLatin1(MoveToApplications::kSuppressedKey)));
    const QString destination = systemApps_ + QStringLiteral("/Vantrel.AppImage");
    EXPECT_EQ(read(destination), QByteArray("new copy"));
    EXPECT_TRUE(QFileInfo(destination).isExecutable());
    EXPECT_FALSE(QFile::exists(bundle)); // the old copy went to the Trash, as did the older one
    QList<QByteArray> inTrash;
    for (QDirIterator it(home_ + "/.local/share/Trash/files", QDir::Files); it.hasNext();)
        inTrash.append(read(it.next()));
    EXPECT_EQ(QSet<QByteArray>(inTrash.begin(), inTrash.end()),
              QSet<QByteArray>({"new copy", "older copy"}));
    EXPECT_EQ(relaunched_, QStringList{destination});
}

TEST_F(MoveTest, UnwritableSystemFolderSendsTheBundleToThePerUserFolder) {
    makeBundle(QStringLiteral("Downloads/Vantrel.AppImage"));
    // A folder that can never be written: its parent is a file.
    write(root_.filePath(QStringLiteral("blocker")), {});
    environment_.systemApplications = root_.filePath(QStringLiteral("blocker/Applications"));
    ASSERT_FALSE(QFile::exists(home_ + QStringLiteral("/Applications")));
    alerts_.answer = {true, false};
    EXPECT_TRUE(MoveToApplications::offerIfNeeded(environment_));
    const QString destination = home_ + QStringLiteral("/Applications/Vantrel.AppImage");
    EXPECT_TRUE(QFile::exists(destination));
    EXPECT_EQ(relaunched_, QStringList{destination});
}

// The copy fails (the bundle is gone), or no folder can be made (a file stands where the
// per-user one would go): the error alert comes, describing the failure, and the launch goes on.
TEST_F(MoveTest, AFailedMoveShowsTheErrorAlertAndTheLaunchContinues) {
    alerts_.answer = {true, false};
    for (const bool bundleMissing : {true, false}) {
        SCOPED_TRACE(bundleMissing);
        alerts_.failures = 0;
        const QString bundle = makeBundle(QStringLiteral("Downloads/Vantrel.AppImage"));
        if (bundleMissing) {
            QFile::remove(bundle);
        } else {
            environment_.systemApplications = root_.filePath(QStringLiteral("missing"));
            write(home_ + QStringLiteral("/Applications"), {});
        }
        EXPECT_FALSE(MoveToApplications::offerIfNeeded(environment_));
        EXPECT_TRUE(relaunched_.isEmpty());
        ASSERT_EQ(alerts_.failures, 1);
        EXPECT_EQ(alerts_.failureMessage, QStringLiteral("移動できませんでした"));
        const QString lead = QStringLiteral(
            "ファイルマネージャーで Vantrel の AppImage を ~/Applications へ移してから"
            "開き直してください。\n（");
        EXPECT_TRUE(alerts_.failureInformative.startsWith(lead) &&
                    alerts_.failureInformative.endsWith(QStringLiteral("）")) &&
                    alerts_.failureInformative.size() > lead.size() + 1)
            << alerts_.failureInformative.toStdString();
    }
}

// The relaunch script waits for the old process to end, then starts the new copy, whose path
// goes through untouched however odd it is.
TEST_F(MoveTest, RelaunchScriptWaitsThenStartsTheNewCopy) {
    const QString marker = root_.filePath(QStringLiteral("started"));
    const QString folder = root_.filePath(QStringLiteral("new \"place\" 'quoted' $(touch pwned)"));
    const QString program = folder + QStringLiteral("/Vantrel `id` $HOME.AppImage");
    write(program, QStringLiteral("#!/bin/sh\nprintf '%s' \"$0\" > '%1'\n").arg(marker).toUtf8());

    QProcess old; // stands in for the running program
    old.start(QStringLiteral("/bin/sleep"), {QStringLiteral("600")});
    ASSERT_TRUE(old.waitForStarted());
    ASSERT_TRUE(MoveToApplications::startRelaunchScript(old.processId(), program));

    QTest::qWait(1000); // several polls of the script while the old process lives
    EXPECT_FALSE(QFile::exists(marker));
    old.kill();
    ASSERT_TRUE(old.waitForFinished());
    ASSERT_TRUE(QTest::qWaitFor([&] { return read(marker).size() > 0; }, 15000));
    EXPECT_EQ(QString::fromUtf8(read(marker)), program);
    EXPECT_FALSE(QFile::exists(home_ + QStringLiteral("/pwned")));
    EXPECT_FALSE(QFile::exists(root_.filePath(QStringLiteral("pwned"))));
}

} // namespace
} // namespace vt
