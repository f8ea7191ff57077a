// The fan's frame budget: a full-screen overlay must stay cheap to paint while rows spring out
// and slide along the arc.
#include "bench/bench_doubles.h"
#include "picker/fan/fan_panel.h"
#include "tests/doubles/manual_main_queue.h"
#include "ui/animation_clock.h"

#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"
#include "ui/overlay_window.h"
#include "ui/painting.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <numeric>

namespace vt {
namespace {

using bench::BenchScreens;
using bench::NullSurface;

std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> out;
    for (int i = 0; i < n; ++i)
        out.push_back(ClipItem::makeText(
            QStringLiteral("クリップ %1: the quick brown fox jumps over the lazy dog").arg(i),
            QStringLiteral("Text Editor")));
    return out;
}

// The fan on a manual clock, painted the way the overlay window paints without a compositor:
// the damaged region of a screen-sized backing image gets the picture of the screen behind,
// then the fan, whose materials lie over the frosted picture.
struct Rig {
    BenchScreens screens;
    test::ManualMainQueue queue;
    ManualAnimationClock clock;
    FanPanel panel{screens, queue, [](FanView&) { return std::make_unique<NullSurface>(); }, clock};
    QImage backing{1920, 1080, QImage::Format_ARGB32_Premultiplied};

    Rig() {
        backing.setDotsPerMeterX(3780);
        backing.setDotsPerMeterY(3780);
        backing.fill(Qt::transparent);
    }
    QImage screen;
    QRect area;

    void step(double seconds) {
        clock.advance(seconds);
        queue.advance(seconds);
        panel.view().advanceTo(clock.now());
    }
    // What the window takes on a show: the screen behind the area the fan paints (a colourful
    // stand-in here) and its frosted quarter-size copy.
    void takePictures() {
        area = panel.view().paintedArea().toAlignedRect().intersected(QRect(0, 0, 1920, 1080));
        screen = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&screen);
        QLinearGradient g(0, 0, area.width(), area.height());
        g.setColorAt(0, QColor(70, 120, 170));
        g.setColorAt(1, QColor(220, 190, 150));
        p.fillRect(screen.rect(), g);
        p.end();
        QImage frosted = blurred(screen.scaled(area.size() / 4), 3.0);
        frosted.setDevicePixelRatio(0.25);
        panel.view().setBackdrop(frosted, area.topLeft());
    }
    // Paints the region that changed; returns its area in pixels.
    qint64 paintDamage() {
        const QRegion damage = panel.view().takeDamage().value_or(QRegion());
        QPainter p(&backing);
        p.setClipRegion(damage);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : damage - area)
            p.fillRect(r, Qt::transparent);
        p.drawImage(area, screen);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        panel.view().paint(p);
        qint64 pixels = 0;
        for (const QRect& r : damage)
            pixels += qint64(r.width()) * r.height();
        return pixels;
    }
    void paintAll() {
        backing.fill(Qt::transparent);
        QPainter p(&backing);
        p.drawImage(area, screen);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        panel.view().paint(p);
    }
};

// A settled fan of 16 visible rows (the scroll offset between two rows would add one more),
// the whole 1920 x 1080 overlay cleared and painted.
void BM_FullFrameSixteenRows(benchmark::State& state) {
    Rig rig;
    rig.panel.setVisibleSlots(16);
    rig.panel.show(clips(40), 20);
    rig.takePictures();
    rig.queue.runPending();
    rig.step(2);
    rig.paintAll(); // row images rendered once
    state.counters["rows"] = double(rig.panel.view().placements().size());
    for (auto _ : state) {
        rig.paintAll();
        benchmark::DoNotOptimize(rig.backing.constBits());
    }
}
BENCHMARK(BM_FullFrameSixteenRows)->Unit(benchmark::kMillisecond);

