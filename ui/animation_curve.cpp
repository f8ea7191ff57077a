#include "ui/animation_curve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vt {

namespace {

double positiveOrZero(double v) {
    return std::isfinite(v) && v > 0 ? v : 0.0;
}

// Below this the under- and over-damped formulas lose precision; the critical form is exact
// enough there.
constexpr double kCriticalBand = 1e-6;

// Start and sample times come from subtracting clock readings; an ease that has run its full
// duration must arrive even when that difference rounds to just below it.
constexpr double kTimeSlack = 1e-9;

} // namespace

Animation Animation::spring(double response, double dampingFraction) {
    Animation a;
    a.kind = Kind::spring;
    a.response = positiveOrZero(response);
    a.dampingFraction = std::isfinite(dampingFraction)
                            ? std::clamp(dampingFraction, kMinDampingFraction, kMaxDampingFraction)
                            : 1.0;
    return a;
}

Animation Animation::easeIn(double duration) {
    Animation a;
    a.kind = Kind::easeIn;
    a.duration = positiveOrZero(duration);
    return a;
}

Animation Animation::easeOut(double duration) {
    Animation a;
    a.kind = Kind::easeOut;
    a.duration = positiveOrZero(duration);
    return a;
}

Animation Animation::delayed(double seconds) const {
    Animation a = *this;
    a.delay = positiveOrZero(seconds);
    return a;
}

bool Animation::animates() const {
    switch (kind) {
    case Kind::none:
        return false;
    case Kind::spring:
        return response > 0;
    case Kind::easeIn:
    case Kind::easeOut:
        return duration > 0;
    }
    return false;
}

// Bezier coordinate with end points 0 and 1: 3(1-s)^2 s p1 + 3(1-s) s^2 p2 + s^3.
static double bezier(double s, double p1, double p2) {
    const double u = 1 - s;
    return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}

static double bezierDerivative(double s, double p1, double p2) {
    const double u = 1 - s;
    return 3 * u * u * p1 + 6 * u * s * (p2 - p1) + 3 * s * s * (1 - p2);
}

double CubicBezier::parameterFor(double t) const {
    // Newton's method converges in a few steps almost everywhere; where the curve is flat in x
    // (the ease-out start) fall back to bisection, which always converges since x is monotonic.
    constexpr double kTolerance = 1e-9;
    double s = t;
    for (int i = 0; i < 8; ++i) {
        const double err = bezier(s, x1, x2) - t;
        if (std::abs(err) < kTolerance) return s;
        const double d = bezierDerivative(s, x1, x2);
        if (std::abs(d) < 1e-6) break;
        s -= err / d;
        if (s < 0 || s > 1) break;
    }
    double lo = 0, hi = 1;
    s = t;
    for (int i = 0; i < 60; ++i) {
        const double x = bezier(s, x1, x2);
        if (std::abs(x - t) < kTolerance) break;
        (x < t ? lo : hi) = s;
        s = (lo + hi) / 2;
    }
    return s;
}

CubicBezier::Point CubicBezier::at(double t) const {
    if (!(t > 0)) t = 0;
    if (t > 1) t = 1;
    const double s = parameterFor(t);
    double dx = bezierDerivative(s, x1, x2);
    double dy = bezierDerivative(s, y1, y2);
    if (dx <= 1e-9) {
        // x is flat only at an end point; the ratio's limit there is finite for the curves used,
        // and a neighbouring parameter gives it closely enough for a velocity hand-over.
        const double near = s < 0.5 ? 1e-4 : 1 - 1e-4;
        dx = std::max(bezierDerivative(near, x1, x2), 1e-9);
        dy = bezierDerivative(near, y1, y2);
    }
    return {t == 0 ? 0.0 : t == 1 ? 1.0 : bezier(s, y1, y2), dy / dx};
}

Motion Motion::rest(double value) {
    Motion m;
    m.from_ = value;
    m.target_ = value;
    return m;
}

Motion::Motion(const Animation& animation, double from, double velocity, double target,
               double startTime)
    : from_(from), target_(target), begin_(startTime + animation.delay) {
    if (!animation.animates() || !std::isfinite(from) || !std::isfinite(startTime)) {
        regime_ = Regime::rest;
        from_ = target;
        return;
    }
    if (!std::isfinite(velocity) || animation.delay > 0) velocity = 0;

    if (animation.kind != Animation::Kind::spring) {
        regime_ = Regime::ease;
        easeIn_ = animation.kind == Animation::Kind::easeIn;
        duration_ = animation.duration;
        return;
    }

    const double x0 = from - target;
    const double omega = 2 * std::numbers::pi / animation.response;
    const double zeta = animation.dampingFraction;
    omega_ = omega;
    const double excursion = std::sqrt(x0 * x0 + (velocity / omega) * (velocity / omega));
    const double tolerance = std::max(excursion * kRelativeTolerance, kAbsoluteTolerance);
    tolerance2_ = tolerance * tolerance;
    if (excursion <= kAbsoluteTolerance) {
        regime_ = Regime::rest;
        from_ = target;
        return;
    }

    if (std::abs(zeta - 1) < kCriticalBand) {
        regime_ = Regime::critical;
        decay_ = omega;
        a_ = x0;
        b_ = velocity + omega * x0;
    } else if (zeta < 1) {
        regime_ = Regime::underdamped;
        decay_ = zeta * omega;
        freq_ = omega * std::sqrt(1 - zeta * zeta);
        a_ = x0;
        b_ = (velocity + decay_ * x0) / freq_;
    } else {
        regime_ = Regime::overdamped;
        const double root = std::sqrt(zeta * zeta - 1);
        r1_ = -omega * (zeta - root); // the slow root
        r2_ = -omega * (zeta + root);
        b_ = (velocity - r1_ * x0) / (r2_ - r1_);
        a_ = x0 - b_;
    }
}

Motion::Sample Motion::sample(double time) const {
    if (regime_ == Regime::rest) return {target_, 0, true};
    const double tau = time - begin_;
    if (!(tau > 0)) return {from_, 0, false};

    if (regime_ == Regime::ease) {
        if (tau >= duration_ - kTimeSlack) return {target_, 0, true};
        const CubicBezier::Point p = (easeIn_ ? kEaseInCurve : kEaseOutCurve).at(tau / duration_);
        const double span = target_ - from_;
        return {from_ + span * p.progress, span * p.slope / duration_, false};
    }

    double x = 0;
    double v = 0;
    switch (regime_) {
    case Regime::underdamped: {
        const double e = std::exp(-decay_ * tau);
        const double c = std::cos(freq_ * tau);
        const double s = std::sin(freq_ * tau);
        x = e * (a_ * c + b_ * s);
        v = e * ((b_ * freq_ - decay_ * a_) * c - (a_ * freq_ + decay_ * b_) * s);
        break;
    }
    case Regime::critical: {
        const double e = std::exp(-decay_ * tau);
        x = (a_ + b_ * tau) * e;
        v = (b_ - decay_ * (a_ + b_ * tau)) * e;
        break;
    }
    case Regime::overdamped: {
        const double e1 = std::exp(r1_ * tau);
        const double e2 = std::exp(r2_ * tau);
        x = a_ * e1 + b_ * e2;
        v = a_ * r1_ * e1 + b_ * r2_ * e2;
        break;
    }
    default:
        break;
    }
    const double vn = v / omega_;
    if (x * x + vn * vn <= tolerance2_) return {target_, 0, true};
    return {target_ + x, v, false};
}

} // namespace vt
