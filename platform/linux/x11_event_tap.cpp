// Qt before Xlib: Xlib defines macros (Bool, Status) that break Qt headers.
#include "platform/linux/x11_event_tap.h"
#include "platform/log.h"
#include <QMetaObject>

#include "platform/linux/x11_tap_worker.h"
#include <X11/Xlib.h>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace vt {

// The callback, reachable from queued main-thread jobs; cleared on invalidate so that jobs still
// in the queue then do nothing.
struct X11EventTap::Delivery {
    Callback callback;
};

// One verdict request between the tap thread and the main thread.
struct X11EventTap::Answer {
    std::mutex mutex;
    std::condition_variable cv;
    bool answered = false;
    bool abandoned = false;
    bool swallow = false;
    std::atomic<bool> ready{false}; // answered, readable without the lock
};

namespace {
constexpr std::size_t kMaxLatencies = 65536;
constexpr std::chrono::microseconds kAnswerSpin{300};
constexpr std::chrono::milliseconds kGrabWatch{400};
} // namespace

X11EventTap::X11EventTap(std::chrono::milliseconds answerTimeout) : answerTimeout_(answerTimeout) {}

X11EventTap::~X11EventTap() {
    invalidate();
}

bool X11EventTap::create(std::uint64_t eventMask, Callback callback) {
    invalidate();
    // Harmless when Xlib already runs thread-safe; required by older Xlib before any other call.
    XInitThreads();
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) return false;
    {
        std::lock_guard lock(mutex_);
        stopping_ = false;
        commands_.clear();
        commands_.push_back({TapCommand::Kind::rootSpace, 0, false, 0, 0, space_});
    }
    auto delivery = std::make_shared<Delivery>();
    delivery->callback = std::move(callback);
    std::promise<bool> opened;
    auto result = opened.get_future();
    thread_ =
        std::thread([this, eventMask, delivery, &opened] { run(eventMask, delivery, opened); });
    if (!result.get()) {
        thread_.join();
        ::close(wakeFd_);
        wakeFd_ = -1;
        return false;
    }
    delivery_ = std::move(delivery);
    present_ = true;
    return true;
}

void X11EventTap::invalidate() {
    if (delivery_) delivery_->callback = nullptr;
    delivery_.reset();
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            if (waiting_) {
                std::lock_guard answerLock(waiting_->mutex);
                waiting_->abandoned = true;
                waiting_->cv.notify_all();
            }
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
    present_ = false;
}

bool X11EventTap::isPresent() const {
    return present_;
}

bool X11EventTap::isTrusted() const {
    return trusted_;
}

void X11EventTap::enable(bool enabled) {
    send({enabled ? TapCommand::Kind::enable : TapCommand::Kind::disable, 0, false, 0, 0, {}});
}

void X11EventTap::postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                                    std::int64_t userData) {
    send({TapCommand::Kind::post, keycode, keyDown, flags, userData, {}});
}

void X11EventTap::holdInputForPaste() {
    send({TapCommand::Kind::holdForPaste, 0, false, 0, 0, {}});
}

void X11EventTap::setRootSpace(const RootSpace& space) {
    {
        std::lock_guard lock(mutex_);
        space_ = space;
    }
    if (present_) send({TapCommand::Kind::rootSpace, 0, false, 0, 0, space});
}

std::vector<VerdictTiming> X11EventTap::takeVerdictLatencies() {
    std::lock_guard lock(mutex_);
    return std::exchange(latencies_, {});
}

void X11EventTap::send(const TapCommand& command) {
    if (!present_) return;
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof one);
}

void X11EventTap::recordLatency(const VerdictTiming& timing) {
    std::lock_guard lock(mutex_);
    if (latencies_.size() >= kMaxLatencies) latencies_.erase(latencies_.begin());
    latencies_.push_back(timing);
}

