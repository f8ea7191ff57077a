#pragma once
#include "core/hold_paste_machine.h"
#include "core/picker_panel.h"
#include "history/clip_item.h"
#include "platform/event_tap.h"
#include "platform/geometry.h"
#include "platform/main_queue.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vt {

// A keystroke: a tap key code and the modifier flags held with it.
struct PasteKeys {
    std::int64_t keycode = TapKeyCode::v;
    std::uint64_t flags = TapEventFlag::command;
    bool operator==(const PasteKeys&) const = default;
};

// Connects the hold-paste machine to the system: the event tap's events become machine inputs,
// the machine's effects drive the hold timer, the picker (ring or fan) and the paste keystroke,
// and its actions tell the tap whether to drop each event. Main thread only.
class HoldPasteController {
public:
    // Key-down, key-up, flags changed, mouse moved, left mouse dragged, left mouse down and up,
    // scroll wheel.
    static constexpr std::uint64_t eventMask = 0x401C66;

    // The tap, the queue and both panels belong to the caller and must outlive the controller.
    HoldPasteController(EventTap& tap, MainQueue& mainQueue, PickerPanel& ring, PickerPanel& fan);
    ~HoldPasteController();
    HoldPasteController(const HoldPasteController&) = delete;
    HoldPasteController& operator=(const HoldPasteController&) = delete;

    // How long Ctrl+V must be held before the picker opens, in seconds.
    double holdDelay = 0.35;
    // The history, newest first.
    std::function<std::vector<ClipItem>()> items = [] { return std::vector<ClipItem>{}; };
    // How many clips the history holds; asked inside the verdict on the chord, so it must not
    // copy them. Counts items() when not set.
    std::function<std::int64_t()> itemCount;
    // Called with the chosen clip before the paste keystroke is posted: on the main loop's next
    // turn, never inside the verdict on the key that chose it.
    std::function<void(const ClipItem&)> onCommit;
    // The keys that paste a chosen clip into the focused application (Ctrl+V unless it wants
    // others, as terminals do); asked when the paste is posted.
    std::function<PasteKeys()> pasteKeys;
    // True when the focused application takes Ctrl+V for itself: the hold never starts there.
    std::function<bool()> passesChordThrough;
    // Called on the main loop's turn after a hold starts (the chord pressed with clips to pick
    // from), outside the key's verdict: the picker can be readied while the hold delay runs.
    std::function<void()> onHoldStarting;
    // True picks with the fan, false with the ring.
    bool useFan = true;

    // Installs the tap (removing a previous one first); false when it cannot be installed.
    bool start();
    // Removes the tap, resets the machine and closes an open picker without a pick.
    void stop();

    // The installed tap; null while none is installed.
    EventTap* tap() const;
    PickerPanel& ring() const { return ring_; }
    PickerPanel& fan() const { return fan_; }
    const HoldPasteMachine& machine() const { return machine_; }

    // The key class of a tap key code.
    static HPKey key(std::int64_t keycode);

private:
    bool receive(std::uint32_t type, const TapEvent& event);
    bool feed(const HPInput& input);
    void perform(const HPEffect& effect, bool committing);
    void postCommandV();
    void postPaste(const PasteKeys& keys);
    bool feedHit(const PickerHit& hit);
    PickerPanel& panelForStyle() const { return useFan ? fan_ : ring_; }

    HoldPasteMachine machine_;
    EventTap& tap_;
    MainQueue& mainQueue_;
    std::int64_t timerGeneration_ = 0;
    PickerPanel& ring_;
    PickerPanel& fan_;
    PickerPanel* panel_;
    PointD lastPointer_;
    PointD ringCenter_;
    std::vector<ClipItem> shownItems_;
    // Set by the input being fed when it scheduled a paste.
    bool pasteScheduled_ = false;
    // Deferred jobs hold this weakly and do nothing once the controller is gone.
    std::shared_ptr<HoldPasteController*> self_;
};

} // namespace vt
