#include "picker/fan/fan_panel.h"

#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"
#include "tests/doubles/case_name.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <gtest/gtest.h>

namespace vt {
namespace {

void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A desktop stand-in under the overlay, so translucent materials have something to blend with.
class Wallpaper final : public QWidget {
public:
    Wallpaper() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint) {
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(rect().topLeft(), rect().bottomRight());
        g.setColorAt(0, QColor(38, 84, 124));
        g.setColorAt(0.55, QColor(92, 126, 150));
        g.setColorAt(1, QColor(196, 170, 140));
        p.fillRect(rect(), g);
        p.setPen(QColor(255, 255, 255, 40));
        for (int y = 0; y < height(); y += 48)
            p.drawLine(0, y, width(), y);
    }
};

std::vector<ClipItem> history() {
    std::vector<ClipItem> out;
    const QStringList texts = {
        QStringLiteral("会議は 15:00 から第二会議室で"),
        QStringLiteral("https://example.org/releases/2.4"),
        QStringLiteral("git commit -m \"Fix the overlay\""),
        QStringLiteral("ありがとうございます。確認します。"),
        QStringLiteral("SELECT id, name FROM users WHERE active"),
        QStringLiteral("Meeting notes: ship the fan picker on Friday"),
        QStringLiteral("〒100-0001 東京都千代田区"),
        QStringLiteral("+81 3-1234-5678"),
    };
    for (const QString& t : texts)
        out.push_back(ClipItem::makeText(t, QStringLiteral("Text Editor")));
    out.push_back(
        ClipItem::makeFiles({QStringLiteral("/tmp/report.pdf"), QStringLiteral("/tmp/photo.png")},
                            QStringLiteral("Files")));
    for (int i = 0; i < 9; ++i)
        out.push_back(ClipItem::makeText(QStringLiteral("Snippet %1: lorem ipsum dolor").arg(i)));
    return out;
}

QImage screenshot(const QString& name) {
    const QString dir = qEnvironmentVariable("VANTREL_BINARY_DIR", QDir::tempPath()) +
                        QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    const QString path = QStringLiteral("%1/fan-%2.png").arg(dir, name);
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), path});
    import.waitForFinished(20000);
    return QImage(path);
}

// Where the fan opens at the screens' edges and corners, light or dark, with and without a
// compositor, is checked with both pickers on two monitors in tests/picker.

// Pixels outside everything the fan draws now must show the desktop: the window repaints only
// what changed, so a missed region would leave a trail of old rows behind.
int strayPixels(const QImage& shot, const QImage& desktop, const FanPanel& panel) {
    QRegion drawn = panel.view().drawnShape();
    int stray = 0;
    for (int y = 4; y < shot.height(); y += 9)
        for (int x = 4; x < shot.width(); x += 9)
            if (!drawn.contains(QPoint(x, y)) && shot.pixel(x, y) != desktop.pixel(x, y)) ++stray;
    return stray;
}

TEST(FanWindow, ScrollingAndReopeningLeaveNoTrails) {
    Wallpaper wallpaper;
    wallpaper.show();
    pump(300);
    const QImage desktop = screenshot(QStringLiteral("trail-desktop"));
    LinuxScreens screens;
    QtMainQueue queue;
    FanPanel panel(screens, queue);
    panel.prewarm();
    QCursor::setPos(QPoint(600, 540));
    pump(100);
    std::vector<ClipItem> items = history();
    const std::vector<ClipItem> more = history();
    items.insert(items.end(), more.begin(), more.end());
    panel.show(items, 0);
    pump(600);
    for (int i = 0; i < 6; ++i) {
        panel.scroll(1);
        pump(60);
    }
    panel.select(12);
    pump(700);
    EXPECT_EQ(strayPixels(screenshot(QStringLiteral("trail-scrolled")), desktop, panel), 0);

    // Reopened elsewhere while the close is still running.
    panel.hide(false);
    pump(60);
    QCursor::setPos(QPoint(1100, 300));
    pump(50);
    panel.show(history(), 3);
    pump(700);
    EXPECT_EQ(strayPixels(screenshot(QStringLiteral("trail-reopened")), desktop, panel), 0);
    panel.hide(false);
    pump(400);
}

} // namespace
} // namespace vt
