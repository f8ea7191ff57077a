// Both pickers on a real X server without a compositor, two monitors side by side on one wide
// screen, at the centre, the corners and the shared edge: everything painted lies on the
// pointer's screen, no black appears, beside what the picker draws the desktop shows through
// unchanged, and closed they leave nothing (where the selected row and the bubble go is checked
// with every row in tests/picker/fan; the window under a compositor in tests/picker/ring).
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace vt {
namespace {

void pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> out;
    for (int i = 0; i < n; ++i)
        out.push_back(ClipItem::makeText(
            QStringLiteral("クリップ %1: the quick brown fox jumps over the lazy dog").arg(i + 1),
            QStringLiteral("Editor")));
    return out;
}

// Qt keeps each screen's top-left corner in device pixels and scales from there.
QRect devicePixels(const QRectF& logical, const QScreen& screen) {
    const QPointF o = screen.geometry().topLeft();
    const double dpr = screen.devicePixelRatio();
    return QRectF(o + (logical.topLeft() - o) * dpr, logical.size() * dpr).toAlignedRect();
}

bool changed(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) >
           48;
}

bool black(QRgb c) {
    return std::max({qRed(c), qGreen(c), qBlue(c)}) < 24;
}

struct Place {
    const char* name;
    int screen;    // 0 left, 1 right
    double fx, fy; // where on that screen, as fractions of its size
    int dx, dy;    // then moved by this many points
};

const Place kPlaces[] = {
    {"centre", 0, 0.5, 0.5, 0, 0},
    {"top-left", 0, 0, 0, 1, 1},
    {"bottom-right", 1, 1, 1, -2, -2},
    {"edge-left-of-boundary", 0, 1, 0.5, -2, 0},
    {"edge-right-of-boundary", 1, 0, 0.5, 1, 0},
};

class PickersOnScreens : public ::testing::Test {
protected:
    void SetUp() override {
        for (QScreen* s : QGuiApplication::screens())
            byX.push_back(s);
        std::sort(byX.begin(), byX.end(),
                  [](QScreen* a, QScreen* b) { return a->geometry().x() < b->geometry().x(); });
        ASSERT_EQ(byX.size(), 2u) << "two monitors expected";
        // A bright desktop under both screens, so any black the pickers leave stands out.
        wall.setGeometry(byX.front()->geometry().united(byX.back()->geometry()));
        QLinearGradient g(QPointF(0, 0), wall.rect().bottomRight());
        g.setColorAt(0, QColor(70, 120, 170));
        g.setColorAt(1, QColor(220, 190, 150));
        QPalette palette;
        palette.setBrush(QPalette::Window, g);
        wall.setPalette(palette);
        wall.setAutoFillBackground(true);
        wall.show();
        pump(400);
        const QRect last = devicePixels(QRectF(byX.back()->geometry()), *byX.back());
        rootRect = QRect(0, 0, last.right() + 1, last.bottom() + 1);
    }

