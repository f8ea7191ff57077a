// Wayland clipboard figures under a headless Sway: capture latency from a copy to the saved
// history file (the copy made by a second data-control client in this process, and by wl-copy
// counted from its start), large copies, and the wakeups of an idle watcher, main thread and reader
// thread.
#include "history/clipboard_watcher.h"
#include "platform/wayland/wayland_pasteboard.h"
#include "platform/wayland/wayland_workspace.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

namespace {

struct Fixture {
    QTemporaryDir dir;
    vt::WaylandPasteboard pasteboard;
    vt::WaylandWorkspace workspace;
    vt::ClipboardWatcher watcher{pasteboard, workspace, dir.filePath("history.json")};
    vt::WaylandPasteboard owner; // another client copying, as an application would

    Fixture() { watcher.start(); }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

// Runs `copy` and waits until the watcher has saved the history; milliseconds, < 0 on time-out.
// `seenMs`, when given, gets the time until the change counter moved (the read complete).
double capture(Fixture& f, const std::function<void()>& copy, double* seenMs = nullptr) {
    bool saved = false;
    const auto before = f.pasteboard.changeCount();
    std::atomic<bool> done{false};
    std::thread spotter;
    QEventLoop loop;
    f.watcher.onChange = [&] {
        saved = true;
        loop.quit();
    };
    QElapsedTimer clock;
    clock.start();
    if (seenMs)
        spotter = std::thread([&] {
            while (!done && f.pasteboard.sharedChangeCount()->load() == before)
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            *seenMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        });
    copy();
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!saved) loop.exec();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    done = true;
    if (spotter.joinable()) spotter.join();
    f.watcher.onChange = nullptr;
    return saved ? ms : -1;
}

void report(benchmark::State& state, const std::vector<double>& ms) {
    state.counters["median_ms"] = percentile(ms, 0.5);
    state.counters["p95_ms"] = percentile(ms, 0.95);
    state.counters["max_ms"] = percentile(ms, 1);
}

// 50 copies of distinct texts by another client: its copy to our saved history file.
void BM_WaylandCaptureText(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        const QString text = "copy number " + QString::number(++n);
        const double t = capture(f, [&] {
            f.owner.clearContents();
            f.owner.setString(text, vt::PasteboardType::plainText);
        });
        if (t < 0) return state.SkipWithError("copy not captured");
        ms.push_back(t);
        state.SetIterationTime(t / 1000.0);
    }
    report(state, ms);
}
BENCHMARK(BM_WaylandCaptureText)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same with wl-copy, from starting the process (so it includes its start-up).
void BM_WaylandCaptureTextWlCopy(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> ms;
    int n = 0;
    std::vector<std::unique_ptr<QProcess>> copies;
    for (auto _ : state) {
        copies.push_back(std::make_unique<QProcess>());
        QProcess* p = copies.back().get();
        const double t =
            capture(f, [&] { p->start("wl-copy", {"wl-copy number " + QString::number(++n)}); });
        if (t < 0) return state.SkipWithError("copy not captured");
        ms.push_back(t);
        state.SetIterationTime(t / 1000.0);
    }
    for (auto& p : copies)
        p->waitForFinished(3000);
    report(state, ms);
}
BENCHMARK(BM_WaylandCaptureTextWlCopy)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A 50 MB text and a 4 MB PNG, offered by another client: copy to saved file.
void BM_WaylandCaptureLarge(benchmark::State& state) {
    Fixture& f = fixture();
    const bool text = state.range(0) == 0;
    for (auto _ : state) {
        const QByteArray bytes(text ? 50 * 1024 * 1024 : 4 * 1024 * 1024, text ? 'x' : 'p');
        double seen = 0;
        const double t = capture(
            f,
            [&] {
                f.owner.clearContents();
                if (text)
                    f.owner.setString(QString::fromLatin1(bytes), vt::PasteboardType::plainText);
                else
                    f.owner.setData("\x89PNG" + bytes, vt::PasteboardType::png);
            },
            &seen);
        if (t < 0) return state.SkipWithError("copy not captured");
        state.SetIterationTime(t / 1000.0);
        state.counters["read_ms"] = seen;
    }
    state.SetLabel(text ? "50 MB text" : "4 MB PNG");
}
BENCHMARK(BM_WaylandCaptureLarge)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Wakeups of an idle, started watcher over 4 seconds: the main thread's event loop (one of them
// ends the wait) and the reader thread, which should sleep on the compositor's socket.
void BM_WaylandIdleWakeups(benchmark::State& state) {
    Fixture& f = fixture();
    long wakeups = 0;
    auto* dispatcher = QAbstractEventDispatcher::instance();
    const auto connection =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++wakeups; });
    std::uint64_t reader = 0;
    for (auto _ : state) {
        QCoreApplication::processEvents();
        wakeups = 0;
        reader = f.pasteboard.readerWakeups();
        QEventLoop loop;
        QTimer::singleShot(4000, &loop, &QEventLoop::quit);
        loop.exec();
        reader = f.pasteboard.readerWakeups() - reader;
    }
    QObject::disconnect(connection);
    state.counters["main_wakeups_per_s"] = static_cast<double>(wakeups) / 4.0;
    state.counters["reader_wakeups_per_s"] = static_cast<double>(reader) / 4.0;
}
BENCHMARK(BM_WaylandIdleWakeups)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
