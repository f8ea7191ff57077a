#include "app/app_info.h"
#include "app/updater_model.h"
#include "app/windows/about_tab.h"
#include "app/windows/general_tab.h"
#include "app/windows/settings_view.h"
#include "app/windows/settings_window_controller.h"
#include "tests/app/windows/windows_doubles.h"
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>

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

struct SettingsFixture : test::WindowsFixture {
    UpdaterModel updater{defaults, updaterOptions(presenter)};

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
    for (const auto& [i, title] : {std::pair{0, "一般"}, {1, "履歴"}, {2, "情報"}}) {
        EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(title));
        EXPECT_FALSE(tabs->tabIcon(i).isNull());
    }
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
    tabs->setCurrentIndex(0); // clicking a tab updates the shared selection
    EXPECT_EQ(controller.selection().tab(), Tab::general);
}

// The pickers write the store and follow it; a delay outside the table shows no selection; the
// ring hides the fan size picker.
TEST_F(SettingsFixture, PickersWriteTheStoreAndFollowIt) {
    settings.setFanSlots(16);
    settings.setHoldDelay(0.3505);
    GeneralTab tab(settings, updater);
    tab.show();
    auto* style = find<QComboBox>(&tab, "pickerStyle");
    auto* fanSlots = find<QComboBox>(&tab, "fanSlots");
    auto* delay = find<QComboBox>(&tab, "holdDelay");
    ASSERT_EQ(style->count(), 2);
    EXPECT_EQ(delay->currentIndex(), -1);
    settings.setHoldDelay(0.35);
    EXPECT_EQ(delay->currentText(), QStringLiteral("ゆっくり（0.35秒）"));
    choose(delay, QStringLiteral("長め（0.5秒）"));
    EXPECT_DOUBLE_EQ(settings.holdDelay(), 0.5);

    choose(style, QStringLiteral("リング"));
    EXPECT_FALSE(settings.useFan());
    EXPECT_FALSE(fanSlots->isVisible());
    choose(style, QStringLiteral("扇（カーソルの右に広がる）"));
    EXPECT_TRUE(settings.useFan());
    EXPECT_TRUE(fanSlots->isVisible());
    EXPECT_EQ(fanSlots->currentText(), QStringLiteral("16 件"));
    choose(fanSlots, QStringLiteral("8 件"));
    EXPECT_EQ(settings.fanSlots(), 8);
}

// The switch shows the service's state, with a caption only while approval is required, and
// registers and unregisters.
TEST_F(SettingsFixture, LoginSwitchFollowsTheService) {
    for (const auto& [status, caption] : {std::pair{LoginItemStatus::notRegistered, false},
                                          {LoginItemStatus::enabled, false},
                                          {LoginItemStatus::requiresApproval, true},
                                          {LoginItemStatus::notFound, false}}) {
        loginItems.current = status;
        GeneralTab tab(settings, updater);
        tab.show();
        EXPECT_EQ(find<QLabel>(&tab, "loginCaption")->isVisible(), caption) << int(status);
        EXPECT_EQ(find<QAbstractButton>(&tab, "launchAtLogin")->isChecked(),
                  status == LoginItemStatus::enabled);
    }
    loginItems.current = LoginItemStatus::notRegistered;
    GeneralTab tab(settings, updater);
    auto* toggle = find<QAbstractButton>(&tab, "launchAtLogin");
    for (const auto status : {LoginItemStatus::enabled, LoginItemStatus::notRegistered}) {
        toggle->click();
        EXPECT_EQ(loginItems.current, status);
        EXPECT_EQ(toggle->isChecked(), status == LoginItemStatus::enabled);
    }
}

// Without a feed, updates are said to come with the package; with one, "check now" follows
// whether a check may start, and the automatic switch follows the model both ways.
TEST_F(SettingsFixture, UpdateControlsFollowTheUpdater) {
    {
        GeneralTab tab(settings, updater);
        EXPECT_FALSE(find<QPushButton>(&tab, "checkNow")->isVisibleTo(&tab));
        EXPECT_FALSE(find<QWidget>(&tab, "automaticallyChecks")->isVisibleTo(&tab));
        EXPECT_TRUE(find<QLabel>(&tab, "updatesByPackage")->isVisibleTo(&tab));
    }
    // A feed server on loopback that accepts and never answers keeps the check running.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    UpdaterModel live(
        defaults,
        updaterOptions(
            presenter,
            QUrl(QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(server.serverPort()))));
    GeneralTab tab(settings, live);
    auto* toggle = find<QAbstractButton>(&tab, "automaticallyChecks");
    EXPECT_EQ(toggle->isChecked(), live.automaticallyChecks());
    toggle->click();
    EXPECT_EQ(live.automaticallyChecks(), toggle->isChecked());
    live.setAutomaticallyChecks(!toggle->isChecked());
    EXPECT_EQ(toggle->isChecked(), live.automaticallyChecks());
    auto* check = find<QPushButton>(&tab, "checkNow");
    EXPECT_TRUE(check->isEnabled());
    check->click();
    EXPECT_FALSE(live.canCheck());
    EXPECT_FALSE(check->isEnabled());
}

TEST(AboutTab, ShowsVersionLinksAndAnEmptyCopyrightRow) {
    AppInfo::setDictionaryForTesting(QVariantMap{{"CFBundleDisplayName", "Vantrel"},
                                                 {"CFBundleShortVersionString", "1.2"},
                                                 {"CFBundleVersion", "34"},
                                                 {"VTSiteURL", "https://example.org/vantrel"}});
    const auto reset = qScopeGuard([] { AppInfo::setDictionaryForTesting(std::nullopt); });
    AboutTab tab;
    tab.resize(500, 420);
    tab.show();
    EXPECT_EQ(tab.findChild<QLabel*>(QStringLiteral("version"))->text(),
              QStringLiteral("バージョン 1.2（34）"));
    for (const auto& [link, url] : {std::pair{"supportLink", "vantrel/support/\""},
                                    {"privacyLink", "vantrel/privacy/\""},
                                    {"websiteLink", "vantrel\""}})
        EXPECT_TRUE(test::WindowsFixture::find<QLabel>(&tab, link)
                        ->text()
                        .contains(QStringLiteral("\"https://example.org/") + QLatin1String(url)))
            << link;
    auto* copyright = test::WindowsFixture::find<QLabel>(&tab, "copyright");
    EXPECT_TRUE(copyright->text().isEmpty());
    EXPECT_GT(copyright->height(), 0) << "the empty row keeps its place";
}

} // namespace
} // namespace vt