    // Waits until `done`, then a little longer for the desktop to repaint what was uncovered.
    static void settle(const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 3000)
            pump(10);
        pump(250);
    }

    QImage grab() const {
        QImage shot = screens.grabRoot(rootRect).copy();
        EXPECT_FALSE(shot.isNull());
        return shot.isNull() ? QImage(rootRect.size(), QImage::Format_RGB32) : shot;
    }

    QPoint pointerFor(const Place& place) const {
        const QRect g = byX[std::size_t(place.screen)]->geometry();
        return {int(g.x() + place.fx * (g.width() - 1)) + place.dx,
                int(g.y() + place.fy * (g.height() - 1)) + place.dy};
    }

    // Every pixel that changed from `before` lies on `screen` and inside `allowed` (device
    // pixels); none turned black. Returns how many changed.
    int checkChanges(const QImage& before, const QImage& after, const QRect& screen,
                     const QRegion& allowed, const QString& what) {
        int count = 0, offScreen = 0, stray = 0, blackened = 0;
        for (int y = 0; y < after.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(after.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            for (int x = 0; x < after.width(); ++x) {
                if (!changed(a[x], b[x])) continue;
                ++count;
                if (!screen.contains(x, y))
                    ++offScreen;
                else if (!allowed.contains(QPoint(x, y)))
                    ++stray;
                if (black(a[x])) ++blackened;
            }
        }
        EXPECT_EQ(offScreen, 0) << what.toStdString() << ": painted off the pointer's screen";
        EXPECT_EQ(stray, 0) << what.toStdString() << ": desktop changed beside the picker";
        EXPECT_EQ(blackened, 0) << what.toStdString() << ": black pixels";
        return count;
    }

    // Shows the picker at `place` and commits: every changed pixel lies on the pointer's screen
    // inside what `drawn` says the picker covers (device pixels), none black; closed, it leaves
    // nothing.
    template <class Panel>
    void run(const Place& place, Panel& panel, const char* what,
             const std::function<QRegion(QScreen&, PointD)>& drawn) {
        QScreen& screen = *byX[std::size_t(place.screen)];
        const QRect screenPixels = devicePixels(QRectF(screen.geometry()), screen);
        QCursor::setPos(pointerFor(place));
        pump(60);
        const QImage before = grab();
        const PointD centre = panel.show(clips(8), place.fy == 1 ? 7 : 0);
        pump(300);
        settle([&] { return !panel.view().animating(); });
        const QString name = QStringLiteral("%1 %2").arg(what, place.name);
        EXPECT_GT(checkChanges(before, grab(), screenPixels, drawn(screen, centre), name), 1000);
        panel.hide(true);
        pump(70);
        checkChanges(before, grab(), screenPixels, QRegion(screenPixels), name + " committing");
        settle([&] { return !panel.window().isVisible(); });
        EXPECT_EQ(checkChanges(before, grab(), screenPixels, {}, name + " closed"), 0);
    }

    std::vector<QScreen*> byX;
    QWidget wall{nullptr, Qt::FramelessWindowHint};
    QRect rootRect;
    LinuxScreens screens;
    QtMainQueue queue;
    FanPanel fan{screens, queue};
    RingPanel ring{screens, queue};
};

TEST_F(PickersOnScreens, AtCentreCornersAndTheSharedEdge) {
    fan.prewarm();
    ring.prewarm();
    for (const Place& place : kPlaces) {
        run(place, fan, "fan", [&](QScreen& screen, PointD) {
            QRegion shape;
            for (const QRect& r : fan.view().drawnShape())
                shape += devicePixels(QRectF(r).translated(screen.geometry().topLeft()), screen);
            return shape;
        });
        run(place, ring, "ring", [&](QScreen& screen, PointD c) {
            const RectD primary = screens.rootSpace().primary;
            const QRectF window(c.x + primary.x - 230, c.y + primary.y - 230, 460, 460);
            EXPECT_TRUE(QRectF(screen.geometry()).contains(window)) << place.name;
            return QRegion(devicePixels(window, screen));
        });
    }
}

} // namespace
} // namespace vt

// --scale N (device pixels per point) and --monitor WxH (device pixels) set the desktop up:
// two such monitors side by side on the one X screen the test's Xvfb offers.
int main(int argc, char** argv) {
    QSize monitor(1920, 1080);
    double scale = 1;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--scale") scale = std::atof(argv[i + 1]);
        if (std::string(argv[i]) == "--monitor")
            std::sscanf(argv[i + 1], "%dx%d", &monitor.rwidth(), &monitor.rheight());
    }
    const std::string w = std::to_string(monitor.width()), h = std::to_string(monitor.height());
    const std::string left = "xrandr --setmonitor L " + w + "/508x" + h + "/286+0+0 screen";
    const std::string right = "xrandr --setmonitor R " + w + "/508x" + h + "/286+" + w + "+0 none";
    if (std::system(left.c_str()) != 0 || std::system(right.c_str()) != 0) return 1;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
