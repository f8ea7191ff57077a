// The program's wiring under a real X server with a window manager and a tray: the delegate
// launched as in the program, copies made with xclip, the tray menu read and used. Under a
// headless Sway (WAYLAND_DISPLAY set) the same runs on the Wayland backend with wl-copy and
// wl-paste.
#include "app/app_delegate.h"
#include "app/app_settings.h"
#include "app/trust_texts.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_window_controller.h"
#include "app/windows/settings_window_controller.h"
#include "core/hold_paste_controller.h"
#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "history/thumbnail_cache.h"
#include "picker/fan/fan_panel.h"
#include "platform/platform_services.h"
#include "tests/doubles/watcher_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>

namespace vt {
namespace {

AppDelegate* delegate = nullptr;
bool onWayland = false;

using test::runUntil;

// xclip keeps serving the selection until another owner takes over; each copy replaces it.
std::vector<std::unique_ptr<QProcess>> owners;

void copyWithXclip(const QByteArray& data, const QString& type = QStringLiteral("UTF8_STRING")) {
    auto p = std::make_unique<QProcess>();
    if (onWayland)
        p->start(QStringLiteral("wl-copy"), {QStringLiteral("--type"), type});
    else
        p->start(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                  type, QStringLiteral("-i")});
    ASSERT_TRUE(p->waitForStarted());
    p->write(data);
    p->closeWriteChannel();
    owners.push_back(std::move(p));
}

QString clipboardText() {
    QProcess p;
    if (onWayland)
        p.start(QStringLiteral("wl-paste"), {QStringLiteral("--no-newline")});
    else
        p.start(QStringLiteral("xclip"),
                {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    // The program serves the selection from this thread's event loop: keep it turning.
    runUntil([&] { return p.state() == QProcess::NotRunning; });
    return QString::fromUtf8(p.readAllStandardOutput());
}

QMenu& openedMenu() {
    delegate->menuNeedsUpdate();
    return *delegate->statusMenu();
}

QAction* findAction(QMenu& menu, const QString& title) {
    for (QAction* a : menu.actions()) {
        if (a->text() == title) return a;
        if (a->menu())
            if (QAction* inner = findAction(*a->menu(), title)) return inner;
    }
    return nullptr;
}

std::vector<QAction*> clipRows(QMenu& menu) {
    std::vector<QAction*> rows;
    for (QAction* a : menu.actions())
        if (a->data().typeId() == QMetaType::Int) rows.push_back(a);
    return rows;
}

// A first launch registers the login item and teaches hold-to-paste once, also with the tap
// running.
TEST(Program, AFirstLaunchTeachesHoldToPasteOnceEvenWithTheTapRunning) {
    EXPECT_TRUE(AppSettings::shared().launchAtLogin());
    ASSERT_NE(delegate->holdPaste().tap(), nullptr);
    OnboardingWindowController& onboarding = OnboardingWindowController::shared();
    OnboardingWindow* shown = onboarding.window();
    if (!shown) std::abort(); // no window: nothing below can run
    OnboardingWindow& window = *shown;
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(onboarding.model().trusted()); // the done state: step 1 green, "はじめる"
    auto* start = window.findChild<QPushButton*>(QStringLiteral("footerButton"));
    ASSERT_TRUE(start && start->text() == QStringLiteral("はじめる"));
    start->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(AppSettings::shared().onboardingDone());
}

TEST(Program, TheTrayGlyphIsLightOnADarkDesktopAndDarkOnALightOne) {
    // The lightness of the glyph's ink (its opaque pixels).
    const auto ink = [] {
        const QImage image = delegate->statusItem()->icon().pixmap(32, 32).toImage();
        double sum = 0;
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QColor c = image.pixelColor(x, y); c.alpha() > 200) {
                    sum += static_cast<double>(c.lightnessF());
                    ++n;
                }
        return n > 0 ? sum / n : -1.0;
    };
    const QPalette before = QApplication::palette();
    for (const auto& [window, light] :
         {std::pair{QColor(Qt::black), true}, {QColor(Qt::white), false}}) {
        QPalette palette = before;
        palette.setColor(QPalette::Window, window);
        QApplication::setPalette(palette);
        EXPECT_EQ(ink() > 0.8, light) << ink();
        EXPECT_EQ(ink() < 0.3, !light) << ink();
    }
    QApplication::setPalette(before);
}

// Copies made by another program show in the menu, newest first (the limit of ten rows is the
// menu's own test).
TEST(Program, CopiesAppearInTheMenuNewestFirst) {
    for (int i = 0; i < 5; ++i) {
        copyWithXclip(QStringLiteral("clip %1").arg(i).toUtf8());
        ASSERT_TRUE(runUntil([&] {
            const auto& items = delegate->watcher().history.items;
            return !items.empty() && items.front().text == QStringLiteral("clip %1").arg(i);
        })) << "copy "
            << i << " was not recorded";
    }
    const auto rows = clipRows(openedMenu());
    ASSERT_EQ(rows.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[static_cast<std::size_t>(i)]->text(), QStringLiteral("clip %1").arg(4 - i));
        EXPECT_EQ(rows[static_cast<std::size_t>(i)]->data().toInt(), i);
    }
}

TEST(Program, ChoosingARowPutsThatClipOnTheClipboard) {
    auto rows = clipRows(openedMenu());
    ASSERT_GE(rows.size(), 4u);
    const QString chosen = rows[3]->text();
    rows[3]->trigger();
    EXPECT_TRUE(runUntil([&] { return clipboardText() == chosen; }))
        << clipboardText().toStdString();
    EXPECT_EQ(delegate->watcher().history.items.front().text, chosen);
    test::settle(500); // not recorded a second time by the next poll
    EXPECT_EQ(clipRows(openedMenu()).front()->text(), chosen);
    EXPECT_NE(clipRows(openedMenu())[1]->text(), chosen);
}

TEST(Program, OnWaylandTheTrayWarnsUntilTheBindingIsHeard) {
    if (!onWayland) GTEST_SKIP() << "an X11 session";
    EXPECT_FALSE(delegate->holdPaste().tap());
    const QString warning = TrustTexts::menuTitle(TrustProblem::waylandNotYet);
    EXPECT_NE(findAction(openedMenu(), warning), nullptr);
    EXPECT_FALSE(delegate->hearWord("nonsense\n"));
    EXPECT_TRUE(delegate->hearWord("hold release\n"));
    EXPECT_TRUE(delegate->holdPaste().tap());
    EXPECT_EQ(findAction(openedMenu(), warning), nullptr);
}

TEST(Program, StyleAndDelaySubmenusChangeTheSettingsAndTheController) {
    auto& settings = AppSettings::shared();
    QAction* ring = findAction(openedMenu(), QStringLiteral("リング"));
    ASSERT_NE(ring, nullptr);
    ring->trigger();
    EXPECT_FALSE(settings.useFan());
    EXPECT_FALSE(delegate->holdPaste().useFan);
    EXPECT_TRUE(findAction(openedMenu(), QStringLiteral("リング"))->isChecked());

    QAction* slow = findAction(openedMenu(), QStringLiteral("長め（0.5秒）"));
    ASSERT_NE(slow, nullptr);
    slow->trigger();
    EXPECT_DOUBLE_EQ(settings.holdDelay(), 0.5);
    EXPECT_DOUBLE_EQ(delegate->holdPaste().holdDelay, 0.5);

    QAction* fan = findAction(openedMenu(), QStringLiteral("扇（カーソルの右に広がる）"));
    ASSERT_NE(fan, nullptr);
    fan->trigger();
    EXPECT_TRUE(delegate->holdPaste().useFan);
}

TEST(Program, HistoryLimitAndExcludedAppsReachTheWatcherAndTheFan) {
    AppSettings::shared().setHistoryLimit(20);
    EXPECT_EQ(delegate->watcher().history.limit, 20);
    EXPECT_EQ(delegate->fan().maxItems(), 20);
    AppSettings::shared().setHistoryLimit(50);
    const QStringList excluded = AppSettings::shared().excludedApps();
    AppSettings::shared().setExcludedApps({QStringLiteral("org.keepassxc.KeePassXC")});
    EXPECT_EQ(delegate->watcher().excludedApps,
              QStringList{QStringLiteral("org.keepassxc.KeePassXC")});
    AppSettings::shared().setExcludedApps(excluded);
}

TEST(Program, ImageClipsAreDecodedOffTheMainThread) {
    copyWithXclip(test::encoded(test::sampleImage(640, 400), "png"), QStringLiteral("image/png"));
    ASSERT_TRUE(runUntil([&] {
        const auto& items = delegate->watcher().history.items;
        return !items.empty() && items.front().kind == ClipItem::Kind::image;
    }));
    delegate->waitForThumbnails();
    EXPECT_TRUE(
        ThumbnailCache::shared().contains(delegate->watcher().history.items.front().idString()));
}

TEST(Program, ClearingTheHistoryEmptiesTheMenuAndTheFile) {
    ASSERT_FALSE(delegate->watcher().history.items.empty());
    // An unreadable history kept aside at an earlier launch goes too.
    const QString aside =
        HistoryFile::defaultPath() + QStringLiteral(".unreadable-20260101-000000");
    QFile(aside).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::exists(aside));
    ASSERT_TRUE(SettingsWindowController::shared().clearHistory);
    SettingsWindowController::shared().clearHistory();
    EXPECT_TRUE(delegate->watcher().history.items.empty());
    EXPECT_TRUE(clipRows(openedMenu()).empty());
    EXPECT_NE(findAction(openedMenu(), QStringLiteral("まだ履歴がありません")), nullptr);
    ASSERT_TRUE(delegate->watcher().waitForSaves());
    EXPECT_TRUE(HistoryFile::load(HistoryFile::defaultPath()).items.empty());
    EXPECT_FALSE(QFile::exists(aside));
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    const vt::PlatformKind kind = vt::choosePlatform(argc, argv, [](const char* name) {
                                      return qEnvironmentVariable(name);
                                  }).kind;
    vt::onWayland = kind == vt::PlatformKind::wayland;
    // The compositor's socket stays reachable when the runtime folder below replaces its own.
    if (vt::onWayland) {
        qputenv("WAYLAND_DISPLAY", qgetenv("XDG_RUNTIME_DIR") + '/' + qgetenv("WAYLAND_DISPLAY"));
        qputenv("QT_QPA_PLATFORM", "wayland");
    }
    // Everything the program writes goes to folders of this test's own.
    QTemporaryDir home;
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "HOME"}) {
        const QString dir = home.path() + QLatin1Char('/') + QString::fromLatin1(var);
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
        qputenv(var, dir.toLocal8Bit());
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    int result = 1;
    {
        vt::PlatformServices services = vt::makePlatformServices(kind);
        vt::AppDelegate appDelegate(services);
        vt::delegate = &appDelegate;
        if (!appDelegate.applicationDidFinishLaunching()) return 1;
        result = RUN_ALL_TESTS();
        appDelegate.shutDown();
        for (auto& p : vt::owners) {
            p->kill();
            p->waitForFinished();
        }
    }
    return result;
}