// The same frame painted as the window does on a selection change: only the damaged region.
void BM_SelectionFrameSixteenRows(benchmark::State& state) {
    Rig rig;
    rig.panel.setVisibleSlots(16);
    rig.panel.show(clips(40), 20);
    rig.takePictures();
    rig.queue.runPending();
    rig.step(2);
    rig.paintAll();
    std::int64_t selected = 20;
    double area = 0;
    for (auto _ : state) {
        state.PauseTiming();
        selected = selected == 20 ? 21 : 20;
        rig.panel.select(selected);
        rig.step(1.0 / 60);
        state.ResumeTiming();
        area = double(rig.paintDamage());
    }
    state.counters["damage_px"] = area;
}
BENCHMARK(BM_SelectionFrameSixteenRows)->Unit(benchmark::kMillisecond);

// A 60-row history scrolled by the wheel, one row every 50 ms (a fast flick), frames at 60 Hz:
// reports the mean and worst frame (advance + damaged paint).
void BM_WheelScrollSixtyRows(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    Rig rig;
    rig.panel.show(clips(60), 0);
    rig.queue.runPending();
    rig.step(1);
    rig.paintAll();
    std::vector<double> frames;
    for (auto _ : state) {
        frames.clear();
        // Down to the end and back, 96 rows of wheel movement.
        for (int tick = 0; tick < 96 * 3; ++tick) {
            if (tick % 3 == 0) rig.panel.scroll(tick < 48 * 3 ? 1 : -1);
            const auto t0 = Clock::now();
            rig.step(1.0 / 60);
            rig.paintDamage();
            frames.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    std::sort(frames.begin(), frames.end());
    state.counters["frame_mean_ms"] =
        std::accumulate(frames.begin(), frames.end(), 0.0) / double(frames.size());
    state.counters["frame_p95_ms"] = frames[frames.size() * 95 / 100];
    state.counters["frame_max_ms"] = frames.back();
}
BENCHMARK(BM_WheelScrollSixtyRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// After prewarm(): from show to the first frame with rows on screen (one 60 Hz tick after the
// opening spring starts), with a history the fan has not drawn yet or the one it showed last.
void showToFirstFrame(benchmark::State& state, bool freshHistory) {
    Rig rig;
    rig.panel.prewarm();
    std::vector<ClipItem> items = clips(20);
    for (auto _ : state) {
        state.PauseTiming();
        if (freshHistory) items = clips(20);
        rig.panel.hide(false);
        rig.step(1);
        rig.paintDamage();
        state.ResumeTiming();
        rig.panel.show(items, 0);
        rig.queue.runPending();
        rig.step(1.0 / 60);
        rig.paintDamage();
    }
}

void BM_ShowToFirstFrameAfterPrewarm(benchmark::State& state) {
    showToFirstFrame(state, true);
}
BENCHMARK(BM_ShowToFirstFrameAfterPrewarm)->Unit(benchmark::kMillisecond);

// The history unchanged since the last show (the common case).
void BM_ReshowSameHistory(benchmark::State& state) {
    showToFirstFrame(state, false);
}
BENCHMARK(BM_ReshowSameHistory)->Unit(benchmark::kMillisecond);

// The real overlay window on the X server (no compositor): from show() to the first frame
// painted, the picture of the screen behind taken and frosted on the way.
void BM_ShowToFirstFrameOnScreen(benchmark::State& state) {
    LinuxScreens screens;
    QtMainQueue queue;
    OverlayWindow* window = nullptr;
    bool painted = false;
    FanPanel panel(screens, queue, [&](FanView& view) {
        auto w = std::make_unique<OverlayWindow>(screens, view);
        window = w.get();
        window->setOnPainted([&] { painted = true; });
        return w;
    });
    panel.prewarm();
    const std::vector<ClipItem> items = clips(20);
    QCursor::setPos(700, 540);
    auto cycle = [&] {
        painted = false;
        const auto start = std::chrono::steady_clock::now();
        panel.show(items, 0);
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const auto end = std::chrono::steady_clock::now();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 150)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        panel.hide(false);
        t.restart();
        while (panel.window().isVisible() && t.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(20);
        return std::chrono::duration<double>(end - start).count();
    };
    // The first show after the prewarm is the first hold after the program started.
    state.counters["first_show_ms"] = cycle() * 1000;
    for (auto _ : state)
        state.SetIterationTime(cycle());
}
BENCHMARK(BM_ShowToFirstFrameOnScreen)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