std::optional<bool> X11EventTap::ask(const std::shared_ptr<Delivery>& delivery, std::uint32_t type,
                                     const TapEvent& event) {
    auto answer = std::make_shared<Answer>();
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return std::nullopt;
        // The main thread has not yet answered a question it let time out: it is stalled, and
        // every key would wait the whole timeout again.
        if (stalled_) return std::nullopt;
        waiting_ = answer;
    }
    QMetaObject::invokeMethod(
        &context_,
        [this, delivery, answer, type, event] {
            {
                std::lock_guard lock(answer->mutex);
                if (answer->abandoned) {
                    stalled_ = false; // answering again
                    return;           // the event already went through without us
                }
            }
            const bool swallow = delivery->callback ? delivery->callback(type, event) : false;
            stalled_ = false;
            std::lock_guard lock(answer->mutex);
            answer->answered = true;
            answer->swallow = swallow;
            answer->ready.store(true, std::memory_order_release);
            answer->cv.notify_all();
        },
        Qt::QueuedConnection);
    // The main thread usually answers within tens of microseconds: wait for that without going to
    // sleep, since waking this thread again would cost about as much as the answer itself. A key
    // event is frozen meanwhile, so this spin only runs while the user is pressing the chord.
    const auto spinUntil = std::chrono::steady_clock::now() + kAnswerSpin;
    while (!answer->ready.load(std::memory_order_acquire) &&
           std::chrono::steady_clock::now() < spinUntil)
        std::this_thread::yield();
    std::optional<bool> verdict;
    {
        std::unique_lock lock(answer->mutex);
        answer->cv.wait_for(lock, answerTimeout_,
                            [&] { return answer->answered || answer->abandoned; });
        if (answer->answered) {
            verdict = answer->swallow;
        } else {
            answer->abandoned = true;
            stalled_ = true;
        }
    }
    std::lock_guard lock(mutex_);
    waiting_.reset();
    return verdict;
}

void X11EventTap::tell(const std::shared_ptr<Delivery>& delivery, std::uint32_t type,
                       const TapEvent& event) {
    QMetaObject::invokeMethod(
        &context_,
        [delivery, type, event] {
            if (delivery->callback) delivery->callback(type, event);
        },
        Qt::QueuedConnection);
}

void X11EventTap::run(std::uint64_t eventMask, std::shared_ptr<Delivery> delivery,
                      std::promise<bool>& opened) {
    X11TapWorker* current = nullptr;
    auto drain = [this, &current] {
        std::vector<TapCommand> commands;
        {
            std::lock_guard lock(mutex_);
            commands.swap(commands_);
            // A keystroke goes out whole: a press whose release is not here yet waits for it,
            // so that no key event is handled while our keys are down.
            if (!commands.empty() && commands.back().kind == TapCommand::Kind::post &&
                commands.back().keyDown) {
                commands_.push_back(commands.back());
                commands.pop_back();
            }
        }
        for (const TapCommand& c : commands)
            current->perform(c);
    };
    X11TapWorker worker(
        eventMask,
        [this, delivery](std::uint32_t type, const TapEvent& e) { return ask(delivery, type, e); },
        [this, delivery](std::uint32_t type, const TapEvent& e) { tell(delivery, type, e); },
        [this](const VerdictTiming& timing) { recordLatency(timing); }, drain);
    current = &worker;
    const bool ok = worker.open();
    trusted_ = worker.trusted();
    chordHeld_ = worker.holdsChord();
    opened.set_value(ok);
    if (!ok) return;

    pollfd fds[2] = {{worker.connectionFd(), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) break;
        }
        drain();
        worker.processEvents();
        // A chord that could not be grabbed again (after our own keystroke, or a keymap change)
        // is tried again every second; until then the tray says that hold-to-paste is off.
        worker.poll();
        if (!worker.holdsChord()) worker.retryChord();
        chordHeld_ = worker.holdsChord();
        // While keyboard and pointer are ours, the main thread must keep answering: a stalled
        // one gets them taken back within kGrabWatch.
        int timeout = worker.pollInterval();
        if (worker.holdsKeyboard()) {
            const auto now = std::chrono::steady_clock::now();
            const auto pong = lastPong_.load();
            if (!pingOut_.exchange(true)) {
                pingSent_ = now;
                QMetaObject::invokeMethod(
                    &context_,
                    [this] {
                        lastPong_ = std::chrono::steady_clock::now();
                        pingOut_ = false;
                    },
                    Qt::QueuedConnection);
            } else if (now - pingSent_ > kGrabWatch && pong < pingSent_) {
                qCWarning(vtLog, "tap: the program stopped answering; letting go of the keyboard");
                worker.letGo();
                tell(delivery, TapEventType::tapDisabledByTimeout, TapEvent{});
            }
            timeout = timeout < 0 ? 50 : std::min(timeout, 50);
        }
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) {
            qCWarning(vtLog) << "tap: poll failed, errno" << errno;
            break;
        }
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] auto got = ::read(wakeFd_, &count, sizeof count);
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            qCWarning(vtLog) << "tap: X connection lost";
            tell(delivery, TapEventType::tapDisabledByUserInput, TapEvent{});
            break;
        }
    }
}

} // namespace vt
