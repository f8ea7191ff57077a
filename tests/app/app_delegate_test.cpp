// The program's wiring under a real X server with a window manager and a tray: the delegate
// launched as in the program, copies made with xclip, the tray menu read and used.
#include "app/app_delegate.h"
#include "app/app_settings.h"
#include "app/windows/settings_window_controller.h"
#include "core/hold_paste_controller.h"
#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "history/thumbnail_cache.h"
#include "picker/fan/fan_panel.h"

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace vt {
namespace {

AppDelegate* delegate = nullptr;

// Keeps the event loop running until the condition holds or the (generous) deadline passes.
template <typename F> bool waitFor(F condition, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// xclip keeps serving the selection until another owner takes over; each copy replaces it.
std::vector<std::unique_ptr<QProcess>> owners;

void copyWithXclip(const QByteArray& data, const QString& type = QStringLiteral("UTF8_STRING")) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                       QStringLiteral("-t"), type, QStringLiteral("-i")});
    ASSERT_TRUE(p->waitForStarted());
    p->write(data);
    p->closeWriteChannel();
    owners.push_back(std::move(p));
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

TEST(Program, HistoryLimitReachesTheWatcherAndTheFan) {
    AppSettings::shared().setHistoryLimit(20);
    EXPECT_EQ(delegate->watcher().history.limit, 20);
    EXPECT_EQ(delegate->fan().maxItems(), 20);
    AppSettings::shared().setHistoryLimit(50);
}

TEST(Program, ImageClipsAreDecodedOffTheMainThread) {
    QImage image(640, 400, QImage::Format_RGB32);
    image.fill(QColor(255, 143, 41));
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    copyWithXclip(png, QStringLiteral("image/png"));
    ASSERT_TRUE(waitFor([&] {
        const auto& items = delegate->watcher().history.items;
        return !items.empty() && items.front().kind == ClipItem::Kind::image;
    }));
    delegate->waitForThumbnails();
    EXPECT_TRUE(
        ThumbnailCache::shared().contains(delegate->watcher().history.items.front().idString()));
}

TEST(Program, ClearingTheHistoryEmptiesTheMenuAndTheFile) {
    ASSERT_FALSE(delegate->watcher().history.items.empty());
    ASSERT_TRUE(SettingsWindowController::shared().clearHistory);
    SettingsWindowController::shared().clearHistory();
    EXPECT_TRUE(delegate->watcher().history.items.empty());
    EXPECT_TRUE(clipRows(openedMenu()).empty());
    EXPECT_NE(findAction(openedMenu(), QStringLiteral("まだ履歴がありません")), nullptr);
    ASSERT_TRUE(delegate->watcher().waitForSaves());
    EXPECT_TRUE(HistoryFile::load(HistoryFile::defaultPath()).items.empty());
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
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
        vt::AppDelegate appDelegate;
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
