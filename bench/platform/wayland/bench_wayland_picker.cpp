// The pickers on a headless Sway's overlay layer: from show() (which first learns the pointer
// through the surface) to the first frame committed to the compositor, after prewarm(), as at
// the end of the hold delay; and how much of it learning the pointer takes.
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"
#include "platform/wayland/layer_shell_surface.h"
#include "platform/wayland/wayland_screens.h"
#include "tests/doubles/wayland_virtual_pointer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace vt {
namespace {

std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> items;
    for (int i = 0; i < n; ++i)
        items.push_back(ClipItem::makeText(QString("clip number %1 with some text").arg(i)));
    return items;
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

template <class Panel> void showToFirstFrame(benchmark::State& state) {
    auto shell = std::make_shared<LayerShell>();
    WaylandScreens screens(std::make_unique<LinuxScreens>(), shell);
    VirtualPointer mouse;
    mouse.moveTo(QGuiApplication::primaryScreen()->geometry().size(), 500, 360);
    int frames = 0;
    Panel panel(screens, QtMainQueue::shared(), [&](PaintedView& view) {
        auto surface = std::make_unique<LayerShellSurface>(shell, screens, view);
        surface->onPainted = [&] { ++frames; };
        return surface;
    });
    panel.prewarm();
    const std::vector<ClipItem> items = clips(8);
    std::vector<double> first, probe;
    for (auto _ : state) {
        settle(20);
        frames = 0;
        QElapsedTimer clock;
        clock.start();
        // What show() does first: the pointer, learnt by mapping the stage.
        (void)screens.mouseLocation();
        probe.push_back(double(clock.nsecsElapsed()) / 1e6);
        panel.show(items, 0);
        while (frames < 1)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        first.push_back(double(clock.nsecsElapsed()) / 1e6);
        state.SetIterationTime(first.back() / 1000);
        settle(150);
        panel.hide(false);
        settle(400);
    }
    std::sort(first.begin(), first.end());
    std::sort(probe.begin(), probe.end());
    state.counters["first_p50_ms"] = first[first.size() / 2];
    state.counters["first_max_ms"] = first.back();
    state.counters["pointer_p50_ms"] = probe[probe.size() / 2];
    state.counters["pointer_max_ms"] = probe.back();
}

void BM_WaylandRingShowToFirstFrame(benchmark::State& state) {
    showToFirstFrame<RingPanel>(state);
}
BENCHMARK(BM_WaylandRingShowToFirstFrame)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void BM_WaylandFanShowToFirstFrame(benchmark::State& state) {
    showToFirstFrame<FanPanel>(state);
}
BENCHMARK(BM_WaylandFanShowToFirstFrame)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
