// The pickers' overlay surface on a private headless Sway: it shows on the overlay layer where
// the frame lies, takes the keyboard from the focused window while shown and gives it back,
// reports keys, modifiers and pointer motion, and the pickers open at the pointer.
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"
#include "platform/wayland/layer_shell_surface.h"
#include "platform/wayland/wayland_screens.h"
#include "tests/doubles/wayland_virtual_pointer.h"
#include "ui/painted_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace vt {
namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A 200 x 100 red card.
struct Card final : PaintedView {
    QSizeF canvasSize() const override { return {200, 100}; }
    void paint(QPainter& p) override { p.fillRect(QRectF(0, 0, 200, 100), Qt::red); }
    QRegion drawnShape() const override { return QRegion(0, 0, 200, 100); }
};

// The focused application: records what it is typed.
struct TypedInto final : QWidget {
    QString typed;
    void keyPressEvent(QKeyEvent* e) override { typed += e->text(); }
};

// Runs a tool without blocking the event loop (the compositor talks to us meanwhile).
void run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    waitUntil([&] { return p.state() == QProcess::NotRunning; }, 10000);
}

QString shotPath(const QString& name) {
    return qEnvironmentVariable("VANTREL_BINARY_DIR", ".") + "/screenshots/wayland/" + name +
           ".png";
}

QImage screenshot(const QString& name) {
    run("grim", {shotPath(name)});
    return QImage(shotPath(name));
}

struct Fixture {
    std::shared_ptr<LayerShell> shell = std::make_shared<LayerShell>();
    WaylandScreens screens{std::make_unique<LinuxScreens>(), shell};
    VirtualPointer mouse;
    QSize output = QGuiApplication::primaryScreen()->geometry().size();
};

TEST(LayerShellSurface, ShowsOverTheFocusedWindowTakesTheKeyboardAndGivesItBack) {
    Fixture f;
    ASSERT_TRUE(f.shell->isValid());
    TypedInto app;
    app.resize(300, 200);
    app.show();
    ASSERT_TRUE(waitUntil([&] { return app.isActiveWindow(); }));

    // The pointer is learnt through the surface before anything is drawn.
    f.mouse.moveTo(f.output, 700, 300);
    const RootSpace space = f.screens.rootSpace();
    EXPECT_EQ(space.toEvent(space.fromWindow(f.screens.mouseLocation())), (PointD{700, 300}));

    Card card;
    LayerShellSurface surface(f.shell, f.screens, card);
    std::vector<std::pair<std::uint32_t, TapEvent>> got;
    surface.onInput = [&](std::uint32_t type, const TapEvent& e) { got.emplace_back(type, e); };
    // In the bottom-right corner of the output: the stage covers all of it.
    const double w = f.output.width(), h = f.output.height();
    surface.setFrame({w - 200, 0, 200, 100});
    surface.orderFront();
    surface.displayNow();
    ASSERT_TRUE(surface.isVisible());
    QCoreApplication::processEvents();
    QImage shot = screenshot("card-shown");
    EXPECT_EQ(shot.pixelColor(int(w) - 100, int(h) - 50), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(int(w) - 300, int(h) - 50), QColor(Qt::red));

    // Keys and modifiers reach the surface, not the focused window; the pointer's motion too.
    got.clear();
    // Down is held past the compositor's repeat delay (Sway: 600 ms): its repeats are ours.
    run("wtype", {"-s", "200", "-M", "ctrl", "v", "-m", "ctrl", "-k", "Escape", "-P", "Down", "-s",
                  "900", "-p", "Down"});
    f.mouse.moveTo(f.output, 710, 320);
    const auto has = [&](std::uint32_t type, auto pred) {
        return std::any_of(got.begin(), got.end(),
                           [&](const auto& g) { return g.first == type && pred(g.second); });
    };
    EXPECT_TRUE(waitUntil([&] {
        return has(TapEventType::mouseMoved, [](const TapEvent& e) {
            return e.location == PointD{710, 320};
        });
    }));
    EXPECT_TRUE(waitUntil([&] {
        return has(TapEventType::keyUp,
                   [](const TapEvent& e) { return e.keycode == TapKeyCode::escape; });
    }));
    EXPECT_TRUE(has(TapEventType::keyDown, [](const TapEvent& e) {
        return e.keycode == TapKeyCode::down && e.autorepeat == 1;
    }));
    // V, Escape, arrows and digits picking and cancelling: tests/e2e/wayland_e2e_test.sh.
    EXPECT_TRUE(has(TapEventType::flagsChanged, [](const TapEvent& e) { return e.flags == 0; }));
    EXPECT_EQ(app.typed, "");
    // The modifiers are reported as soon as the keyboard enters, before anything is pressed.
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front().first, TapEventType::flagsChanged);
    EXPECT_EQ(got.front().second.flags, 0U);

    // Closing: typing reaches the window again at once, while the card is still on screen.
    surface.resignInput();
    got.clear();
    run("wtype", {"-s", "200", "x"});
    EXPECT_TRUE(waitUntil([&] { return app.typed == "x"; }));
    EXPECT_EQ(screenshot("card-closing").pixelColor(int(w) - 100, int(h) - 50), QColor(Qt::red));
    // Reopened while closing: the pointer is still found.
    EXPECT_EQ(space.toEvent(space.fromWindow(f.screens.mouseLocation())), (PointD{710, 320}));
    // Ordered out: gone from the screen, and the keyboard stays with the window.
    surface.orderOut();
    run("wtype", {"-s", "200", "y"});
    EXPECT_TRUE(waitUntil([&] { return app.typed == "xy"; }));
    EXPECT_TRUE(got.empty());
    EXPECT_NE(screenshot("card-hidden").pixelColor(int(w) - 100, int(h) - 50), QColor(Qt::red));
}

