#include "platform/wayland/wayland_event_tap.h"

#include "platform/log.h"
#include "platform/paste_poster.h"

#include <QTimer>

namespace vt {

namespace {

// How long a release heard without its press may wait for it.
constexpr std::chrono::milliseconds kOvertaken{250};
// Auto-repeat comes at least this often (Sway's default rate is 25 a second).
constexpr std::chrono::milliseconds kRepeat{150};

TapEvent vEvent(std::uint32_t type, bool repeat) {
    TapEvent e;
    e.type = type;
    e.keycode = TapKeyCode::v;
    e.flags = TapEventFlag::command;
    e.autorepeat = repeat ? 1 : 0;
    return e;
}

// The chord the user's binding takes: typed with the spare modifier so that it reaches the
// application instead.
bool isBoundChord(std::int64_t keycode, std::uint64_t flags) {
    return keycode == TapKeyCode::v && flags == TapEventFlag::command;
}

} // namespace

std::optional<WaylandEventTap::Word> WaylandEventTap::parseWord(QByteArrayView line) {
    line = line.trimmed();
    if (line == "hold press") return Word::holdPress;
    if (line == "hold release") return Word::holdRelease;
    if (line == "pick") return Word::pick;
    return std::nullopt;
}

WaylandEventTap::WaylandEventTap(std::unique_ptr<PastePoster> poster)
    : poster_(std::move(poster)) {}

WaylandEventTap::~WaylandEventTap() = default;

bool WaylandEventTap::canType() const {
    return poster_ && poster_->isValid();
}

bool WaylandEventTap::create(std::uint64_t eventMask, Callback callback) {
    mask_ = eventMask;
    callback_ = std::move(callback);
    present_ = true;
    if (kept_) QTimer::singleShot(0, &context_, [this] { playKept(); });
    return true;
}

void WaylandEventTap::enable(bool enabled) {
    enabled_ = enabled;
}

void WaylandEventTap::invalidate() {
    callback_ = nullptr;
    present_ = false;
    enabled_ = false;
}

void WaylandEventTap::postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                                        std::int64_t) {
    if (!canType()) {
        if (!cannotTypeLogged_)
            qCWarning(vtLog, "tap: nothing can be typed here; the paste has to be made by hand");
        cannotTypeLogged_ = true;
        return;
    }
    if (!poster_->post(keycode, keyDown, flags, isBoundChord(keycode, flags)))
        qCWarning(vtLog, "tap: could not type key %lld", static_cast<long long>(keycode));
}

void WaylandEventTap::hear(Word word) {
    heard_ = true;
    const bool installed = present_ && callback_;
    qCDebug(vtLog, "tap: heard %s%s",
            word == Word::holdPress     ? "press"
            : word == Word::holdRelease ? "release"
                                        : "pick",
            installed ? "" : " (tap not running)");
    switch (word) {
    case Word::holdPress: {
        picking_ = false;
        // Sway drops the release binding when another key goes down meanwhile (an arrow, a
        // digit): only a press soon after the last one is the binding's auto-repeat.
        const auto now = std::chrono::steady_clock::now();
        const TapEvent e = vEvent(TapEventType::keyDown, vDown_ && now - lastPress_ < kRepeat);
        vDown_ = true;
        lastPress_ = now;
        if (!installed) {
            kept_ = Word::holdPress;
        } else if (!dispatch(e.type, e)) {
            retype(e.type, e);
        }
        // The compositor starts each binding's command on its own: on a quick press the
        // release's start may overtake the press's.
        if (early_ && std::chrono::steady_clock::now() - *early_ < kOvertaken)
            hear(Word::holdRelease);
        early_.reset();
        return;
    }
    case Word::holdRelease: {
        picking_ = false;
        if (!vDown_) {
            early_ = std::chrono::steady_clock::now();
            return;
        }
        vDown_ = false;
        const TapEvent e = vEvent(TapEventType::keyUp, false);
        if (!installed) {
            // A short press before the tap runs still pastes.
            if (kept_ == Word::holdPress) {
                kept_.reset();
                postKeyboardEvent(TapKeyCode::v, true, TapEventFlag::command, 0);
                postKeyboardEvent(TapKeyCode::v, false, TapEventFlag::command, 0);
            }
            return;
        }
        if (!dispatch(e.type, e)) retype(e.type, e);
        if (!pickerReportsInput_) {
            TapEvent up = e;
            up.type = TapEventType::flagsChanged;
            up.keycode = 0;
            up.flags = 0;
            dispatch(up.type, up);
        }
        return;
    }
    case Word::pick: {
        picking_ = true;
        vDown_ = false;
        if (!installed) {
            kept_ = Word::pick;
            return;
        }
        const TapEvent e = vEvent(TapEventType::keyDown, false);
        dispatch(e.type, e);
        return;
    }
    }
}

void WaylandEventTap::deliver(std::uint32_t type, const TapEvent& event) {
    TapEvent e = event;
    e.type = type;
    if (picking_) e.flags |= TapEventFlag::command;
    dispatch(type, e);
}

bool WaylandEventTap::dispatch(std::uint32_t type, const TapEvent& event) {
    if (!present_ || !callback_) return false;
    const bool disabledType = type >= TapEventType::tapDisabledByTimeout;
    if (!disabledType && (!enabled_ || !(mask_ & tapEventMaskBit(type)))) return false;
    // The callback may remove the tap: it runs on a copy.
    const Callback callback = callback_;
    return callback(type, event);
}

void WaylandEventTap::retype(std::uint32_t type, const TapEvent& event) {
    // The whole keystroke at once: its release may never be heard, and a key left down in the
    // application would repeat there.
    if (type != TapEventType::keyDown) return;
    postKeyboardEvent(event.keycode, true, event.flags, 0);
    postKeyboardEvent(event.keycode, false, event.flags, 0);
}

void WaylandEventTap::playKept() {
    if (!kept_ || !present_) return;
    const Word word = *kept_;
    kept_.reset();
    if (word == Word::holdPress) {
        if (!vDown_) return; // released meanwhile: already typed
        vDown_ = false;      // played as a fresh press, not a repeat
    }
    hear(word);
}

} // namespace vt
