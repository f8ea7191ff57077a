// The commit of a large image on the main thread, with the real clipboard and history file.
//  - CommitStall: the main thread's work for one commit (writing the clipboard, the history
//    file) of an 8-megapixel image with 50 image clips in the history (budget: <= 16 ms).
//  - KeyVerdictDuringCommit: key arrival to verdict while such a commit is in flight, its
//    main-thread part done (budget: p99 <= 100 us).
// Needs an X server (scripts/run-bench provides one).
#include "bench/bench_doubles.h"
#include "core/hold_paste_controller.h"
#include "history/clipboard_watcher.h"
#include "platform/linux/x11_event_tap.h"
#include "platform/linux/x11_pasteboard.h"
#include "platform/linux/x11_workspace.h"
#include "platform/qt_main_queue.h"
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

// After Qt: Xlib's macros collide with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace vt;

namespace {

using bench::QuietPanel;

QByteArray noisePng(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        // Smooth rows with some noise: photographs compress somewhere in between.
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x + y) & 0xFF, (x * 3) & 0xFF, random.bounded(256));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5),
                      v.size() - 1)];
}

void spinUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Commits {
    QTemporaryDir dir;
    X11Pasteboard pasteboard;
    X11Workspace workspace;
    ClipboardWatcher watcher{pasteboard, workspace, dir.filePath(QStringLiteral("history.json"))};
    ClipItem large = ClipItem::makeImage(noisePng(3264, 2448, 1), std::nullopt); // 8 MP

    Commits() {
        for (quint32 i = 0; i < 50; ++i)
            watcher.history.items.push_back(ClipItem::makeImage(noisePng(400, 300, i + 2), {}));
        watcher.save();
    }
};

void BM_CommitStall(benchmark::State& state) {
    Commits c;
    std::vector<double> ms;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        c.watcher.put(c.large); // what the commit runs on the main thread
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        c.watcher.history.items.erase(c.watcher.history.items.begin()); // not the newest again
        spinUntil([] { return false; }, 20);
    }
    state.counters["p50_ms"] = percentile(ms, 0.5);
    state.counters["max_ms"] = percentile(ms, 1.0);
}
BENCHMARK(BM_CommitStall)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_KeyVerdictDuringCommit(benchmark::State& state) {
    Commits c;
    X11EventTap tap;
    QuietPanel ring, fan;
    HoldPasteController controller(tap, QtMainQueue::shared(), ring, fan);
    std::vector<ClipItem> history(3, ClipItem::makeText(QStringLiteral("clip")));
    controller.items = [&] { return history; };
    if (!controller.start()) {
        state.SkipWithError("tap could not start");
        return;
    }
    Display* keyboard = XOpenDisplay(nullptr);
    const unsigned int ctrl = XKeysymToKeycode(keyboard, XK_Control_L);
    const unsigned int v = XKeysymToKeycode(keyboard, XK_v);
    std::vector<double> issued;
    for (auto _ : state) {
        tap.takeVerdictLatencies();
        // The commit's main-thread part is done; a short press arrives while the rest of it
        // (the file, the TIFF form) is in flight.
        c.watcher.put(c.large);
        c.watcher.history.items.erase(c.watcher.history.items.begin());
        XTestFakeKeyEvent(keyboard, ctrl, True, CurrentTime);
        XTestFakeKeyEvent(keyboard, v, True, CurrentTime);
        XTestFakeKeyEvent(keyboard, v, False, CurrentTime);
        XTestFakeKeyEvent(keyboard, ctrl, False, CurrentTime);
        XFlush(keyboard);
        spinUntil([] { return false; }, 1500);
        for (const VerdictTiming& t : tap.takeVerdictLatencies())
            issued.push_back(static_cast<double>(t.issued) / 1000.0);
    }
    state.counters["p50_us"] = percentile(issued, 0.5);
    state.counters["p99_us"] = percentile(issued, 0.99);
    state.counters["samples"] = static_cast<double>(issued.size());
    controller.stop();
    XCloseDisplay(keyboard);
}
BENCHMARK(BM_KeyVerdictDuringCommit)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
