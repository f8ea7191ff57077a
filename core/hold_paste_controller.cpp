#include "core/hold_paste_controller.h"
#include "platform/log.h"
#include <algorithm>
#include <array>
#include <utility>

namespace vt {
namespace {

bool isPicking(const HoldPasteMachine& m) {
    return m.state.kind == HoldPasteMachine::State::Kind::picking;
}
bool isIdle(const HoldPasteMachine& m) {
    return m.state.kind == HoldPasteMachine::State::Kind::idle;
}

HPInput inputForHit(const PickerHit& hit) {
    switch (hit.kind) {
    case PickerHit::Kind::item:
        return HPInput::pointer(hit.index);
    case PickerHit::Kind::center:
        return HPInput::pointer(std::nullopt);
    case PickerHit::Kind::outside:
        return HPInput::pointerOutside();
    }
    return HPInput::pointer(std::nullopt);
}

constexpr std::uint64_t kOtherModifiers =
    TapEventFlag::shift | TapEventFlag::control | TapEventFlag::option;

} // namespace

HoldPasteController::HoldPasteController(EventTap& tap, MainQueue& mainQueue, PickerPanel& ring,
                                         PickerPanel& fan)
    : tap_(tap), mainQueue_(mainQueue), ring_(ring), fan_(fan), panel_(&ring),
      self_(std::make_shared<HoldPasteController*>(this)) {}

HoldPasteController::~HoldPasteController() {
    stop();
}

EventTap* HoldPasteController::tap() const {
    return tap_.isPresent() ? &tap_ : nullptr;
}

bool HoldPasteController::start() {
    stop();
    std::weak_ptr<HoldPasteController*> weak = self_;
    const bool created = tap_.create(eventMask, [weak](std::uint32_t type, const TapEvent& e) {
        const auto self = weak.lock();
        return self ? (*self)->receive(type, e) : false;
    });
    if (!created) {
        qCWarning(vtLog, "tapCreate failed (trusted=%s)", tap_.isTrusted() ? "true" : "false");
        return false;
    }
    qCInfo(vtLog, "tap started");
    tap_.enable(true);
    return true;
}

void HoldPasteController::stop() {
    if (tap_.isPresent()) {
        tap_.enable(false);
        tap_.invalidate();
    }
    machine_.state = HoldPasteMachine::State::idle();
    machine_.isOutside = false;
    panel_->hide(false);
}

HPKey HoldPasteController::key(std::int64_t keycode) {
    // Digits 1 to 9 by their key codes, which do not run in order.
    static constexpr std::array<std::int64_t, 9> digits{
        TapKeyCode::digit1, TapKeyCode::digit2, TapKeyCode::digit3,
        TapKeyCode::digit4, TapKeyCode::digit5, TapKeyCode::digit6,
        TapKeyCode::digit7, TapKeyCode::digit8, TapKeyCode::digit9};
    for (std::size_t i = 0; i < digits.size(); ++i)
        if (digits[i] == keycode) return HPKey::digit(static_cast<std::int64_t>(i) + 1);
    switch (keycode) {
    case TapKeyCode::v:
        return HPKey::v();
    case TapKeyCode::returnKey:
    case TapKeyCode::keypadEnter:
        return HPKey::returnKey();
    case TapKeyCode::escape:
        return HPKey::escape();
    case TapKeyCode::left:
        return HPKey::left();
    case TapKeyCode::right:
        return HPKey::right();
    case TapKeyCode::down:
        return HPKey::down();
    case TapKeyCode::up:
        return HPKey::up();
    default:
        return HPKey::other();
    }
}

bool HoldPasteController::receive(std::uint32_t type, const TapEvent& event) {
    if (type == TapEventType::tapDisabledByTimeout ||
        type == TapEventType::tapDisabledByUserInput) {
        qCInfo(vtLog, "tap disabled (%u), re-enabling", type);
        // A press swallowed before the tap let go still pastes: it must not vanish.
        const bool pasteOwed = machine_.state.kind == HoldPasteMachine::State::Kind::pending;
        if (!isIdle(machine_)) {
            // The hold timer is left running: a late expiry finds the machine idle.
            machine_.state = HoldPasteMachine::State::idle();
            machine_.isOutside = false;
            panel_->hide(false);
        }
        if (tap_.isPresent()) tap_.enable(true);
        if (pasteOwed) postCommandV();
        return false;
    }
    if (event.userData == kSyntheticEventMarker) return false;

    const bool picking = isPicking(machine_);
    switch (type) {
    case TapEventType::scrollWheel: {
        if (!picking) return false;
        double amount = 0;
        if (event.scrollIsContinuous != 0)
            amount = event.scrollPointDeltaAxis1 / 22.0;
        else
            amount =
                static_cast<double>((event.scrollDeltaAxis1 > 0) - (event.scrollDeltaAxis1 < 0));
        if (panel_->scroll(-amount))
            feedHit(panel_->hit(lastPointer_.x - ringCenter_.x, lastPointer_.y - ringCenter_.y));
        return true; // every scroll is dropped while picking
    }
    case TapEventType::mouseMoved:
    case TapEventType::leftMouseDragged:
        if (!picking) return false;
        lastPointer_ = event.location;
        return feedHit(
            panel_->hit(event.location.x - ringCenter_.x, event.location.y - ringCenter_.y));
    case TapEventType::leftMouseDown:
        if (!picking) return false;
        return feed(HPInput::click());
    case TapEventType::keyDown:
    case TapEventType::keyUp: {
        const HPKey k = key(event.keycode);
        const bool idle = isIdle(machine_);
        if (type == TapEventType::keyUp) return idle ? false : feed(HPInput::keyUp(k));
        if (idle && k.kind != HPKey::Kind::v) return false;
        if (idle && passesChordThrough && passesChordThrough()) return false;
        const HPInput input =
            HPInput::keyDown(k, (event.flags & TapEventFlag::command) != 0,
                             (event.flags & kOtherModifiers) != 0, event.autorepeat != 0);
        if (idle) {
            const std::int64_t history =
                itemCount ? itemCount() : static_cast<std::int64_t>(items().size());
            machine_.itemCount = std::min(history, panelForStyle().maxItems());
        }
        return feed(input);
    }
    case TapEventType::flagsChanged:
        if (isIdle(machine_)) return false;
        if (event.flags & TapEventFlag::command) return false;
        return feed(HPInput::cmdReleased());
    default:
        return false;
    }
}

bool HoldPasteController::feedHit(const PickerHit& hit) {
    return feed(inputForHit(hit));
}

bool HoldPasteController::feed(const HPInput& input) {
    const HoldPasteMachine::Result result = machine_.handle(input);
    if (input.kind != HPInput::Kind::pointer) {
        qCDebug(vtLog, "in=%s -> %s %s", describe(input).c_str(), describe(result.action).c_str(),
                describe(result.effects).c_str());
    }
    const bool committing =
        std::any_of(result.effects.begin(), result.effects.end(),
                    [](const HPEffect& e) { return e.kind == HPEffect::Kind::commit; });
    pasteScheduled_ = false;
    for (const HPEffect& effect : result.effects)
        perform(effect, committing);
    // The Ctrl release that chose a clip is kept from the application: the keyboard stays held
    // until the paste has gone out, so keys typed meanwhile reach the application after it, and
    // the paste's own keystroke tells it the whole state of Ctrl.
    if (pasteScheduled_ && input.kind == HPInput::Kind::cmdReleased) return true;
    return result.action == HPAction::swallow;
}

void HoldPasteController::perform(const HPEffect& effect, bool committing) {
    switch (effect.kind) {
    case HPEffect::Kind::showPicker: {
        panel_ = &panelForStyle();
        std::vector<ClipItem> all = items();
        const auto limit = static_cast<std::size_t>(std::max<std::int64_t>(panel_->maxItems(), 0));
        if (all.size() > limit) all.resize(limit);
        shownItems_ = std::move(all);
        ringCenter_ = panel_->show(shownItems_, effect.index);
        lastPointer_ = ringCenter_;
        break;
    }
    case HPEffect::Kind::select:
        panel_->select(effect.index);
        break;
    case HPEffect::Kind::outside:
        panel_->setOutside(effect.isOutside);
        break;
    case HPEffect::Kind::commit: {
        if (effect.index < 0 || effect.index >= static_cast<std::int64_t>(shownItems_.size()))
            break;
        // The hand-over (clipboard, history file) runs on the next turn, so the key that chose
        // the clip is not kept waiting; the paste follows it.
        tap_.holdInputForPaste();
        pasteScheduled_ = true;
        std::weak_ptr<HoldPasteController*> weak = self_;
        mainQueue_.asyncAfter(0,
                              [weak, clip = shownItems_[static_cast<std::size_t>(effect.index)]] {
                                  const auto self = weak.lock();
                                  if (self && (*self)->onCommit) (*self)->onCommit(clip);
                              });
        mainQueue_.asyncAfter(0.05, [weak] {
            const auto self = weak.lock();
            if (!self) return;
            HoldPasteController& c = **self;
            c.postPaste(c.pasteKeys ? c.pasteKeys() : PasteKeys{});
        });
        break;
    }
    case HPEffect::Kind::startTimer: {
        const std::int64_t generation = ++timerGeneration_;
        std::weak_ptr<HoldPasteController*> weak = self_;
        mainQueue_.asyncAfter(holdDelay, [weak, generation] {
            const auto self = weak.lock();
            if (self && (*self)->timerGeneration_ == generation)
                (*self)->feed(HPInput::holdTimerFired());
        });
        if (onHoldStarting)
            mainQueue_.asyncAfter(0, [weak] {
                const auto self = weak.lock();
                if (self && (*self)->onHoldStarting) (*self)->onHoldStarting();
            });
        break;
    }
    case HPEffect::Kind::cancelTimer:
        ++timerGeneration_;
        break;
    case HPEffect::Kind::normalPaste:
        postCommandV();
        break;
    case HPEffect::Kind::hidePicker:
        panel_->hide(committing);
        break;
    }
}

void HoldPasteController::postCommandV() {
    // A short press is Ctrl+V in every application: terminals get the ^V they asked for.
    postPaste(PasteKeys{});
}

void HoldPasteController::postPaste(const PasteKeys& keys) {
    // Exactly these modifiers, whatever is physically held: after a long press Ctrl may already
    // be up, and a Shift held for something else must not turn the paste into another chord.
    tap_.postKeyboardEvent(keys.keycode, true, keys.flags, kSyntheticEventMarker);
    tap_.postKeyboardEvent(keys.keycode, false, keys.flags, kSyntheticEventMarker);
}

} // namespace vt
