#include "app/updater.h"
#include "app/updater_model.h"
#include "tests/doubles/log_capture.h"
#include "tests/doubles/memory_user_defaults.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

namespace vt {
namespace {

using test::MemoryUserDefaults;

// Records what the check window was asked to show.
class RecordingPresenter : public UpdatePresenter {
public:
    QStringList shown;
    QString lastDetail;
    void showChecking() override { shown.append(QStringLiteral("checking")); }
    void showUpdateFound(const AppcastItem& update, const QString&) override {
        shown.append(QStringLiteral("found ") + update.displayVersion());
    }
    void showUpToDate(const QString&) override { shown.append(QStringLiteral("current")); }
    void showFailure(const QString& description) override {
        shown.append(QStringLiteral("failure"));
        lastDetail = description;
    }
    void showUpdatedByPackage() override { shown.append(QStringLiteral("package")); }
};

QByteArray appcast(const QString& version) {
    return QStringLiteral(R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
<channel><item><title>Vantrel %1</title><link>https://vantrel.app/download</link>
<sparkle:shortVersionString>%1</sparkle:shortVersionString>
<description>Notes for %1</description></item></channel></rss>)")
        .arg(version)
        .toUtf8();
}

// A real HTTP server on loopback (tests/app/feed_server.py), shared by the tests of the suite
// and stopped by its PID. Each test serves from a folder of its own.
class UpdaterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new QTemporaryDir;
        server_ = new QProcess;
        const QString script = qEnvironmentVariable("VANTREL_SOURCE_DIR") +
                               QStringLiteral("/tests/app/feed_server.py");
        server_->start(QStringLiteral("python3"), {script, root_->path()});
        if (server_->waitForStarted() &&
            QTest::qWaitFor([] { return server_->canReadLine(); }, 30000))
            port_ = QString::fromUtf8(server_->readLine()).trimmed().toInt();
    }
    static void TearDownTestSuite() {
        server_->kill(); // by the PID of the process this suite started
        server_->waitForFinished();
        delete server_;
        delete root_;
    }
    void SetUp() override {
        ASSERT_GT(port_, 0) << "feed server did not start";
        folder_ =
            QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())
                .replace(u'/', u'_');
        ASSERT_TRUE(QDir(root_->path()).mkpath(folder_));
    }
    void TearDown() override { model_.reset(); }
    void serve(const QString& name, const QByteArray& contents) {
        QFile file(root_->filePath(folder_ + u'/' + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QUrl url(const QString& name) const {
        const QString path = name.startsWith(QStringLiteral("slow")) ? name : folder_ + u'/' + name;
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(path));
    }
    UpdaterModel& makeModel(const QUrl& feed, bool startUpdater = false, double timeout = 5) {
        UpdaterModel::Options options;
        options.feedURL = feed;
        options.currentVersion = QStringLiteral("0.1.0");
        options.timeout = timeout;
        options.presenter = &presenter_;
        options.inImmediateFocus = [this] { return immediateFocus_; };
        options.activate = [this] { ++activations_; };
        options.startUpdater = startUpdater;
        model_ = std::make_unique<UpdaterModel>(defaults_, std::move(options));
        return *model_;
    }
    // Waits for the running check to end (the deadline only guards against a hang).
    bool waitForCheck() {
        QSignalSpy finished(&model_->updater(), &Updater::checkFinished);
        return finished.wait(20000);
    }
    // The requests for this test's folder (the server logs one path a line).
    qsizetype requests() const {
        QFile log(root_->filePath(QStringLiteral("requests.log")));
        const QByteArray lines = log.open(QIODevice::ReadOnly) ? '\n' + log.readAll() : "";
        return lines.count("\n/" + folder_.toUtf8() + '/');
    }

    static inline QTemporaryDir* root_ = nullptr;
    static inline QProcess* server_ = nullptr;
    static inline int port_ = 0;
    QString folder_;
    MemoryUserDefaults defaults_;
    RecordingPresenter presenter_;
    bool immediateFocus_ = false;
    int activations_ = 0;
    std::unique_ptr<UpdaterModel> model_;
};

// A find in the background leaves a gentle reminder, or is shown at once while the user is
// looking at the program; the running version leaves nothing, and a feed that cannot be read
// is only logged (the next schedule tries again).
TEST_F(UpdaterTest, ABackgroundFindRemindsOrShows) {
    const struct {
        const char* version; // nullptr: nothing served
        bool immediateFocus, waiting;
        QStringList shown;
    } cases[] = {{"0.2.0", false, true, {}},
                 {"0.2.0", true, false, {QStringLiteral("found 0.2.0")}},
                 {"0.1", false, false, {}},
                 {nullptr, false, false, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "unreadable");
        const QString feed = QStringLiteral("%1-%2.xml")
                                 .arg(QString::fromLatin1(c.version))
                                 .arg(int(c.immediateFocus));
        if (c.version) serve(feed, appcast(QString::fromLatin1(c.version)));
        immediateFocus_ = c.immediateFocus;
        presenter_.shown.clear();
        activations_ = 0;
        UpdaterModel& model = makeModel(url(feed));
        test::LogCapture log;
        model.updater().checkForUpdatesInBackground();
        ASSERT_TRUE(waitForCheck());
        EXPECT_EQ(model.updateWaiting(), c.waiting);
        EXPECT_EQ(presenter_.shown, c.shown);
        EXPECT_EQ(activations_, c.shown.isEmpty() ? 0 : 1);
        EXPECT_EQ(log.contains(QStringLiteral("updates: check of")), !c.version);
        EXPECT_TRUE(model.updater().lastUpdateCheckDate().has_value());
        EXPECT_TRUE(model.canCheck());
    }
}

// The reminder ends when the user looks (the menu item "新しい版があります…"), when a later
// check finds the release withdrawn, or when the user closes the update window.
TEST_F(UpdaterTest, TheReminderEndsWithTheUpdateSession) {
    // A fresh model that found 1.0 in the background and left the reminder.
    const auto reminded = [&]() -> UpdaterModel& {
        serve(QStringLiteral("appcast.xml"), appcast(QStringLiteral("1.0")));
        UpdaterModel& model = makeModel(url(QStringLiteral("appcast.xml")));
        model.updater().checkForUpdatesInBackground();
        EXPECT_TRUE(waitForCheck());
        EXPECT_TRUE(model.updateWaiting());
        return model;
    };
    UpdaterModel* model = &reminded();
    model->checkForUpdates();
    EXPECT_FALSE(model->canCheck());
    ASSERT_TRUE(waitForCheck());
    EXPECT_TRUE(model->canCheck());
    EXPECT_FALSE(model->updateWaiting());
    EXPECT_EQ(presenter_.shown,
              (QStringList{QStringLiteral("checking"), QStringLiteral("found 1.0")}));
    EXPECT_GE(activations_, 1);

    model = &reminded();
    serve(QStringLiteral("appcast.xml"), appcast(QStringLiteral("0.1.0")));
    model->updater().checkForUpdatesInBackground();
    ASSERT_TRUE(waitForCheck());
    EXPECT_FALSE(model->updateWaiting());

    model->checkForUpdates();
    ASSERT_TRUE(waitForCheck());
    EXPECT_EQ(presenter_.shown.last(), QStringLiteral("current"));
    model->standardUserDriverWillHandleShowingUpdate(false, AppcastItem{}, UpdateUserState{});
    ASSERT_TRUE(model->updateWaiting());
    ASSERT_TRUE(presenter_.onClosed);
    presenter_.onClosed(); // the user closes the window
    EXPECT_FALSE(model->updateWaiting());
}

// A check the user asked for reports a slow, missing or unreadable feed in the window.
TEST_F(UpdaterTest, AUserCheckReportsTheFailureInTheWindow) {
    for (const auto& [path, content, detail] :
         {std::tuple{"slow.xml", "<rss/>", "時間内に応答"},
          {"missing.xml", nullptr, "HTTP 404"},
          {"feed.xml", "{\"version\": \"9.9\"}", "更新情報を読めませんでした"}}) {
        SCOPED_TRACE(path);
        if (content) serve(QString::fromLatin1(path), QByteArray(content));
        UpdaterModel& model = makeModel(url(QString::fromLatin1(path)), false, 1);
        model.checkForUpdates();
        EXPECT_FALSE(model.canCheck()); // while the check runs
        ASSERT_TRUE(waitForCheck());
        EXPECT_TRUE(model.canCheck());
        EXPECT_EQ(presenter_.shown.last(), QStringLiteral("failure"));
        EXPECT_TRUE(presenter_.lastDetail.contains(QString::fromUtf8(detail)))
            << presenter_.lastDetail.toStdString();
        EXPECT_FALSE(model.updateWaiting());
    }
}

// Automatic checks are on by default and the choice is kept. At start a check runs when the
// last one is a day old, and never with automatic checks off.
TEST_F(UpdaterTest, StartChecksWhenTheLastCheckIsADayOldAndAutomaticChecksAreOn) {
    serve(QStringLiteral("appcast.xml"), appcast(QStringLiteral("0.2.0")));
    defaults_.setDouble(QString::fromLatin1(Updater::kLastCheckKey),
                        static_cast<double>(QDateTime::currentSecsSinceEpoch() - 25 * 60 * 60));
    EXPECT_TRUE(makeModel(url(QStringLiteral("appcast.xml"))).automaticallyChecks());
    model_->setAutomaticallyChecks(false);
    makeModel(url(QStringLiteral("appcast.xml")), true);
    EXPECT_FALSE(model_->automaticallyChecks());
    QSignalSpy finished(&model_->updater(), &Updater::checkFinished);
    EXPECT_FALSE(finished.wait(1500));
    EXPECT_EQ(requests(), 0);

    model_->setAutomaticallyChecks(true);
    UpdaterModel& model = makeModel(url(QStringLiteral("appcast.xml")), true);
    ASSERT_TRUE(waitForCheck());
    EXPECT_TRUE(model.updateWaiting());
    EXPECT_EQ(requests(), 1);
    const auto last = model.updater().lastUpdateCheckDate();
    ASSERT_TRUE(last);
    EXPECT_LE(last->secsTo(QDateTime::currentDateTimeUtc()), 60);
}

} // namespace
} // namespace vt
