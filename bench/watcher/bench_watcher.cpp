// Clipboard watcher figures: a poll that finds no change, capture latency from a copy made with
// xclip to the saved history file, a 200 KB PNG capture, putting a large image back, and the
// wakeups of an idle watcher.
// Needs an X server (scripts/run-bench starts one) and xclip.
#include "history/clipboard_watcher.h"
#include "platform/linux/x11_pasteboard.h"
#include "platform/linux/x11_workspace.h"

#include <QAbstractEventDispatcher>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <ctime>

// Counts heap allocations made through malloc (Qt's containers) and operator new alike.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}
static std::atomic<long> gAllocations{0};
extern "C" void* malloc(size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t a, size_t b) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(a, b);
}
extern "C" void* realloc(void* p, size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}

namespace {

struct Fixture {
    QTemporaryDir dir;
    vt::X11Pasteboard pasteboard;
    vt::X11Workspace workspace;
    vt::ClipboardWatcher watcher{pasteboard, workspace, dir.filePath("history.json")};
    Display* dpy = XOpenDisplay(nullptr);
    int xfixesEvent = 0;

    Fixture() {
        int errorBase = 0;
        XFixesQueryExtension(dpy, &xfixesEvent, &errorBase);
        XFixesSelectSelectionInput(dpy, DefaultRootWindow(dpy), XInternAtom(dpy, "CLIPBOARD", 0),
                                   XFixesSetSelectionOwnerNotifyMask);
        XSync(dpy, False);
        watcher.start();
    }
    ~Fixture() { XCloseDisplay(dpy); }

    // Server time of the newest owner change; X server time is CLOCK_MONOTONIC in milliseconds.
    long lastOwnerChangeMs() {
        long ts = -1;
        XSync(dpy, False);
        while (XPending(dpy) > 0) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == xfixesEvent + XFixesSelectionNotify)
                ts = static_cast<long>(
                    reinterpret_cast<XFixesSelectionNotifyEvent&>(e).selection_timestamp);
        }
        return ts;
    }
};

long monotonicMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (t.tv_sec * 1000 + t.tv_nsec / 1000000) & 0xFFFFFFFFL;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[i];
}

struct Capture {
    double fromOwnerMs = 0;
    double fromSpawnMs = 0;
    bool ok = false;
};

// Copies `bytes` as `type` with xclip and waits until the history file has been saved.
Capture capture(Fixture& f, const QString& type, const QByteArray& bytes) {
    const QString file = f.dir.filePath("copy.bin");
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
    out.close();
    bool saved = false;
    long savedAtMs = 0;
    QEventLoop loop;
    f.watcher.onChange = [&] {
        saved = true;
        savedAtMs = monotonicMs();
        loop.quit();
    };
    QElapsedTimer clock;
    clock.start();
    QProcess xclip;
    xclip.start("xclip", {"-quiet", "-selection", "clipboard", "-t", type, "-i", file});
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Capture c;
    c.fromSpawnMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const long owned = f.lastOwnerChangeMs();
    c.ok = saved && owned >= 0;
    c.fromOwnerMs = static_cast<double>((savedAtMs - owned) & 0xFFFFFFFFL);
    f.watcher.onChange = nullptr;
    ::kill(static_cast<pid_t>(xclip.processId()), SIGTERM);
    xclip.waitForFinished(3000);
    return c;
}

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_PollWithoutChange(benchmark::State& state) {
    Fixture& f = fixture();
    QCoreApplication::processEvents();
    f.watcher.poll();
    const long before = gAllocations.load();
    for (auto _ : state)
        f.watcher.poll();
    state.counters["allocs_per_poll"] =
        static_cast<double>(gAllocations.load() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PollWithoutChange);

void report(benchmark::State& state, const std::vector<double>& owner,
            const std::vector<double>& spawn) {
    state.counters["median_ms"] = percentile(owner, 0.5);
    state.counters["p95_ms"] = percentile(owner, 0.95);
    state.counters["min_ms"] = percentile(owner, 0);
    state.counters["max_ms"] = percentile(owner, 1);
    state.counters["spawn_median_ms"] = percentile(spawn, 0.5);
    state.counters["spawn_p95_ms"] = percentile(spawn, 0.95);
}

// 50 copies of distinct texts; time from xclip owning the clipboard to the saved file.
void BM_CaptureText(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> owner, spawn;
    int n = 0;
    for (auto _ : state) {
        const Capture c = capture(f, "UTF8_STRING", "copy number " + QByteArray::number(++n));
        if (!c.ok) {
            state.SkipWithError("copy not captured");
            return;
        }
        owner.push_back(c.fromOwnerMs);
        spawn.push_back(c.fromSpawnMs);
        state.SetIterationTime(c.fromOwnerMs / 1000.0);
    }
    report(state, owner, spawn);
    std::string dist;
    for (double v : owner)
        dist += std::to_string(static_cast<int>(v)) + " ";
    state.SetLabel("ms: " + dist);
}
BENCHMARK(BM_CaptureText)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

// A 200 KB PNG (noise, so it does not compress): change to saved file.
void BM_CapturePng200KB(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<double> owner, spawn;
    for (auto _ : state) {
        QImage image(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, QRandomGenerator::global()->generate() | 0xFF000000u);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        state.counters["png_kb"] = static_cast<double>(png.size()) / 1024.0;
        const Capture c = capture(f, "image/png", png);
        if (!c.ok) {
            state.SkipWithError("image not captured");
            return;
        }
        owner.push_back(c.fromOwnerMs);
        spawn.push_back(c.fromSpawnMs);
        state.SetIterationTime(c.fromOwnerMs / 1000.0);
    }
    report(state, owner, spawn);
}
BENCHMARK(BM_CapturePng200KB)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

// The save that ends every capture (atomic replace of the history file), to split the latency.
void BM_SaveAfterCapture(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        f.watcher.save();
    state.counters["items"] = static_cast<double>(f.watcher.history.items.size());
}
BENCHMARK(BM_SaveAfterCapture)->Iterations(50)->Unit(benchmark::kMillisecond);

// Choosing a 24-megapixel image clip in the picker: put() writes the PNG and only promises the
// TIFF, so nothing is decoded or encoded while the keyboard waits (the first put also saves).
void BM_PutLargeImage(benchmark::State& state) {
    Fixture& f = fixture();
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(),
                    qRgb(y % 256, 90, 160));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const vt::ClipItem item = vt::ClipItem::makeImage(png);
    f.watcher.put(item);
    for (auto _ : state)
        f.watcher.put(f.watcher.history.items.front());
    state.counters["png_kb"] = static_cast<double>(png.size()) / 1024.0;
}
BENCHMARK(BM_PutLargeImage)->Iterations(10)->Unit(benchmark::kMillisecond);

// Event-loop wakeups of an idle, started watcher over 4 seconds (one of them ends the wait).
void BM_IdleWakeups(benchmark::State& state) {
    Fixture& f = fixture();
    (void)f;
    long wakeups = 0;
    auto* dispatcher = QAbstractEventDispatcher::instance();
    const auto connection =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++wakeups; });
    for (auto _ : state) {
        QCoreApplication::processEvents();
        wakeups = 0;
        QEventLoop loop;
        QTimer::singleShot(4000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    QObject::disconnect(connection);
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups) / 4.0;
}
BENCHMARK(BM_IdleWakeups)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
