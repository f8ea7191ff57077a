// Resident memory of a history of huge texts, and what showing one in the pickers adds to it.
// Figures (MB): data = the texts as held in memory (UTF-16), utf8 = the same texts as UTF-8
// (their size in the history file), history = resident growth once the history is built,
// fan / ring = further growth after the picker showed the newest 10 MB text and settled.
#include "bench/bench_doubles.h"
#include "history/clip_history.h"
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "tests/doubles/manual_main_queue.h"
#include "ui/animation_clock.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <type_traits>

namespace vt {
namespace {

using bench::BenchScreens;
using bench::NullSurface;

constexpr int kTexts = 50;
constexpr qsizetype kTextBytes = 10 * 1024 * 1024;

double residentMB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Shows the clips in a panel on a manual clock, lets it settle and paints it whole.
template <typename Panel>
void showAndPaint(Panel& panel, test::ManualMainQueue& queue, ManualAnimationClock& clock,
                  const std::vector<ClipItem>& items, QImage& backing) {
    panel.show(items, 0);
    queue.runPending();
    for (int i = 0; i < 60; ++i) {
        clock.advance(1.0 / 60);
        queue.advance(1.0 / 60);
        if constexpr (std::is_same_v<Panel, FanPanel>) panel.view().advanceTo(clock.now());
    }
    if constexpr (std::is_same_v<Panel, FanPanel>) {
        QPainter p(&backing);
        p.setRenderHint(QPainter::Antialiasing);
        panel.view().paint(p);
    } else {
        backing = panel.view().renderAt(clock.now());
    }
}

void BM_ResidentWithFiftyTextsOfTenMB(benchmark::State& state) {
    for (auto _ : state) {
        BenchScreens screens;
        test::ManualMainQueue queue;
        ManualAnimationClock clock;
        auto surface = [](auto&) { return std::make_unique<NullSurface>(); };
        FanPanel fan{screens, queue, surface, clock};
        RingPanel ring{screens, queue, surface, clock};
        QImage backing(1920, 1080, QImage::Format_ARGB32_Premultiplied);
        backing.fill(Qt::transparent);
        // Both pickers have drawn once before, as after the prewarm.
        const std::vector<ClipItem> small{ClipItem::makeText(QStringLiteral("warm"))};
        showAndPaint(fan, queue, clock, small, backing);
        showAndPaint(ring, queue, clock, small, backing);
        fan.hide(false);
        ring.hide(false);
        const double base = residentMB();

        ClipHistory history;
        double data = 0, utf8 = 0;
        for (int i = 0; i < kTexts; ++i) {
            QByteArray bytes(kTextBytes, char('a' + i % 26));
            bytes.replace(0, 12, QByteArray::number(i).rightJustified(12, '0'));
            bytes[100] = '\n';
            QString text = QString::fromLatin1(bytes);
            utf8 += double(bytes.size());
            data += double(text.size()) * 2;
            history.add(ClipItem::makeText(text, QStringLiteral("Editor")));
        }
        const double withHistory = residentMB();

        showAndPaint(fan, queue, clock, history.items, backing);
        const double afterFan = residentMB();
        fan.hide(false);
        showAndPaint(ring, queue, clock, history.items, backing);
        const double afterRing = residentMB();
        ring.hide(false);

        const double mb = 1024.0 * 1024.0;
        state.counters["data_MB"] = data / mb;
        state.counters["utf8_MB"] = utf8 / mb;
        state.counters["history_MB"] = withHistory - base;
        state.counters["overData_MB"] = withHistory - base - data / mb;
        state.counters["fan_MB"] = afterFan - withHistory;
        state.counters["ring_MB"] = afterRing - withHistory;
    }
}
BENCHMARK(BM_ResidentWithFiftyTextsOfTenMB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
