#pragma once
#include "platform/event_tap.h"
#include "platform/linux/verdict_timing.h"
#include "platform/screens.h"
#include <QObject>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vt {

struct TapCommand;

// The event tap on X11. A private Xlib connection, serviced by the tap's own thread, holds a
// passive synchronous grab of Ctrl+V; each grabbed key event waits, keyboard frozen, for the main
// thread's verdict, which becomes an XAllowEvents mode (swallow: SyncKeyboard, pass:
// ReplayKeyboard). Once a hold has begun the keyboard and pointer are grabbed actively until the
// main thread lets a key through (normally the Ctrl release). The main thread's answer is awaited
// at most answerTimeout: after that the event is let through and tapDisabledByTimeout is
// delivered, so a stalled program never freezes the keyboard.
class X11EventTap final : public EventTap {
public:
    explicit X11EventTap(std::chrono::milliseconds answerTimeout = std::chrono::milliseconds(250));
    ~X11EventTap() override;
    X11EventTap(const X11EventTap&) = delete;
    X11EventTap& operator=(const X11EventTap&) = delete;

    bool create(std::uint64_t eventMask, Callback callback) override;
    void enable(bool enabled) override;
    void invalidate() override;
    bool isPresent() const override;
    bool isTrusted() const override;
    void holdInputForPaste() override;
    void postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                           std::int64_t userData) override;

    // How root-window pixels map onto event space (the primary screen's top-left, scaled
    // screens).
    void setRootSpace(const RootSpace& space);
    // False while the paste chord could not be grabbed (another program holds it); the tap
    // keeps trying.
    bool holdsChord() const override { return chordHeld_; }
    // How long each grabbed key event waited on the tap, oldest first, since the last call (at
    // most the newest 65536).
    std::vector<VerdictTiming> takeVerdictLatencies();

private:
    struct Delivery;
    struct Answer;

    void run(std::uint64_t eventMask, std::shared_ptr<Delivery> delivery,
             std::promise<bool>& opened);
    std::optional<bool> ask(const std::shared_ptr<Delivery>& delivery, std::uint32_t type,
                            const TapEvent& event);
    void tell(const std::shared_ptr<Delivery>& delivery, std::uint32_t type, const TapEvent& event);
    void send(const TapCommand& command);
    void recordLatency(const VerdictTiming& timing);

    const std::chrono::milliseconds answerTimeout_;
    QObject context_; // lives on the main thread: verdict requests are queued to it
    std::shared_ptr<Delivery> delivery_;
    std::thread thread_;
    int wakeFd_ = -1;
    bool present_ = false;
    std::atomic<bool> trusted_{false};
    std::atomic<bool> chordHeld_{false};
    std::atomic<bool> stalled_{false};
    // The grab watch: the last ping to the main thread (tap thread only) and its answer.
    std::chrono::steady_clock::time_point pingSent_;
    std::atomic<bool> pingOut_{false};
    std::atomic<std::chrono::steady_clock::time_point> lastPong_{};

    std::mutex mutex_; // guards everything below
    std::vector<TapCommand> commands_;
    bool stopping_ = false;
    std::shared_ptr<Answer> waiting_;
    std::vector<VerdictTiming> latencies_;
    RootSpace space_;
};

} // namespace vt
