// Costs of the history on the main thread: adding a clip, and writing and reading the file.
#include "history/clip_history.h"
#include "history/history_file.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using vt::ClipHistory;
using vt::ClipItem;

ClipHistory fullTextHistory(int count) {
    ClipHistory history;
    history.limit = count;
    for (int i = 0; i < count; ++i)
        history.add(ClipItem::makeText(
            QStringLiteral("clip %1: some copied text of a usual length").arg(i)));
    return history;
}

// Noise does not compress, so a 256 x 260 RGB image is a PNG of about 200 KB.
QByteArray noisePng(quint32 seed) {
    QImage image(256, 260, QImage::Format_RGB888);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y)
        random.fillRange(reinterpret_cast<quint32*>(image.scanLine(y)),
                         image.bytesPerLine() / static_cast<int>(sizeof(quint32)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// 200 clips of which every tenth is a 200 KB image.
ClipHistory mixedHistory() {
    ClipHistory history;
    history.limit = 200;
    for (int i = 0; i < 200; ++i) {
        if (i % 10 == 0)
            history.add(ClipItem::makeImage(noisePng(static_cast<quint32>(i + 1)),
                                            QStringLiteral("Image Viewer")));
        else
            history.add(ClipItem::makeText(
                QStringLiteral("clip %1: 日本語のテキストと some English text").arg(i),
                QStringLiteral("Editor")));
    }
    return history;
}

void BM_AddNewClipToFullHistory(benchmark::State& state) {
    ClipHistory history = fullTextHistory(200);
    std::vector<ClipItem> fresh;
    for (int i = 0; i < 1000; ++i)
        fresh.push_back(ClipItem::makeText(QStringLiteral("new clip %1 of a usual length").arg(i)));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.add(fresh[next]));
        next = (next + 1) % fresh.size();
    }
}
BENCHMARK(BM_AddNewClipToFullHistory)->Unit(benchmark::kMicrosecond);

// The worst case of a re-copy: the duplicate is the oldest clip.
void BM_AddCopiedAgainClipToFullHistory(benchmark::State& state) {
    ClipHistory history = fullTextHistory(200);
    for (auto _ : state) {
        ClipItem again = history.items.back();
        benchmark::DoNotOptimize(history.add(again));
    }
}
BENCHMARK(BM_AddCopiedAgainClipToFullHistory)->Unit(benchmark::kMicrosecond);

void BM_EncodeAndSaveMixedHistory(benchmark::State& state) {
    const ClipHistory history = mixedHistory();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.json"));
    for (auto _ : state) {
        if (!vt::HistoryFile::save(history, path)) state.SkipWithError("save failed");
    }
    state.counters["fileBytes"] = static_cast<double>(QFileInfo(path).size());
}
BENCHMARK(BM_EncodeAndSaveMixedHistory)->Unit(benchmark::kMillisecond);

void BM_LoadMixedHistory(benchmark::State& state) {
    const ClipHistory history = mixedHistory();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.json"));
    vt::HistoryFile::save(history, path);
    for (auto _ : state) {
        const ClipHistory loaded = vt::HistoryFile::load(path);
        if (loaded.items.size() != 200) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_LoadMixedHistory)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
