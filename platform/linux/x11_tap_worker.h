#pragma once
#include "platform/event_tap.h"
#include "platform/linux/verdict_timing.h"
#include "platform/linux/x11_error_trap.h"
#include <X11/Xlib.h>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <xcb/xcb.h>

namespace vt {

// What the main thread asks of the tap's thread.
struct TapCommand {
    enum class Kind { enable, disable, post, primaryOrigin };
    Kind kind = Kind::enable;
    std::int64_t keycode = 0;
    bool keyDown = false;
    std::uint64_t flags = 0;
    std::int64_t userData = 0;
    PointD origin; // primaryOrigin: root position of the primary screen's top-left
};

// The X side of the tap, used only on the tap's own thread: the private connection, the passive
// grab of Ctrl+V, the active grabs while a hold is under way, and the translation of X events into
// tap events. It decides nothing: every verdict comes from `ask`.
class X11TapWorker {
public:
    // Asks the main thread for the verdict on a frozen key event; nothing when no answer came in
    // time (the event is then let through).
    using Ask = std::function<std::optional<bool>(std::uint32_t type, const TapEvent& event)>;
    // Reports an event whose verdict X does not wait for (pointer events, the disabled types).
    using Tell = std::function<void(std::uint32_t type, const TapEvent& event)>;
    // Nanoseconds from a key event's arrival to its XAllowEvents, and to that request written
    // to the server.
    using VerdictTimer = std::function<void(const VerdictTiming& timing)>;

    X11TapWorker(std::uint64_t eventMask, Ask ask, Tell tell, VerdictTimer timer);
    ~X11TapWorker();
    X11TapWorker(const X11TapWorker&) = delete;
    X11TapWorker& operator=(const X11TapWorker&) = delete;

    // Opens the connection and takes the passive grab; false (with everything released) when the
    // display, XTest or the grab is not available.
    bool open();
    // Whether a display with XTest was reachable in open().
    bool trusted() const { return trusted_; }
    int connectionFd() const;

    void perform(const TapCommand& command);
    // Handles every event already received or buffered; flushes the output.
    void processEvents();

private:
    void processQueued();
    bool grabChord();
    void ungrabChord();
    void ungrabChord(unsigned int keycode, unsigned int numLockMask);
    void readKeyboardMapping();
    void handleKey(XKeyEvent& event);
    void handlePointer(const XEvent& event);
    void applyVerdict(std::optional<bool> verdict);
    void replayKeepingGrab();
    void requestActiveGrab();
    void finishActiveGrab();
    void releaseActiveGrab();
    void post(const TapCommand& command);
    bool wants(std::uint32_t type) const;
    std::int64_t tapKeyCode(unsigned int xKeycode) const;
    bool looksLikeRepeat(unsigned int xKeycode, Time time) const;

    std::uint64_t mask_;
    Ask ask_;
    Tell tell_;
    VerdictTimer timer_;
    Display* display_ = nullptr;
    xcb_connection_t* xcb_ = nullptr; // the same connection, for requests sent without waiting
    std::unique_ptr<X11ErrorTrap> trap_;
    Window root_ = 0;
    bool trusted_ = false;
    bool enabled_ = true;
    bool activeGrab_ = false;
    // Active grabs requested whose replies are still to be read.
    bool grabPending_ = false;
    unsigned int pendingKeyboardGrab_ = 0;
    unsigned int pendingPointerGrab_ = 0;
    unsigned int vKeycode_ = 0;
    unsigned int numLockMask_ = 0;
    unsigned int modifierMaskOf_[256] = {};
    std::set<unsigned int> keysDown_;
    // Server time of the last press seen per key, and the server's auto-repeat timing: a press
    // whose release went past us unseen is told apart from a repeat by when it comes.
    std::array<Time, 256> lastPress_{};
    unsigned int repeatDelayMs_ = 660;
    unsigned int repeatIntervalMs_ = 40;
    // The chord is ungrabbed while our own keystroke goes by.
    bool steppedAside_ = false;
    // When the current key event's XAllowEvents was issued.
    std::chrono::steady_clock::time_point allowIssued_;
    PointD primaryOrigin_;
};

} // namespace vt
