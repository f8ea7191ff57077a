#pragma once
#include "ui/animation_clock.h"
#include "ui/animation_curve.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

// The store of animated values: one presented value per key, moving toward its target. Pure C++.

namespace vt {

// Identity of one animated quantity: what it belongs to (a clip id folded to 64 bits, a row
// index...) and which quantity of it (a view-defined enumerator).
struct AnimKey {
    std::uint64_t owner = 0;
    std::uint32_t property = 0;

    bool operator==(const AnimKey&) const = default;
};

struct AnimKeyHash {
    std::size_t operator()(const AnimKey& key) const noexcept {
        // splitmix64 finaliser over both fields: cheap and well spread for small integers.
        std::uint64_t x = key.owner ^ (std::uint64_t{key.property} * 0x9E3779B97F4A7C15ull);
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::size_t>(x ^ (x >> 31));
    }
};

class AnimatedValues {
public:
    // `clock` gives the start time of every animation begun by setTarget; it must outlive the
    // store.
    explicit AnimatedValues(const AnimationClock& clock);
    AnimatedValues(const AnimatedValues&) = delete;
    AnimatedValues& operator=(const AnimatedValues&) = delete;

    // The presented value as of the last advance (or the last jump), or fallback for an unknown
    // key.
    [[nodiscard]] double value(AnimKey key, double fallback = 0) const;
    // The value the key is heading for, or fallback for an unknown key.
    [[nodiscard]] double targetOf(AnimKey key, double fallback = 0) const;
    [[nodiscard]] bool contains(AnimKey key) const;
    // True while the key is moving (or waiting out a delay).
    [[nodiscard]] bool isAnimating(AnimKey key) const;

    // Sets the key's target under the current transaction. A key seen for the first time starts
    // at its target. A target equal to the current one changes nothing (an animation in flight
    // keeps its curve). Otherwise: animations disabled or no animation -> jump; an animation ->
    // move from the value presented now (keeping the velocity, see Motion). Non-finite targets
    // are ignored.
    void setTarget(AnimKey key, double target);
    // As above, but `bound` replaces the transaction's curve for this change, as long as the
    // transaction does not disable animations (then it jumps).
    void setTarget(AnimKey key, double target, const Animation& bound);

    // Moves every animating key to its state at `now` (seconds on the clock's time line).
    void advance(double now);
    // Nothing is moving or waiting: no frames are needed.
    [[nodiscard]] bool settled() const { return moving_ == 0; }

    void remove(AnimKey key);
    // Drops every key for which keep returns false (e.g. the keys of clips no longer shown).
    void retainOnly(const std::function<bool(const AnimKey&)>& keep);
    void clear();
    [[nodiscard]] std::size_t size() const { return entries_.size(); }

    // Called whenever the store goes from settled to moving (the frame driver starts its timer).
    // One handler: a store is run by one driver.
    void setActivityHandler(std::function<void()> handler) { onActivity_ = std::move(handler); }

    [[nodiscard]] const AnimationClock& clock() const { return clock_; }

private:
    struct Entry {
        AnimKey key;
        double value = 0;
        Motion motion;
        bool moving = false;
    };

    void apply(AnimKey key, double target, const Animation& animation);
    Entry* find(AnimKey key);
    [[nodiscard]] const Entry* find(AnimKey key) const;
    void eraseAt(std::size_t index);

    const AnimationClock& clock_;
    // Dense storage for a cache-friendly advance; the map only finds a key's slot.
    std::vector<Entry> entries_;
    std::unordered_map<AnimKey, std::size_t, AnimKeyHash> index_;
    std::size_t moving_ = 0;
    std::function<void()> onActivity_;
};

} // namespace vt
