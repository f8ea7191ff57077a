// Ring painting and show latency. Budgets: one 460 x 460 frame <= 4 ms; show -> first frame
// on screen <= 16 ms once warm.
#include "bench/bench_doubles.h"
#include "picker/ring/ring_panel.h"
#include "platform/linux/screens_linux.h"
#include "platform/qt_main_queue.h"
#include "ui/overlay_window.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>

namespace vt {
namespace {

using bench::NullSurface;

QByteArray pngOf(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(40, 70, 140));
    g.setColorAt(1, QColor(250, 160, 90));
    p.fillRect(image.rect(), g);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::vector<ClipItem> eightClips() {
    return {ClipItem::makeText(QStringLiteral("会議の議事録：来週の予定を確認してください。"),
                               QStringLiteral("Text Editor")),
            ClipItem::makeText(QStringLiteral("git commit -m \"Fix the ring\"")),
            ClipItem::makeImage(pngOf(640, 400), QStringLiteral("Image Viewer")),
            ClipItem::makeFiles({QStringLiteral("/tmp/見積書.pdf"), QStringLiteral("/tmp/a.txt")}),
            ClipItem::makeText(QStringLiteral("https://example.com/docs/getting-started")),
            ClipItem::makeText(QStringLiteral("こんにちは、世界")),
            ClipItem::makeFiles({QStringLiteral("/tmp/photo.png")}),
            ClipItem::makeText(QStringLiteral("The quick brown fox jumps over the lazy dog"))};
}

void paintFrames(benchmark::State& state, double afterShow) {
    const double scale = double(state.range(0));
    LinuxScreens screens;
    QtMainQueue queue;
    ManualAnimationClock clock;
    RingPanel panel(
        screens, queue, [](PaintedView&) { return std::make_unique<NullSurface>(); }, clock);
    panel.show(eightClips(), 2);
    panel.select(2);
    QCoreApplication::processEvents(); // the next-turn spring to shown
    clock.advance(afterShow);
    panel.view().renderAt(clock.now(), scale); // warm caches
    QImage image(int(460 * scale), int(460 * scale), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        panel.view().paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The open ring at rest.
void BM_RingFrameOpen(benchmark::State& state) {
    paintFrames(state, 3.0);
}
BENCHMARK(BM_RingFrameOpen)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Early in the opening spring: scaled, faded and blurred through the offscreen layer.
void BM_RingFrameOpening(benchmark::State& state) {
    paintFrames(state, 0.05);
}
BENCHMARK(BM_RingFrameOpening)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// From show() to the first frame painted into the mapped overlay window.
void BM_ShowToFirstFrame(benchmark::State& state) {
    LinuxScreens screens;
    QtMainQueue queue;
    OverlayWindow* window = nullptr;
    bool painted = false;
    RingPanel panel(screens, queue, [&](PaintedView& view) {
        auto w = std::make_unique<OverlayWindow>(screens, view);
        window = w.get();
        window->setOnPainted([&] { painted = true; });
        return w;
    });
    const std::vector<ClipItem> items = eightClips();
    auto cycle = [&] {
        painted = false;
        const auto start = std::chrono::steady_clock::now();
        panel.show(items, 0);
        while (!painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const auto end = std::chrono::steady_clock::now();
        // Let it open, then close it all the way so the next show maps the window again.
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
    cycle(); // warm: window created, fonts and caches loaded
    for (auto _ : state)
        state.SetIterationTime(cycle());
}
BENCHMARK(BM_ShowToFirstFrame)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vt

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