// Both pickers open centred on the pointer through the platform's surface factory; the
// screenshots are kept for a look.
TEST(LayerShellSurface, PickersOpenAtThePointer) {
    Fixture f;
    const auto make = [&](PaintedView& view) {
        return std::unique_ptr<OverlaySurface>(
            std::make_unique<LayerShellSurface>(f.shell, f.screens, view));
    };
    RingPanel ring(f.screens, QtMainQueue::shared(), make);
    FanPanel fan(f.screens, QtMainQueue::shared(), FanPanel::SurfaceFactory(make));
    std::vector<ClipItem> items;
    for (const char* text : {"おはようございます", "git status", "https://example.org/a/long/path",
                             "二行目\nの テキスト", "42"})
        items.push_back(ClipItem::makeText(QString::fromUtf8(text)));
    const std::vector<std::tuple<PickerPanel*, QPoint, const char*>> cases = {
        {&ring, {700, 400}, "ring"}, {&fan, {500, 300}, "fan"}};
    // On a plain output, then on a 2x one of the same size in points (drawn at its scale).
    for (const int scale : {1, 2}) {
        if (scale == 2) run("swaymsg", {"output", "*", "mode", "2560x1440", "scale", "2"});
        ASSERT_TRUE(waitUntil(
            [&] { return QGuiApplication::primaryScreen()->devicePixelRatio() == scale; }));
        for (const auto& [panel, p, name] : cases) {
            const QString shotName = QString("%1-%2x").arg(name).arg(scale);
            const QPoint pixel = p * scale + QPoint(0, 3 * scale); // beside the pointer's tip
            const QColor before = screenshot(shotName).pixelColor(pixel);
            f.mouse.moveTo(f.output, p.x(), p.y());
            const PointD centre = panel->show(items, 1);
            EXPECT_EQ(centre, (PointD{double(p.x()), double(p.y())})) << name << scale;
            panel->select(2);
            waitUntil([] { return false; }, 700); // the open and select springs settle
            EXPECT_NE(screenshot(shotName).pixelColor(pixel), before) << name << scale;
            panel->hide(false);
            waitUntil([] { return false; }, 400);
        }
    }
    run("swaymsg", {"output", "*", "mode", "1280x720", "scale", "1"});
    waitUntil([] { return QGuiApplication::primaryScreen()->devicePixelRatio() == 1; });
}

// With a second output, the pointer is found on whichever output it is, also away from the
// focused window's, and a picker shown there lands under it.
TEST(LayerShellSurface, FindsThePointerOnEitherOutput) {
    Fixture f;
    TypedInto app;
    app.show();
    ASSERT_TRUE(waitUntil([&] { return app.isActiveWindow(); }));
    run("swaymsg", {"create_output"});
    ASSERT_TRUE(waitUntil([] { return QGuiApplication::screens().size() == 2; }));
    const QSize layout = QGuiApplication::screens()[0]
                             ->geometry()
                             .united(QGuiApplication::screens()[1]->geometry())
                             .size();
    const RootSpace space = f.screens.rootSpace();
    Card card;
    LayerShellSurface surface(f.shell, f.screens, card);
    for (const QPoint p : {QPoint(300, 200), QPoint(f.output.width() + 300, 500)}) {
        f.mouse.moveTo(layout, p.x(), p.y());
        const PointD at = f.screens.mouseLocation();
        EXPECT_EQ(space.toEvent(space.fromWindow(at)), (PointD{double(p.x()), double(p.y())}));
        surface.setFrame(space.rectToWindow({double(p.x()), double(p.y()), 200, 100}));
        surface.orderFront();
        const QImage shot = screenshot("card-at-pointer");
        EXPECT_EQ(shot.pixelColor(p + QPoint(100, 50)), QColor(Qt::red)) << p.x();
        surface.orderOut();
    }
}

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
