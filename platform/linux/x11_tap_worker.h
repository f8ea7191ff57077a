#pragma once
#include "platform/event_tap.h"
#include "platform/linux/verdict_timing.h"
#include "platform/linux/x11_error_trap.h"
#include "platform/screens.h"
#include <X11/Xlib.h>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>
#include <xcb/xcb.h>

namespace vt {

// What the main thread asks of the tap's thread.
struct TapCommand {
    enum class Kind { enable, disable, post, rootSpace, holdForPaste };
    Kind kind = Kind::enable;
    std::int64_t keycode = 0;
    bool keyDown = false;
    std::uint64_t flags = 0;
    std::int64_t userData = 0;
    RootSpace space; // rootSpace: how X's root pixels map onto the program's points
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

    // Runs the main thread's commands that arrived so far (a paste decided by the last verdict
    // goes out before the next key is looked at).
    using Drain = std::function<void()>;

    X11TapWorker(std::uint64_t eventMask, Ask ask, Tell tell, VerdictTimer timer, Drain drain = {});
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
    // Whether the chord is grabbed; while it is not, retryChord() tries again.
    bool holdsChord() const { return chordHeld_; }
    void retryChord();
    // Whether keyboard and pointer are grabbed for a hold under way.
    bool holdsKeyboard() const { return activeGrab_; }
    // Gives keyboard and pointer back (the main thread stopped answering).
    void letGo();
    // Milliseconds until poll() wants to run again; -1 for never.
    int pollInterval() const { return awaitVUp_ ? 20 : chordHeld_ ? -1 : 1000; }
    void poll();

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
    void postKey(unsigned int key, bool down);
    bool keyIsDown(unsigned int key) const;
    bool regrabKeyboard();
    void repost(const XKeyEvent& event);
    bool xtestHolds(unsigned int key);
    void setChordHeld(bool held);
    bool wants(std::uint32_t type) const;
    std::int64_t tapKeyCode(unsigned int xKeycode) const;
    bool looksLikeRepeat(unsigned int xKeycode, Time time) const;

    std::uint64_t mask_;
    Ask ask_;
    Tell tell_;
    VerdictTimer timer_;
    Drain drain_;
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
    bool chordHeld_ = false;
    // A passed-through chord press was typed again: the chord waits for V to go up.
    bool awaitVUp_ = false;
    void* xtestKeyboard_ = nullptr; // XDevice*, opened on first use
    // After a hold, V is still down: its repeats and release are not the application's.
    bool swallowV_ = false;
    bool resumeSwallowV_ = false;
    // A paste was chosen and is still to be posted: the keyboard stays frozen, and the first key
    // that arrived meanwhile is kept to be handled after the paste.
    bool pasteOwed_ = false;
    std::optional<XEvent> keptKey_;
    void handBackKeptKey();
    void retypeWaitingKeys(bool vIsTheHolds);
    // Modifier keys our keystroke pressed (true) or let go of (false), undone after it.
    std::vector<std::pair<unsigned int, bool>> postedModifiers_;
    // When the current key event's XAllowEvents was issued.
    std::chrono::steady_clock::time_point allowIssued_;
    RootSpace space_;
};

} // namespace vt
