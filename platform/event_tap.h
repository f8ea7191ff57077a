#pragma once
#include "platform/geometry.h"
#include <cstdint>
#include <functional>

// The session-wide event tap of hold-to-paste: it sees keys, modifiers, pointer, clicks and the
// wheel before the focused application and may drop them. Events arrive as TapEvent records in
// the program's own vocabulary (event type numbers, key codes, flag bits, field values), so the
// controller reads them the same way whatever window system delivers them.

namespace vt {

// Event type numbers.
namespace TapEventType {
inline constexpr std::uint32_t leftMouseDown = 1;
inline constexpr std::uint32_t leftMouseUp = 2;
inline constexpr std::uint32_t mouseMoved = 5;
inline constexpr std::uint32_t leftMouseDragged = 6;
inline constexpr std::uint32_t keyDown = 10;
inline constexpr std::uint32_t keyUp = 11;
inline constexpr std::uint32_t flagsChanged = 12;
inline constexpr std::uint32_t scrollWheel = 22;
// Delivered when the tap had to let events through without asking (a stalled answer).
inline constexpr std::uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
// Delivered when the tap lost its hold on the input for another reason (for example another
// program took the keyboard).
inline constexpr std::uint32_t tapDisabledByUserInput = 0xFFFFFFFF;
} // namespace TapEventType

// Modifier flag bits of TapEvent::flags. Command is the paste modifier (Ctrl on Linux), Control
// is played by Super, Option by Alt.
namespace TapEventFlag {
inline constexpr std::uint64_t alphaShift = 0x10000;
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
} // namespace TapEventFlag

// Key codes of TapEvent::keycode: positions on an ANSI keyboard, independent of the layout.
namespace TapKeyCode {
inline constexpr std::int64_t v = 9;
inline constexpr std::int64_t digit1 = 18;
inline constexpr std::int64_t digit2 = 19;
inline constexpr std::int64_t digit3 = 20;
inline constexpr std::int64_t digit4 = 21;
inline constexpr std::int64_t digit6 = 22;
inline constexpr std::int64_t digit5 = 23;
inline constexpr std::int64_t digit9 = 25;
inline constexpr std::int64_t digit7 = 26;
inline constexpr std::int64_t digit8 = 28;
inline constexpr std::int64_t digit0 = 29;
inline constexpr std::int64_t returnKey = 36;
inline constexpr std::int64_t escape = 53;
inline constexpr std::int64_t keypadEnter = 76;
inline constexpr std::int64_t insert = 114; // Help on Apple keyboards
inline constexpr std::int64_t left = 123;
inline constexpr std::int64_t right = 124;
inline constexpr std::int64_t down = 125;
inline constexpr std::int64_t up = 126;
// Every key the program has no use for.
inline constexpr std::int64_t unknown = 0xFFFF;
} // namespace TapKeyCode

// The value in TapEvent::userData of the events the program posts itself.
inline constexpr std::int64_t kSyntheticEventMarker = 0x5654524C;

// One event as the tap reports it. Each field stands for one numbered event field.
struct TapEvent {
    std::uint32_t type = 0;
    std::int64_t keycode = 0;            // keyboard key code (field 9)
    std::int64_t autorepeat = 0;         // non-zero for auto-repeated key-downs (field 8)
    std::uint64_t flags = 0;             // TapEventFlag bits held after the event
    PointD location;                     // pointer location in event space
    std::int64_t scrollIsContinuous = 0; // field 88
    std::int64_t scrollDeltaAxis1 = 0;   // wheel steps, positive away from the user (field 11)
    double scrollPointDeltaAxis1 = 0;    // points, for continuous scrolling (field 96)
    std::int64_t userData = 0;           // the poster's marker (field 42)
};

// Bit (1 << type) for each event type the tap is to report.
constexpr std::uint64_t tapEventMaskBit(std::uint32_t type) {
    return std::uint64_t{1} << type;
}

class EventTap {
public:
    // Answers true to drop the event, false to let it through to the focused application.
    using Callback = std::function<bool(std::uint32_t type, const TapEvent& event)>;

    virtual ~EventTap() = default;

    // Installs the tap for the event types in mask (tapEventMaskBit); the callback runs on the main
    // thread, one event at a time, in the order the events happened. False when the tap cannot be
    // installed; nothing is then left behind.
    virtual bool create(std::uint64_t eventMask, Callback callback) = 0;
    // A disabled tap lets every event through without asking; enabling it again resumes.
    virtual void enable(bool enabled) = 0;
    // Removes the tap for good and releases every hold it had on keyboard and pointer.
    virtual void invalidate() = 0;
    // True exactly while the tap is installed.
    virtual bool isPresent() const = 0;
    // True while the installed tap really holds the paste chord (another program may have taken
    // it since); the tray warns when it does not.
    virtual bool holdsChord() const { return isPresent(); }
    // Whether this session lets the program install a tap at all (reported when creating fails).
    virtual bool isTrusted() const = 0;
    // Posts a keyboard event as if typed with exactly these modifier flags held, carrying
    // userData; it passes through this tap again with that value.
    virtual void postKeyboardEvent(std::int64_t keycode, bool keyDown, std::uint64_t flags,
                                   std::int64_t userData) = 0;
    // Called while answering an event that chose a clip: the paste keystroke follows shortly.
    // Keys the user types meanwhile wait and reach the application after the paste.
    virtual void holdInputForPaste() {}
};

} // namespace vt
