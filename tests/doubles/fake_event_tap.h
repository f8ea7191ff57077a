#pragma once
#include "platform/event_tap.h"
#include <vector>

namespace vt::test {

// An EventTap the test drives: deliver() plays an event through the installed callback and
// answers whether it was dropped; posted keystrokes are recorded.
class FakeEventTap final : public EventTap {
public:
    struct Posted {
        std::int64_t keycode;
        bool keyDown;
        std::uint64_t flags;
        std::int64_t userData;
        bool operator==(const Posted&) const = default;
    };

    bool createSucceeds = true;
    bool trusted = true;
    std::uint64_t mask = 0;
    bool enabled = false;
    std::vector<Posted> posted;

    bool create(std::uint64_t eventMask, Callback callback) override {
        if (!createSucceeds) return false;
        mask = eventMask;
        callback_ = std::move(callback);
        present_ = true;
        return true;
    }
    void enable(bool on) override { enabled = on; }
    void invalidate() override {
        callback_ = nullptr;
        present_ = false;
    }
    bool isPresent() const override { return present_; }
    bool isTrusted() const override { return trusted; }
    void postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                           std::int64_t userData) override {
        posted.push_back({keycode, keyDown, flags, userData});
    }

    bool deliver(std::uint32_t type, TapEvent event = {}) {
        event.type = type;
        if (!present_ || !callback_) return false;
        const bool disabledType = type >= TapEventType::tapDisabledByTimeout;
        if (!disabledType && (!enabled || !(mask & tapEventMaskBit(type)))) return false;
        return callback_(type, event);
    }
    bool keyDown(std::int64_t keycode, std::uint64_t flags = TapEventFlag::command,
                 bool repeat = false) {
        TapEvent e;
        e.keycode = keycode;
        e.flags = flags;
        e.autorepeat = repeat ? 1 : 0;
        return deliver(TapEventType::keyDown, e);
    }
    bool keyUp(std::int64_t keycode, std::uint64_t flags = TapEventFlag::command) {
        TapEvent e;
        e.keycode = keycode;
        e.flags = flags;
        return deliver(TapEventType::keyUp, e);
    }
    bool flagsChanged(std::uint64_t flags) {
        TapEvent e;
        e.flags = flags;
        return deliver(TapEventType::flagsChanged, e);
    }
    bool move(double x, double y) {
        TapEvent e;
        e.location = {x, y};
        return deliver(TapEventType::mouseMoved, e);
    }
    bool wheel(std::int64_t steps) {
        TapEvent e;
        e.scrollDeltaAxis1 = steps;
        return deliver(TapEventType::scrollWheel, e);
    }

    // Pairs of posted key-downs of V carrying the program's marker and exactly the Command flag.
    int markedPastes() const {
        int n = 0;
        for (std::size_t i = 0; i + 1 < posted.size(); ++i) {
            const Posted down{TapKeyCode::v, true, TapEventFlag::command, kSyntheticEventMarker};
            const Posted up{TapKeyCode::v, false, TapEventFlag::command, kSyntheticEventMarker};
            if (posted[i] == down && posted[i + 1] == up) ++n;
        }
        return n;
    }

private:
    Callback callback_;
    bool present_ = false;
};

} // namespace vt::test
