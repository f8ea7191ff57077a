#pragma once

// Animation curves and the motion of one value along a curve. Pure C++.

namespace vt {

// How a value travels to a new target: a spring, an ease-in or ease-out of a given duration, or
// not at all (none). Any animation may start after a delay.
//
// Springs have unit mass, stiffness (2 pi / response)^2 and damping 4 pi dampingFraction /
// response: response is roughly the period of the undamped oscillation, a damping fraction
// below 1 overshoots, 1 is critically damped, above 1 creeps in without overshoot.
// The eases are the usual cubic Bezier timing curves: ease-in (0.42, 0, 1, 1) starts slowly and
// arrives at full speed, ease-out (0, 0, 0.58, 1) starts at full speed and slows into the end.
//
// Invalid parameters never make a value move forever: a non-finite or non-positive response or
// duration means "jump", a negative or non-finite delay means no delay, and damping fractions
// below kMinDampingFraction are raised to it.
struct Animation {
    enum class Kind { none, spring, easeIn, easeOut };

    static constexpr double kMinDampingFraction = 0.05;
    static constexpr double kMaxDampingFraction = 100.0;

    Kind kind = Kind::none;
    double response = 0;        // springs: seconds
    double dampingFraction = 0; // springs
    double duration = 0;        // eases: seconds
    double delay = 0;           // seconds before the value starts to move

    static Animation none() { return {}; }
    static Animation spring(double response, double dampingFraction);
    static Animation easeIn(double duration);
    static Animation easeOut(double duration);

    // The same animation starting `seconds` later.
    [[nodiscard]] Animation delayed(double seconds) const;

    // False for none and for the degenerate curves that amount to a jump.
    [[nodiscard]] bool animates() const;

    bool operator==(const Animation&) const = default;
};

// A cubic Bezier timing curve from (0, 0) to (1, 1) with control points (x1, y1), (x2, y2),
// x1 and x2 within [0, 1] so that time runs forward.
struct CubicBezier {
    double x1, y1, x2, y2;

    struct Point {
        double progress = 0; // at normalised time t, within [0, 1]
        double slope = 0;    // d progress / d t
    };
    // Both at once: one curve solve (t is clamped to [0, 1]).
    [[nodiscard]] Point at(double t) const;
    [[nodiscard]] double progress(double t) const { return at(t).progress; }
    [[nodiscard]] double slope(double t) const { return at(t).slope; }

private:
    [[nodiscard]] double parameterFor(double t) const;
};

inline constexpr CubicBezier kEaseInCurve{0.42, 0.0, 1.0, 1.0};
inline constexpr CubicBezier kEaseOutCurve{0.0, 0.0, 0.58, 1.0};

// One value's journey from a starting value and velocity to a target along an animation,
// started at a given time. Sampling is a closed-form evaluation (no integration state), so a
// motion can be sampled at any time in any order.
class Motion {
public:
    struct Sample {
        double value = 0;
        double velocity = 0; // units per second
        bool finished = true;
    };

    // At rest at 0.
    Motion() = default;
    // A motion that is already at rest at `value`.
    static Motion rest(double value);
    // Starts at `startTime` (seconds); with a delay the value holds still at `from` until
    // startTime + delay and then starts from rest (the incoming velocity is dropped, so a held
    // value never jerks off at speed). Without a delay a spring keeps `velocity`.
    Motion(const Animation& animation, double from, double velocity, double target,
           double startTime);

    [[nodiscard]] Sample sample(double time) const;
    [[nodiscard]] double target() const { return target_; }

    // A spring counts as arrived once its remaining energy corresponds to a displacement of this
    // fraction of its initial excursion (or kAbsoluteTolerance, whichever is larger).
    static constexpr double kRelativeTolerance = 1e-4;
    static constexpr double kAbsoluteTolerance = 1e-6;

private:
    enum class Regime { rest, ease, underdamped, critical, overdamped };

    Regime regime_ = Regime::rest;
    bool easeIn_ = false;
    double from_ = 0;
    double target_ = 0;
    double begin_ = 0;    // start time plus delay
    double duration_ = 0; // eases
    // Springs, displacement x(tau) = value - target with tau = time - begin:
    //   underdamped x = e^(-decay tau) (a cos(freq tau) + b sin(freq tau))
    //   critical    x = (a + b tau) e^(-decay tau)
    //   overdamped  x = a e^(r1 tau) + b e^(r2 tau)
    double a_ = 0, b_ = 0, decay_ = 0, freq_ = 0, r1_ = 0, r2_ = 0;
    double omega_ = 1;      // undamped angular frequency
    double tolerance2_ = 0; // squared energy tolerance
};

} // namespace vt
