// The whole program at rest and at work, measured from outside as a user's desktop sees it:
// start-up (exec to keyboard watch ready, to tray icon, to idle), resident memory after start,
// wake-ups and system calls while idle, and copy-to-recorded latency for single copies and for
// a burst. Each launch gets a fresh HOME. Needs an X display with a window manager and a tray
// host (`make bench` provides them).
//
//   bench_program <vantrel binary> [--launches N] [--copies N] [--burst N]

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// CPU time (ns) and times scheduled in, summed over every thread of pid.
struct CpuSample {
    unsigned long long ns = 0;
    unsigned long long runs = 0;
};

CpuSample cpuOf(pid_t pid) {
    CpuSample s;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(dir.c_str());
    if (!d) return s;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream in(dir + "/" + e->d_name + "/schedstat");
        unsigned long long run = 0, wait = 0, count = 0;
        if (in >> run >> wait >> count) {
            s.ns += run;
            s.runs += count;
        }
    }
    closedir(d);
    return s;
}

long rssKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

struct Stats {
    double median = 0, p95 = 0, min = 0, max = 0;
};

Stats stats(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    auto at = [&](double q) {
        return v[std::min(v.size() - 1, std::size_t(q * (v.size() - 1) + 0.5))];
    };
    return {at(0.5), at(0.95), v.front(), v.back()};
}

