#include "ui/animation_curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace vt {
namespace {

constexpr double kFrame = 1.0 / 240;

struct Trace {
    double maxValue = -1e300;
    double minValue = 1e300;
    double settleTime = -1; // first time the motion reported finished
};

// Samples a motion from 0 to 1 until it finishes (or `limit` seconds pass).
Trace run(const Motion& m, double limit) {
    Trace tr;
    for (double t = 0; t <= limit; t += kFrame) {
        const Motion::Sample s = m.sample(t);
        tr.maxValue = std::max(tr.maxValue, s.value);
        tr.minValue = std::min(tr.minValue, s.value);
        if (s.finished) {
            tr.settleTime = t;
            break;
        }
    }
    return tr;
}

// A spring reaches its target within its response (accurate to 0.1 % after `accurate`
// responses, finished after `settled`) and overshoots only when underdamped.
TEST(Spring, ReachesTargetWithinItsResponseAndOvershootsOnlyWhenUnderdamped) {
    for (const auto& [response, damping, accurate, settled, overshoots] :
         {std::tuple{0.34, 0.72, 2.0, 2.5, true},
          {0.3, 0.5, 2.5, 3.5, true},
          {0.3, 1.0, 2.0, 2.5, false},
          {0.3, 3.0, 7.0, 10.0, false}}) {
        SCOPED_TRACE(damping);
        const Motion m(Animation::spring(response, damping), 0, 0, 1, 0);
        for (double t = accurate * response; t < 10 * response; t += kFrame)
            ASSERT_NEAR(m.sample(t).value, 1.0, 1e-3) << "at t=" << t;
        const Trace tr = run(m, 20 * response);
        ASSERT_GT(tr.settleTime, 0) << "never settled";
        EXPECT_LE(tr.settleTime, settled * response);
        EXPECT_EQ(m.sample(tr.settleTime).value, 1.0);
        EXPECT_EQ(tr.maxValue > 1.0 + 1e-4, overshoots) << "max " << tr.maxValue;
        EXPECT_GE(tr.minValue, 0.0);
    }
}

// An ease hits its end exactly at its duration, never before, and moves only forward; ease-in
// starts slowly, ease-out quickly.
TEST(Ease, HitsItsEndExactlyAtItsDurationAndIsMonotonic) {
    for (const auto& [animation, slowStart] :
         {std::pair{Animation::easeIn(0.14), true}, {Animation::easeOut(0.15), false}}) {
        SCOPED_TRACE(slowStart);
        const double d = animation.duration;
        const Motion m(animation, 10, 0, 30, 2.0);
        EXPECT_EQ(m.sample(2.0).value, 10);
        double previous = 10;
        for (int i = 0; i < 500; ++i) {
            const Motion::Sample s = m.sample(2.0 + d * i / 500);
            EXPECT_FALSE(s.finished) << i;
            EXPECT_GE(s.value, previous) << i;
            EXPECT_LE(s.value, 30) << i;
            previous = s.value;
        }
        EXPECT_NEAR(m.sample(2.0 + d - 1e-9).value, 30, 1e-3);
        EXPECT_TRUE(m.sample(2.0 + d).finished);
        EXPECT_EQ(m.sample(2.0 + d).value, 30);
        EXPECT_EQ((m.sample(2.0 + d / 4).value - 10) / 20 < 0.25, slowStart);
    }
}

// A delay holds the start value until it passes; a curve of no duration does not animate.
TEST(Delay, HoldsTheStartValueUntilItPassesAndEmptyCurvesDoNotAnimate) {
    const Motion m(Animation::spring(0.3, 0.8).delayed(0.1), 5, 40, 9, 1.0);
    for (double t = 1.0; t <= 1.1; t += 0.01) {
        EXPECT_EQ(m.sample(t).value, 5) << t;
        EXPECT_FALSE(m.sample(t).finished);
    }
    EXPECT_GT(m.sample(1.15).value, 5);
    const Motion e(Animation::easeOut(0.2).delayed(0.05), 0, 0, 1, 0);
    EXPECT_EQ(e.sample(0.05).value, 0);
    EXPECT_EQ(e.sample(0.25).value, 1);
    EXPECT_LT(e.sample(0.2499).value, 1);
    for (const Animation& a : {Animation::none(), Animation::easeIn(0), Animation::easeOut(NAN)})
        EXPECT_FALSE(a.animates());
}

} // namespace
} // namespace vt
