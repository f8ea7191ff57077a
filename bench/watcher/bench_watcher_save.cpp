// What a recorded copy costs the main thread when the history is large, and how a burst of
// copies reaches the file. The clipboard is a double that hands out what it holds without
// copying (as the X11 clipboard hands out what it has read), so the figures are the watcher's
// own: reading the item, adding it to the history, handing the history to the file's thread.
#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "platform/pasteboard.h"
#include "platform/workspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <sys/resource.h>

namespace {

using vt::PasteboardType::plainText;
using vt::PasteboardType::png;

class HeldClipboard final : public vt::Pasteboard {
public:
    std::optional<QString> text;
    std::optional<QByteArray> image;

    void offerText(QString t) {
        text = std::move(t);
        image.reset();
        ++count_;
    }
    void offerImage(QByteArray bytes) {
        image = std::move(bytes);
        text.reset();
        ++count_;
    }
    std::int64_t changeCount() const override { return count_; }
    QStringList types() const override { return {text ? plainText : png}; }
    QList<QUrl> fileURLs() const override { return {}; }
    std::optional<QString> string(const QString& type) const override {
        return type == plainText ? text : std::nullopt;
    }
    std::optional<QByteArray> data(const QString& type) const override {
        return type == png ? image : std::nullopt;
    }
    void clearContents() override {}
    bool setString(const QString&, const QString&) override { return true; }
    bool setData(const QByteArray&, const QString&) override { return true; }
    bool writeFileURLs(const QList<QUrl>&) override { return true; }
    void setOnChange(std::function<void()>) override {}

private:
    std::int64_t count_ = 0;
};

class NoWorkspace final : public vt::Workspace {
public:
    std::optional<vt::RunningApplication> frontmostApplication() const override { return {}; }
};

// Random bytes (so nothing compresses) with a distinct head, as distinct copies have.
QByteArray bytesOf(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    std::memcpy(bytes.data(), &seed, sizeof seed);
    return bytes;
}

QString textOf(qsizetype length, int n) {
    QString text(length, u'a');
    for (qsizetype i = 0; i < length; i += 61)
        text[i] = QChar(u'a' + static_cast<char16_t>((i / 61 + n) % 26));
    const QString head = QStringLiteral("copy %1 ").arg(n);
    text.replace(0, head.size(), head);
    return text;
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

// Main-thread time of each recorded copy while the history holds 50 large clips and the file's
// thread writes it out (about 530 MB for the images, 500 MB for the texts).
void mainThreadPerCopy(benchmark::State& state, bool images) {
    constexpr int kHeld = 50;
    constexpr int kCopies = 100;
    QTemporaryDir dir;
    HeldClipboard clipboard;
    NoWorkspace workspace;
    vt::ClipboardWatcher watcher(clipboard, workspace, dir.filePath("history.json"));
    const auto offer = [&](int n) {
        if (images)
            clipboard.offerImage(bytesOf(8 << 20, static_cast<quint32>(n + 1)));
        else
            clipboard.offerText(textOf(10 << 20, n));
    };
    for (int n = 0; n < kHeld; ++n) {
        offer(n);
        watcher.poll();
    }
    watcher.waitForSaves(600000);
    const int savesBefore = watcher.saveCount();

    std::vector<double> ms;  // wall clock, preemption by other processes included
    std::vector<double> cpu; // the main thread's own CPU time
    int waited = 0;
    int preempted = 0;
    int n = kHeld;
    for (auto _ : state) {
        for (int i = 0; i < kCopies; ++i) {
            offer(n++); // the clipboard's read, not the watcher's work
            QElapsedTimer clock;
            const double cpuBefore = threadCpuMs();
            rusage before{};
            getrusage(RUSAGE_THREAD, &before);
            clock.start();
            watcher.poll();
            const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            cpu.push_back(threadCpuMs() - cpuBefore);
            rusage after{};
            getrusage(RUSAGE_THREAD, &after);
            // Waiting for something (a lock, the disk) versus being preempted by other work.
            if (after.ru_nvcsw > before.ru_nvcsw) ++waited;
            if (after.ru_nivcsw > before.ru_nivcsw) ++preempted;
            ms.push_back(elapsed);
            state.SetIterationTime(elapsed / 1000.0);
            QThread::msleep(20); // copies a user could make, while the file is being written
        }
    }
    QElapsedTimer drain;
    drain.start();
    watcher.waitForSaves(600000);
    state.counters["p50_ms"] = percentile(ms, 0.5);
    state.counters["p99_ms"] = percentile(ms, 0.99);
    state.counters["max_ms"] = percentile(ms, 1);
    state.counters["cpu_p50_ms"] = percentile(cpu, 0.5);
    state.counters["cpu_p99_ms"] = percentile(cpu, 0.99);
    state.counters["copies_that_waited"] = waited;
    state.counters["copies_preempted"] = preempted;
    state.counters["saves"] = watcher.saveCount() - savesBefore;
    state.counters["file_MB"] =
        static_cast<double>(QFileInfo(dir.filePath("history.json")).size()) / (1 << 20);
    state.counters["last_save_wait_ms"] = static_cast<double>(drain.elapsed());
}

void BM_MainThreadPerCopyWith50Images8MB(benchmark::State& state) {
    mainThreadPerCopy(state, true);
}
BENCHMARK(BM_MainThreadPerCopyWith50Images8MB)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_MainThreadPerCopyWith50Texts10MB(benchmark::State& state) {
    mainThreadPerCopy(state, false);
}
BENCHMARK(BM_MainThreadPerCopyWith50Texts10MB)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// 200 copies in 2 s: every one recorded, in order, in a few writes of the file.
void BM_BurstOf200CopiesIn2s(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir dir;
        HeldClipboard clipboard;
        NoWorkspace workspace;
        int saves = 0;
        bool inOrder = false;
        {
            vt::ClipboardWatcher watcher(clipboard, workspace, dir.filePath("history.json"));
            watcher.setLimit(200);
            watcher.waitForSaves();
            const int before = watcher.saveCount();
            for (int i = 0; i < 200; ++i) {
                clipboard.offerText(QStringLiteral("burst copy %1").arg(i));
                watcher.poll();
                QThread::msleep(10);
            }
            watcher.waitForSaves();
            saves = watcher.saveCount() - before;
        }
        const vt::ClipHistory saved = vt::HistoryFile::load(dir.filePath("history.json"));
        inOrder = saved.items.size() == 200;
        for (std::size_t i = 0; inOrder && i < saved.items.size(); ++i)
            inOrder = saved.items[i].text == QStringLiteral("burst copy %1").arg(199 - i);
        state.counters["saves"] = saves;
        state.counters["all_in_order"] = inOrder ? 1 : 0;
        if (!inOrder) state.SkipWithError("the file does not hold the 200 copies in order");
    }
}
BENCHMARK(BM_BurstOf200CopiesIn2s)->Iterations(1)->Unit(benchmark::kMillisecond);

// A lone copy: from the poll that records it until the file holds it.
void BM_LoneCopyToFile(benchmark::State& state) {
    QTemporaryDir dir;
    HeldClipboard clipboard;
    NoWorkspace workspace;
    vt::ClipboardWatcher watcher(clipboard, workspace, dir.filePath("history.json"));
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        QThread::msleep(600); // a quiet moment between copies
        clipboard.offerText(QStringLiteral("lone copy %1").arg(++n));
        QElapsedTimer clock;
        clock.start();
        watcher.poll();
        watcher.waitForSaves();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        state.SetIterationTime(ms.back() / 1000.0);
    }
    state.counters["median_ms"] = percentile(ms, 0.5);
}
BENCHMARK(BM_LoneCopyToFile)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