// A fresh HOME with its XDG folders, and the program running in it with its stderr piped.
class Program {
public:
    // `history`, when given, is the history file the program finds at start.
    explicit Program(const std::string& binary, const std::string& history = {}) {
        char tmpl[] = "/tmp/vt-bench-XXXXXX";
        root_ = mkdtemp(tmpl);
        for (const char* sub : {"config", "data", "cache", "runtime"})
            fs::create_directories(root_ + "/" + sub);
        chmod((root_ + "/runtime").c_str(), 0700);
        // A returning user: the first launch's onboarding window is not the program at rest.
        fs::create_directories(root_ + "/config/Vantrel");
        std::ofstream(root_ + "/config/Vantrel/Vantrel.conf")
            << "[General]\nonboardingDone=true\n"
            << (history.empty() ? "" : "historyLimit=200\n");
        if (!history.empty()) {
            fs::create_directories(dataDir());
            std::ofstream(historyPath(), std::ios::binary) << history;
        }
        int err[2];
        if (pipe2(err, O_CLOEXEC) != 0) std::exit(2);
        started_ = Clock::now();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(err[1], 2);
            setenv("HOME", root_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
            setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);
            setenv("XDG_CACHE_HOME", (root_ + "/cache").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
            setenv("QT_LOGGING_RULES", "io.vantrel.Vantrel.tap.debug=true", 1);
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(err[1]);
        err_ = err[0];
        fcntl(err_, F_SETFL, O_NONBLOCK);
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        close(err_);
        fs::remove_all(root_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return pid_; }
    Clock::time_point started() const { return started_; }
    std::string dataDir() const { return root_ + "/data/Vantrel"; }
    std::string historyPath() const { return dataDir() + "/history.json"; }

    // Reads what the program logged so far; returns the time (ms from exec) each marker first
    // appeared at, for the markers seen.
    void pumpLog() {
        char buf[4096];
        ssize_t n;
        while ((n = read(err_, buf, sizeof buf)) > 0) {
            log_.append(buf, std::size_t(n));
            for (const auto& [marker, at] : markers_)
                if (!at && log_.find(marker) != std::string::npos)
                    markers_[marker] = msSince(started_);
        }
    }
    void watchFor(const std::string& marker) { markers_[marker] = std::nullopt; }
    std::optional<double> seenAt(const std::string& marker) const { return markers_.at(marker); }
    const std::string& log() const { return log_; }

private:
    std::string root_;
    pid_t pid_ = -1;
    int err_ = -1;
    Clock::time_point started_;
    std::string log_;
    std::map<std::string, std::optional<double>> markers_;
};

constexpr const char* kTapReady = "launch: keyboard watch ready";
constexpr const char* kTrayShown = "tray: icon shown";

struct LaunchFigures {
    std::optional<double> tapReady, trayShown;
    double firstQuiet = -1; // first moment with no CPU for the next 50 ms
    double settled = -1;    // last CPU use in the first 3 s
    long rss = -1;
};

LaunchFigures launchOnce(const std::string& binary, const std::string& history = {}) {
    Program p(binary, history);
    p.watchFor(kTapReady);
    p.watchFor(kTrayShown);
    LaunchFigures f;
    CpuSample last = cpuOf(p.pid());
    double lastChange = 0, quietSince = 0;
    while (msSince(p.started()) < 3000) {
        usleep(1000);
        p.pumpLog();
        const double now = msSince(p.started());
        const CpuSample s = cpuOf(p.pid());
        if (s.ns != last.ns) {
            lastChange = now;
            quietSince = now;
            last = s;
        } else if (f.firstQuiet < 0 && now - quietSince >= 50 && now > 20) {
            f.firstQuiet = quietSince;
        }
    }
    f.settled = lastChange;
    f.tapReady = p.seenAt(kTapReady);
    f.trayShown = p.seenAt(kTrayShown);
    f.rss = rssKb(p.pid());
    return f;
}

// A history of `count` clips, every tenth an image: screenshot-like pictures of 1280 x 800 with
// flat areas, lines of "text" and a photo, as PNG.
std::string seededHistory(int count, std::size_t* imageBytes) {
    std::string json = "{\"items\":[";
    *imageBytes = 0;
    for (int i = 0; i < count; ++i) {
        char id[40];
        std::snprintf(id, sizeof id, "%08X-0000-4000-8000-%012X", 0x5EED0000u + unsigned(i),
                      unsigned(i));
        if (i > 0) json += ',';
        json += "{\"id\":\"" + std::string(id) + "\",";
        if (i % 10 == 9) {
            QImage image(1280, 800, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((i * 37) % 360, 40, 245));
            QPainter painter(&image);
            for (int line = 0; line < 40; ++line)
                painter.fillRect(40 + (line * 13 + i) % 90, 30 + line * 19, 300 + (line * 71) % 800,
                                 9, QColor::fromHsv((line * 53 + i) % 360, 120, 90));
            painter.end();
            // A photo in the page: noise, which no compressor shrinks.
            std::uint32_t seed = 2463534242u + unsigned(i);
            for (int y = 400; y < 640; ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 600; x < 920; ++x) {
                    seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
                    row[x] = 0xff000000u | (seed & 0xffffffu);
                }
            }
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            *imageBytes += std::size_t(png.size());
            json += "\"kind\":\"image\",\"imageData\":\"" + png.toBase64().toStdString() + "\"";
        } else {
            json += "\"kind\":\"text\",\"text\":\"seeded clip " + std::to_string(i) +
                    ": a line of text that someone copied\"";
        }
        json += ",\"date\":" + std::to_string(780000000 - i * 60) + ",\"sourceApp\":\"Bench\"}";
    }
    return json + "],\"limit\":200}";
}

// System calls over 10 s of idle, counted by strace when it is installed, and the times any of
// the program's threads was scheduled in over the same span.
void idleFigures(const std::string& binary) {
    Program p(binary);
    sleep(3);
    const CpuSample before = cpuOf(p.pid());
    const std::string out = "/tmp/vt-bench-strace-" + std::to_string(p.pid());
    pid_t tracer = -1;
    if (access("/usr/bin/strace", X_OK) == 0) {
        tracer = fork();
        if (tracer == 0) {
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 2);
            const std::string pid = std::to_string(p.pid());
            execl("/usr/bin/strace", "strace", "-f", "-c", "-o", out.c_str(), "-p", pid.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    sleep(10);
    const CpuSample after = cpuOf(p.pid());
    long calls = -1;
    if (tracer > 0) {
        calls = 0; // strace prints no total when nothing was called
        kill(tracer, SIGINT);
        waitpid(tracer, nullptr, 0);
        std::istringstream lines(slurp(out));
        std::string line;
        while (std::getline(lines, line)) {
            if (line.find(" total") == std::string::npos) continue;
            std::istringstream cols(line);
            double pct = 0, secs = 0;
            long usecs = 0;
            cols >> pct >> secs >> usecs >> calls;
        }
        std::remove(out.c_str());
    }
    // strace's own attach and detach wake the threads; the schedule count before attaching
    // is the cleaner figure, so both are printed.
    std::printf("idle 10 s: %lld scheduled runs, %.3f ms CPU, %ld system calls (strace)\n",
                static_cast<long long>(after.runs - before.runs),
                double(after.ns - before.ns) / 1e6, calls);
}

// A clipboard owner of the benchmark's own: each copy is a new owner of CLIPBOARD serving a
// unique text as UTF8_STRING.
class Owner {
public:
    Owner() {
        dpy_ = XOpenDisplay(nullptr);
        if (!dpy_) {
            std::fprintf(stderr, "bench_program: no X display\n");
            std::exit(2);
        }
        win_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
        targets_ = XInternAtom(dpy_, "TARGETS", False);
        utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
        textPlain_ = XInternAtom(dpy_, "text/plain;charset=utf-8", False);
    }
    ~Owner() { XCloseDisplay(dpy_); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;

    int fd() const { return ConnectionNumber(dpy_); }
    void copy(const std::string& text) {
        text_ = text;
        XSetSelectionOwner(dpy_, clipboard_, win_, CurrentTime);
        XFlush(dpy_);
    }
    void serve() {
        while (XPending(dpy_)) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            if (ev.type != SelectionRequest) continue;
            XSelectionRequestEvent& r = ev.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = r.requestor;
            reply.selection = r.selection;
            reply.target = r.target;
            reply.time = r.time;
            reply.property = r.property == None ? r.target : r.property;
            if (r.target == targets_) {
                Atom list[] = {targets_, utf8_, textPlain_, XA_STRING};
                XChangeProperty(dpy_, r.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(list), 4);
            } else if (r.target == utf8_ || r.target == textPlain_ || r.target == XA_STRING) {
                XChangeProperty(dpy_, r.requestor, reply.property, r.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text_.data()),
                                int(text_.size()));
            } else {
                reply.property = None;
            }
            XSendEvent(dpy_, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        }
        XFlush(dpy_);
    }

private:
    Display* dpy_ = nullptr;
    Window win_ = 0;
    Atom clipboard_ = 0, targets_ = 0, utf8_ = 0, textPlain_ = 0;
    std::string text_;
};

// Copies `count` texts, `gapMs` apart (0: each once the previous one was recorded and the
// program had been left alone for `restMs`), and measures copy → the history file holding it.
void copyFigures(const std::string& binary, int count, int gapMs, int restMs, const char* label) {
    Program p(binary);
    p.watchFor(kTapReady);
    Owner owner;
    // Let the program finish starting, so start-up work does not count as capture latency.
    usleep(1500 * 1000);
    fs::create_directories(p.dataDir());
    const int ino = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(ino, p.dataDir().c_str(), IN_MOVED_TO); // each save renames
    std::vector<double> latencies(static_cast<std::size_t>(count), -1.0);
    std::vector<Clock::time_point> copiedAt(static_cast<std::size_t>(count));
    int next = 0, firstPending = 0, writes = 0;
    const auto text = [](int i) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "vt-bench-%s-%05d", "copy", i);
        return std::string(buf);
    };
    const auto start = Clock::now();
    Clock::time_point nextAt = start;
    while (firstPending < count && msSince(start) < 20000 + count * (gapMs + restMs + 20)) {
        const bool ready =
            gapMs > 0 ? Clock::now() >= nextAt : next == firstPending && Clock::now() >= nextAt;
        if (next < count && ready) {
            copiedAt[std::size_t(next)] = Clock::now();
            owner.copy(text(next));
            ++next;
            nextAt += std::chrono::milliseconds(gapMs);
        }
        pollfd fds[2] = {{owner.fd(), POLLIN, 0}, {ino, POLLIN, 0}};
        poll(fds, 2, 1);
        owner.serve();
        if (fds[1].revents & POLLIN) {
            // Only the history file itself counts (its synced copy is renamed into place too).
            alignas(inotify_event) char buf[4096];
            bool written = false;
            ssize_t n;
            while ((n = read(ino, buf, sizeof buf)) > 0) {
                for (ssize_t at = 0; at < n;) {
                    const auto* ev = reinterpret_cast<const inotify_event*>(buf + at);
                    if (ev->len > 0 && std::strcmp(ev->name, "history.json") == 0) written = true;
                    at += ssize_t(sizeof(inotify_event) + ev->len);
                }
            }
            if (!written) continue;
            ++writes;
            const std::string file = slurp(p.historyPath());
            for (int i = firstPending; i < next; ++i) {
                if (latencies[std::size_t(i)] < 0 && file.find(text(i)) != std::string::npos)
                    latencies[std::size_t(i)] = msSince(copiedAt[std::size_t(i)]);
            }
            while (firstPending < next && latencies[std::size_t(firstPending)] >= 0)
                ++firstPending;
            if (gapMs == 0 && firstPending == next)
                nextAt = Clock::now() + std::chrono::milliseconds(restMs);
            if (gapMs > 0 && next == count) {
                // In a burst a lost copy never appears: stop once the last one has.
                if (latencies[std::size_t(count - 1)] >= 0) break;
            }
        }
    }
    close(ino);
    std::vector<double> seen;
    for (double l : latencies)
        if (l >= 0) seen.push_back(l);
    // The newest clip comes first in the file, so recorded-in-order means descending positions.
    const std::string file = slurp(p.historyPath());
    bool inOrder = true;
    std::size_t lastPos = std::string::npos;
    for (int i = 0; i < count; ++i) {
        const std::size_t pos = file.find(text(i));
        if (pos == std::string::npos) continue;
        if (lastPos != std::string::npos && pos > lastPos) inOrder = false;
        lastPos = pos;
    }
    const Stats s = stats(seen);
    std::printf(
        "%-28s %4zu/%-4d recorded%s, %d file writes, copy→recorded median %.2f ms, p95 %.2f ms "
        "(min %.2f, max %.2f)\n",
        label, seen.size(), count, inOrder ? " in order" : " OUT OF ORDER", writes, s.median, s.p95,
        s.min, s.max);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: bench_program <vantrel binary> [--launches N] [--copies N] [--burst N]\n");
        return 2;
    }
    const std::string binary = argv[1];
    int launches = 5, copies = 30, burst = 200;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--launches")
            launches = std::atoi(argv[i + 1]);
        else if (flag == "--copies")
            copies = std::atoi(argv[i + 1]);
        else if (flag == "--burst")
            burst = std::atoi(argv[i + 1]);
    }
    std::signal(SIGPIPE, SIG_IGN);

    std::vector<double> tap, tray, quiet, settled, rss;
    for (int i = 0; i < launches; ++i) {
        const LaunchFigures f = launchOnce(binary);
        std::printf(
            "launch %d: keyboard watch ready %s ms, tray icon %s ms, first 50 ms quiet at %.0f ms, "
            "last CPU use at %.0f ms, VmRSS %ld kB\n",
            i + 1, f.tapReady ? std::to_string(int(*f.tapReady)).c_str() : "never",
            f.trayShown ? std::to_string(int(*f.trayShown)).c_str() : "never", f.firstQuiet,
            f.settled, f.rss);
        if (f.tapReady) tap.push_back(*f.tapReady);
        if (f.trayShown) tray.push_back(*f.trayShown);
        quiet.push_back(f.firstQuiet);
        settled.push_back(f.settled);
        rss.push_back(double(f.rss) / 1024.0);
    }
    const auto range = [](const char* what, const std::vector<double>& v, const char* unit) {
        const Stats s = stats(v);
        std::printf("%-34s median %7.1f %s (range %.1f – %.1f)\n", what, s.median, unit, s.min,
                    s.max);
    };
    range("exec → keyboard watch ready", tap, "ms");
    range("exec → tray icon shown", tray, "ms");
    range("exec → idle (first 50 ms quiet)", quiet, "ms");
    range("exec → last CPU use in first 3 s", settled, "ms");
    range("resident memory after 3 s", rss, "MB");
    // A history of 200 clips, 20 of them images.
    std::size_t imageBytes = 0;
    const std::string seeded = seededHistory(200, &imageBytes);
    std::vector<double> seededRss;
    for (int i = 0; i < std::max(1, launches / 2); ++i)
        seededRss.push_back(double(launchOnce(binary, seeded).rss) / 1024.0);
    std::printf("with 200 clips, 20 images (%.1f MB of PNG):\n", double(imageBytes) / 1e6);
    range("resident memory after 3 s", seededRss, "MB");
    idleFigures(binary);
    copyFigures(binary, copies, 0, 600, "lone copies, 0.6 s apart");
    copyFigures(binary, burst, 10, 0, "burst (one every 10 ms)");
    return 0;
}
