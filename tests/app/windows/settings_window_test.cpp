#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/updater_model.h"
#include "app/user_driver.h"
#include "app/windows/about_tab.h"
#include "app/windows/general_tab.h"
#include "app/windows/settings_view.h"
#include "app/windows/settings_window_controller.h"
#include "tests/app/windows/windows_doubles.h"
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

namespace vt {
namespace {

UpdaterModel::Options updaterOptions(UpdatePresenter& presenter, QUrl feed = {}) {
    UpdaterModel::Options options;
    options.feedURL = std::move(feed);
    options.currentVersion = QStringLiteral("1.0");
    options.presenter = &presenter;
    options.startUpdater = false;
    options.activate = [] {};
    return options;
}

struct SettingsFixture : ::testing::Test {
    test::InMemoryDefaults defaults;
    test::StubLoginItems loginItems;
    test::FakeCatalog catalog;
    test::SilentPresenter presenter;
    AppSettings settings{defaults, loginItems};
    UpdaterModel updater{defaults, updaterOptions(presenter)};

    template <typename T> T* find(QWidget* root, const char* name) {
        auto* w = root->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void choose(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
};

TEST_F(SettingsFixture, ShowCreatesOneWindowAndSwitchesTabs) {
    SettingsWindowController controller(settings, updater, catalog);
    EXPECT_EQ(controller.window(), nullptr);
    controller.show(Tab::general);
    QWidget* window = controller.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" の設定")));
    QTabWidget* tabs = controller.view()->tabs();
    EXPECT_EQ(tabs->size(), QSize(500, 450));
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("一般"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("履歴"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("情報"));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(tabs->tabIcon(i).isNull());

    controller.show(Tab::about);
    EXPECT_EQ(controller.window(), window);
    EXPECT_EQ(tabs->currentIndex(), 2);
    // Escape and Ctrl+W close it; closing hides, and the window is reused.
    for (const QKeyCombination keys : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
        EXPECT_FALSE(window->isVisible());
        controller.show(Tab::history);
        EXPECT_EQ(controller.window(), window);
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_EQ(tabs->currentIndex(), 1);
    // Clicking a tab updates the shared selection.
    tabs->setCurrentIndex(0);
    EXPECT_EQ(controller.selection().tab(), Tab::general);
}

TEST_F(SettingsFixture, RingRemovesTheFanSizePickerAndFanRestoresIt) {
    settings.setFanSlots(16);
    GeneralTab tab(settings, updater);
    tab.show();
    auto* style = find<QComboBox>(&tab, "pickerStyle");
    auto* fanSlots = find<QComboBox>(&tab, "fanSlots");
    ASSERT_EQ(style->count(), 2);
    EXPECT_EQ(style->itemText(0), QStringLiteral("扇（カーソルの右に広がる）"));
    EXPECT_EQ(style->itemText(1), QStringLiteral("リング"));
    EXPECT_TRUE(fanSlots->isVisible());

    choose(style, QStringLiteral("リング"));
    EXPECT_FALSE(settings.useFan());
    EXPECT_FALSE(fanSlots->isVisible());

    choose(style, QStringLiteral("扇（カーソルの右に広がる）"));
    EXPECT_TRUE(settings.useFan());
    EXPECT_TRUE(fanSlots->isVisible());
    EXPECT_EQ(fanSlots->currentText(), QStringLiteral("16 件"));
}

// The pickers write the store; a delay outside the table shows no selection.
TEST_F(SettingsFixture, PickersWriteTheStoreAndFollowIt) {
    settings.setHoldDelay(0.3505);
    GeneralTab tab(settings, updater);
    auto* delay = find<QComboBox>(&tab, "holdDelay");
    EXPECT_EQ(delay->currentIndex(), -1);
    settings.setHoldDelay(0.35);
    EXPECT_EQ(delay->currentText(), QStringLiteral("ゆっくり（0.35秒）"));
    choose(delay, QStringLiteral("長め（0.5秒）"));
    EXPECT_DOUBLE_EQ(settings.holdDelay(), 0.5);
    choose(find<QComboBox>(&tab, "fanSlots"), QStringLiteral("8 件"));
    EXPECT_EQ(settings.fanSlots(), 8);
}

TEST_F(SettingsFixture, LoginCaptionOnlyWhileApprovalIsRequired) {
    struct Case {
        LoginItemStatus status;
        bool caption;
        bool on;
    };
    for (const Case c : {Case{LoginItemStatus::notRegistered, false, false},
                         Case{LoginItemStatus::enabled, false, true},
                         Case{LoginItemStatus::requiresApproval, true, false},
                         Case{LoginItemStatus::notFound, false, false}}) {
        loginItems.current = c.status;
        GeneralTab tab(settings, updater);
        tab.show();
        auto* caption = find<QLabel>(&tab, "loginCaption");
        EXPECT_EQ(caption->isVisible(), c.caption) << int(c.status);
        EXPECT_EQ(find<QAbstractButton>(&tab, "launchAtLogin")->isChecked(), c.on) << int(c.status);
    }
}

TEST_F(SettingsFixture, LoginSwitchRegistersAndFollowsTheService) {
    GeneralTab tab(settings, updater);
    tab.show();
    auto* toggle = find<QAbstractButton>(&tab, "launchAtLogin");
    toggle->click();
    EXPECT_EQ(loginItems.current, LoginItemStatus::enabled);
    EXPECT_TRUE(toggle->isChecked());
    toggle->click();
    EXPECT_EQ(loginItems.current, LoginItemStatus::notRegistered);
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(SettingsFixture, WithoutAFeedUpdatesAreSaidToComeWithThePackage) {
    GeneralTab tab(settings, updater);
    ASSERT_FALSE(updater.hasFeed());
    EXPECT_FALSE(find<QPushButton>(&tab, "checkNow")->isVisibleTo(&tab));
    EXPECT_FALSE(find<QWidget>(&tab, "automaticallyChecks")->isVisibleTo(&tab));
    EXPECT_TRUE(find<QLabel>(&tab, "updatesByPackage")->isVisibleTo(&tab));
}

TEST_F(SettingsFixture, CheckNowFollowsCanCheckWhileACheckRuns) {
    // A feed server on loopback that accepts and never answers keeps the check running.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    UpdaterModel live(
        defaults,
        updaterOptions(
            presenter,
            QUrl(QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(server.serverPort()))));
    GeneralTab tab(settings, live);
    auto* check = find<QPushButton>(&tab, "checkNow");
    ASSERT_TRUE(live.canCheck());
    EXPECT_TRUE(check->isEnabled());
    check->click();
    EXPECT_FALSE(live.canCheck());
    EXPECT_FALSE(check->isEnabled());
}

TEST_F(SettingsFixture, AutomaticChecksSwitchFollowsTheModel) {
    GeneralTab tab(settings, updater);
    auto* toggle = find<QAbstractButton>(&tab, "automaticallyChecks");
    EXPECT_EQ(toggle->isChecked(), updater.automaticallyChecks());
    toggle->click();
    EXPECT_EQ(updater.automaticallyChecks(), toggle->isChecked());
    updater.setAutomaticallyChecks(!toggle->isChecked());
    EXPECT_EQ(toggle->isChecked(), updater.automaticallyChecks());
}

struct AboutFixture : ::testing::Test {
    ~AboutFixture() override { AppInfo::setDictionaryForTesting(std::nullopt); }
};

TEST_F(AboutFixture, ShowsVersionLinksAndAnEmptyCopyrightRow) {
    AppInfo::setDictionaryForTesting(QVariantMap{
        {QStringLiteral("CFBundleDisplayName"), QStringLiteral("Vantrel")},
        {QStringLiteral("CFBundleShortVersionString"), QStringLiteral("1.2")},
        {QStringLiteral("CFBundleVersion"), QStringLiteral("34")},
        {QStringLiteral("VTSiteURL"), QStringLiteral("https://example.org/vantrel")},
    });
    AboutTab tab;
    tab.resize(500, 420);
    tab.show();
    EXPECT_EQ(tab.findChild<QLabel*>(QStringLiteral("appName"))->text(), QStringLiteral("Vantrel"));
    EXPECT_EQ(tab.findChild<QLabel*>(QStringLiteral("version"))->text(),
              QStringLiteral("バージョン 1.2（34）"));
    for (const auto& [link, url] : {std::pair{"supportLink", "vantrel/support/\""},
                                    {"privacyLink", "vantrel/privacy/\""},
                                    {"websiteLink", "vantrel\""}})
        EXPECT_TRUE(tab.findChild<QLabel*>(QString::fromLatin1(link))
                        ->text()
                        .contains(QStringLiteral("\"https://example.org/") + QLatin1String(url)))
            << link;
    auto* copyright = tab.findChild<QLabel*>(QStringLiteral("copyright"));
    ASSERT_NE(copyright, nullptr);
    EXPECT_TRUE(copyright->text().isEmpty());
    EXPECT_TRUE(copyright->isVisible());
    EXPECT_GT(copyright->height(), 0) << "the empty row keeps its place";
}

} // namespace
} // namespace vt
