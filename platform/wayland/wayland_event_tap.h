#pragma once
#include "platform/event_tap.h"

#include <QByteArrayView>
#include <QObject>
#include <chrono>
#include <memory>
#include <optional>

namespace vt {

class PastePoster;

// The event tap of a Wayland session, where no program sees the keyboard of others. Its events
// come from two places, both on the main thread:
//
// - Words handed over by a later start of the program (`vantrel --hold press`, `--hold
//   release`, `--pick`, through the single-instance socket), which the compositor runs from
//   bindings the user adds, e.g. on Sway:
//       bindsym --no-repeat Ctrl+v exec /usr/bin/vantrel --hold press
//       bindsym --release Ctrl+v exec /usr/bin/vantrel --hold release
//   "press" is V's key-down with the command flag (one within 150 ms of the last while V is
//   down is the binding's auto-repeat; later ones are fresh presses, as Sway drops the release
//   binding when another key goes down meanwhile), "release" V's key-up (one that overtook its
//   press, as the compositor starts the two commands independently, follows the press when it
//   comes within 250 ms). The compositor keeps the chord from the application, so a press that
//   the callback lets through is typed again, as a whole keystroke, by the virtual keyboard: a
//   short press, or any press while hold-to-paste does not apply, still pastes. "pick" (for a
//   shortcut of the user's choice where no press and release can be told) is V's key-down with
//   the command flag, and from then on, until the next word, every event delivered here
//   carries the command flag: the picker then ends on Return, a digit, a click or Escape, never
//   on a Ctrl release.
// - The picker's own surface, which holds the keyboard while it is open and reports its input
//   through deliver(type, event) in this tap's vocabulary: keyDown / keyUp with TapKeyCode and
//   autorepeat, flagsChanged with the TapEventFlag bits held after the change, mouseMoved with
//   the location in the space the panels' show() returns, leftMouseDown, scrollWheel. Those
//   go to the callback exactly as the X11 tap's do; the surface has the keyboard, so what the
//   callback lets through goes nowhere else.
//
// Keystrokes the program posts go out through the paste poster (the virtual keyboard,
// zwp_virtual_keyboard_v1). A Ctrl+V is posted past the user's binding (see
// VirtualKeyboard::post), so the binding does not take it back; nothing posted comes back
// through this tap.
class WaylandEventTap final : public EventTap {
public:
    enum class Word { holdPress, holdRelease, pick };
    // The word of one line from the single-instance socket ("hold press", "hold release",
    // "pick"); nothing for any other line.
    static std::optional<Word> parseWord(QByteArrayView line);

    // `poster` may be null or invalid: nothing is typed then (a chosen clip still reaches the
    // clipboard).
    explicit WaylandEventTap(std::unique_ptr<PastePoster> poster);
    ~WaylandEventTap() override;
    WaylandEventTap(const WaylandEventTap&) = delete;
    WaylandEventTap& operator=(const WaylandEventTap&) = delete;

    bool create(std::uint64_t eventMask, Callback callback) override;
    void enable(bool enabled) override;
    void invalidate() override;
    bool isPresent() const override { return present_; }
    // True once a word came: the user's binding (or shortcut) reaches the program.
    bool holdsChord() const override { return present_ && heard_; }
    bool isTrusted() const override { return true; }
    void postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                           std::int64_t userData) override;

    // A word from a later start. Before the tap is installed, a press still held or a pick is
    // kept and played once it is; a short press is typed again at once.
    void hear(Word word);
    // One event of the picker's surface (see above).
    void deliver(std::uint32_t type, const TapEvent& event);
    // Whether a picker surface reports its input through deliver(); whoever wires its callback
    // sets this. Without one nothing would ever tell of Ctrl's release once the picker is open,
    // so "release" (which Sway sends when V goes up) then also stands for it: the picker closes
    // with the selected clip when V is let go.
    void setPickerReportsInput(bool reports) { pickerReportsInput_ = reports; }

    // Some word came (since start, or in an earlier session: setHeard).
    bool heard() const { return heard_; }
    void setHeard(bool heard) { heard_ = heard; }
    // The paste poster works: pastes can be typed.
    bool canType() const;

private:
    bool dispatch(std::uint32_t type, const TapEvent& event);
    void retype(std::uint32_t type, const TapEvent& event);
    void playKept();

    std::unique_ptr<PastePoster> poster_;
    QObject context_; // queued replays of kept words
    Callback callback_;
    std::uint64_t mask_ = 0;
    bool present_ = false;
    bool enabled_ = false;
    bool heard_ = false;
    bool vDown_ = false; // a press was heard and no release yet
    std::chrono::steady_clock::time_point lastPress_;
    bool picking_ = false; // the last word was "pick"
    bool pickerReportsInput_ = false;
    std::optional<Word> kept_;
    // When a release came with no press down: its press may still be on the way.
    std::optional<std::chrono::steady_clock::time_point> early_;
    bool cannotTypeLogged_ = false;
};

} // namespace vt
