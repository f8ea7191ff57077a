#pragma once

// Time sources for animations. Pure C++.

namespace vt {

// Seconds on a monotonic time line; only differences matter.
class AnimationClock {
public:
    virtual ~AnimationClock() = default;
    // The current time in seconds; never decreases.
    [[nodiscard]] virtual double now() const = 0;
};

// The monotonic system clock.
class SteadyAnimationClock final : public AnimationClock {
public:
    [[nodiscard]] double now() const override;
    // One stateless instance for views that need no other clock.
    static const SteadyAnimationClock& shared();
};

// A clock that moves only when told to (tests, offline rendering).
class ManualAnimationClock final : public AnimationClock {
public:
    explicit ManualAnimationClock(double start = 0) : now_(start) {}
    [[nodiscard]] double now() const override { return now_; }
    void advance(double seconds) {
        if (seconds > 0) now_ += seconds;
    }
    void set(double time) {
        if (time > now_) now_ = time;
    }

private:
    double now_;
};

} // namespace vt
