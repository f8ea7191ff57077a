#pragma once
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

// The decision core of hold-to-paste: knows nothing of events, windows, timers or the clipboard.
// The controller turns each relevant occurrence into one HPInput, feeds it to handle() and
// carries out the returned effects in order. Pure C++, constant time, no heap allocation.

namespace vt {

// The key class of a keyboard event. The controller maps key codes onto these; the digit 0
// arrives as `other`.
struct HPKey {
    enum class Kind { digit, v, escape, returnKey, left, right, up, down, other };
    Kind kind = Kind::other;
    std::int64_t number = 0; // 1 to 9 for Kind::digit, 0 otherwise

    static constexpr HPKey digit(std::int64_t d) { return {Kind::digit, d}; }
    static constexpr HPKey v() { return {Kind::v, 0}; }
    static constexpr HPKey escape() { return {Kind::escape, 0}; }
    static constexpr HPKey returnKey() { return {Kind::returnKey, 0}; }
    static constexpr HPKey left() { return {Kind::left, 0}; }
    static constexpr HPKey right() { return {Kind::right, 0}; }
    static constexpr HPKey up() { return {Kind::up, 0}; }
    static constexpr HPKey down() { return {Kind::down, 0}; }
    static constexpr HPKey other() { return {Kind::other, 0}; }
    bool operator==(const HPKey&) const = default;
};

// One occurrence the controller reports. Build values with the static functions so that unused
// payload stays at its default and equality means what it says.
struct HPInput {
    enum class Kind { keyDown, keyUp, pointer, cmdReleased, holdTimerFired, pointerOutside, click };
    Kind kind = Kind::click;
    HPKey key;                         // keyDown, keyUp
    bool cmd = false;                  // keyDown: the paste modifier is held
    bool otherMods = false;            // keyDown: Shift, Alt or Super is held too
    bool isRepeat = false;             // keyDown: auto-repeat
    std::optional<std::int64_t> index; // pointer: the item under it, absent in the dead centre

    static constexpr HPInput keyDown(HPKey key, bool cmd, bool otherMods, bool isRepeat) {
        HPInput in;
        in.kind = Kind::keyDown;
        in.key = key;
        in.cmd = cmd;
        in.otherMods = otherMods;
        in.isRepeat = isRepeat;
        return in;
    }
    static constexpr HPInput keyUp(HPKey key) {
        HPInput in;
        in.kind = Kind::keyUp;
        in.key = key;
        return in;
    }
    static constexpr HPInput pointer(std::optional<std::int64_t> index) {
        HPInput in;
        in.kind = Kind::pointer;
        in.index = index;
        return in;
    }
    static constexpr HPInput cmdReleased() { return only(Kind::cmdReleased); }
    static constexpr HPInput holdTimerFired() { return only(Kind::holdTimerFired); }
    static constexpr HPInput pointerOutside() { return only(Kind::pointerOutside); }
    static constexpr HPInput click() { return only(Kind::click); }
    bool operator==(const HPInput&) const = default;

private:
    static constexpr HPInput only(Kind k) {
        HPInput in;
        in.kind = k;
        return in;
    }
};

// What happens to the system event that produced the input. Ignored for holdTimerFired.
enum class HPAction { swallow, passThrough };

// One thing the controller must do, in list order.
struct HPEffect {
    enum class Kind {
        showPicker,
        select,
        outside,
        commit,
        startTimer,
        cancelTimer,
        normalPaste,
        hidePicker
    };
    Kind kind = Kind::hidePicker;
    std::int64_t index = 0; // showPicker (selected), select, commit
    bool isOutside = false; // outside

    static constexpr HPEffect showPicker(std::int64_t selected) {
        return {Kind::showPicker, selected, false};
    }
    static constexpr HPEffect select(std::int64_t i) { return {Kind::select, i, false}; }
    static constexpr HPEffect outside(bool b) { return {Kind::outside, 0, b}; }
    static constexpr HPEffect commit(std::int64_t i) { return {Kind::commit, i, false}; }
    static constexpr HPEffect startTimer() { return {Kind::startTimer, 0, false}; }
    static constexpr HPEffect cancelTimer() { return {Kind::cancelTimer, 0, false}; }
    static constexpr HPEffect normalPaste() { return {Kind::normalPaste, 0, false}; }
    static constexpr HPEffect hidePicker() { return {Kind::hidePicker, 0, false}; }
    bool operator==(const HPEffect&) const = default;
};

// The ordered effects of one input: never more than two, so they live inline.
class HPEffects {
public:
    static constexpr std::size_t capacity = 2;

    constexpr HPEffects() = default;
    constexpr HPEffects(std::initializer_list<HPEffect> effects) {
        for (const HPEffect& e : effects)
            push_back(e);
    }

    // Appending beyond the capacity is a programming error: debug builds stop here; release
    // builds drop the extra effect rather than write past the end.
    constexpr void push_back(const HPEffect& e) {
        assert(size_ < capacity && "HPEffects holds at most two effects");
        if (size_ < capacity) items_[size_++] = e;
    }
    constexpr std::size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    constexpr const HPEffect& operator[](std::size_t i) const { return items_[i]; }
    constexpr const HPEffect* begin() const { return items_.data(); }
    constexpr const HPEffect* end() const { return items_.data() + size_; }

    constexpr bool operator==(const HPEffects& other) const {
        if (size_ != other.size_) return false;
        for (std::size_t i = 0; i < size_; ++i)
            if (!(items_[i] == other.items_[i])) return false;
        return true;
    }

private:
    std::array<HPEffect, capacity> items_{};
    std::size_t size_ = 0;
};

class HoldPasteMachine {
public:
    struct State {
        enum class Kind { idle, pending, picking };
        Kind kind = Kind::idle;
        std::int64_t selected = 0; // picking only

        static constexpr State idle() { return {Kind::idle, 0}; }
        static constexpr State pending() { return {Kind::pending, 0}; }
        static constexpr State picking(std::int64_t selected) { return {Kind::picking, selected}; }
        bool operator==(const State&) const = default;
    };

    struct Result {
        HPAction action = HPAction::passThrough;
        HPEffects effects;
        bool operator==(const Result&) const = default;
    };

    State state;
    // Pickable items; written by the controller before it feeds a key-down in idle.
    std::int64_t itemCount = 0;
    // The pointer is beyond the open picker: releasing then cancels.
    bool isOutside = false;

    // Applies one input and says what to do with its event and what the controller must do.
    Result handle(const HPInput& input);

private:
    Result handlePending(const HPInput& input);
    Result handlePickingInside(const HPInput& input, std::int64_t s);
    Result handlePickingOutside(const HPInput& input);
    Result finish(HPEffects effects, HPAction action);
    Result move(std::int64_t from, std::int64_t by);
};

// Short texts for the controller's debug line; these allocate and are not for the hot path.
std::string describe(const HPKey& key);
std::string describe(const HPInput& input);
std::string describe(HPAction action);
std::string describe(const HPEffect& effect);
std::string describe(const HPEffects& effects);
std::string describe(const HoldPasteMachine::State& state);

} // namespace vt
