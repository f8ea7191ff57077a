#include "ui/animation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vt {
namespace {

constexpr AnimKey kScale{1, 0};
constexpr AnimKey kOpacity{1, 1};
constexpr double kFrame = 1.0 / 60;

class AnimatedValuesTest : public testing::Test {
protected:
    ManualAnimationClock clock{100.0};
    AnimatedValues values{clock};

    void step(double seconds = kFrame) {
        clock.advance(seconds);
        values.advance(clock.now());
    }
    // Runs frames until settled; returns the elapsed time (or a large value if it never settles).
    double runToRest(double limit = 10) {
        double elapsed = 0;
        for (; !values.settled() && elapsed < limit; elapsed += kFrame)
            step();
        return elapsed;
    }
};

// A first target, a change outside a transaction, a change with animation turned off (also
// mid-flight), a non-finite target: the value jumps or stays. A change inside an animation
// moves and arrives; the same target again keeps the running curve.
TEST_F(AnimatedValuesTest, ChangesJumpOutsideAnimationsAndMoveInsideThem) {
    EXPECT_EQ(values.value(kScale, 0.5), 0.5);
    withAnimation(Animation::spring(0.3, 0.7), [&] { values.setTarget(kScale, 0.6); });
    EXPECT_EQ(values.value(kScale), 0.6);
    values.setTarget(kScale, 0.2);
    EXPECT_EQ(values.value(kScale), 0.2);
    withAnimation(Animation::spring(0.3, 0.7), [&] {
        values.setTarget(kScale, NAN);
        values.setTarget(kScale, INFINITY);
    });
    EXPECT_EQ(values.value(kScale), 0.2);
    EXPECT_TRUE(values.settled());

    withAnimation(Animation::easeOut(0.15), [&] { values.setTarget(kScale, 1.0); });
    EXPECT_FALSE(values.settled());
    EXPECT_EQ(values.value(kScale), 0.2);
    EXPECT_EQ(values.targetOf(kScale), 1.0);
    step(0.075);
    const double mid = values.value(kScale);
    EXPECT_GT(mid, 0.2);
    EXPECT_LT(mid, 1.0);
    withoutAnimation([&] { values.setTarget(kScale, 1.0); });
    EXPECT_EQ(values.value(kScale), mid);
    step(0.075);
    EXPECT_EQ(values.value(kScale), 1.0);
    EXPECT_TRUE(values.settled());

    withAnimation(Animation::spring(0.34, 0.72), [&] { values.setTarget(kScale, 0); });
    step();
    withoutAnimation([&] { values.setTarget(kScale, 0.6); });
    EXPECT_EQ(values.value(kScale), 0.6);
    EXPECT_TRUE(values.settled());
}

TEST_F(AnimatedValuesTest, RetargetMidFlightIsContinuousAndKeepsSpringVelocity) {
    struct Case {
        const char* name;
        Animation first;
        Animation second;
        bool keepsVelocity;
    };
    const Case cases[] = {
        {"spring-spring", Animation::spring(0.3, 0.8), Animation::spring(0.26, 0.74), true},
        {"ease-spring", Animation::easeIn(0.2), Animation::spring(0.3, 1.0), true},
        {"spring-ease", Animation::spring(0.3, 0.8), Animation::easeOut(0.15), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        values.clear();
        values.setTarget(kScale, 0);
        withAnimation(c.first, [&] { values.setTarget(kScale, 100); });
        for (int i = 0; i < 5; ++i)
            step();
        const double before = values.value(kScale);
        clock.advance(0.01); // between frames: the first motion goes on until the change
        withAnimation(c.second, [&] { values.setTarget(kScale, -50); });
        EXPECT_GT(values.value(kScale), before);
        const double turned = values.value(kScale);
        step(1e-5);
        EXPECT_NEAR(values.value(kScale), turned, 0.05);
        // Still moving up, toward the old target, right after turning around.
        if (c.keepsVelocity) {
            EXPECT_GT(values.value(kScale), turned);
        }
        EXPECT_LT(runToRest(), 5.0);
        EXPECT_EQ(values.value(kScale), -50);
    }
}

// A curve bound to the key wins over the transaction's, also outside transactions, but not where
// animation is turned off; nested transactions: the innermost wins.
TEST_F(AnimatedValuesTest, BoundCurvesAndNestedTransactions) {
    values.setTarget(kScale, 0);
    values.setTarget(kOpacity, 0);
    withAnimation(Animation::easeOut(0.1), [&] {
        values.setTarget(kScale, 1, Animation::easeIn(0.5));
        values.setTarget(kOpacity, 1);
    });
    step(0.1);
    EXPECT_EQ(values.value(kOpacity), 1);
    EXPECT_LT(values.value(kScale), 0.2); // an ease-in of 0.5 s, a fifth of the way in
    EXPECT_FALSE(values.settled());       // one key still moving
    values.setTarget(kOpacity, 0, Animation::easeIn(0.12));
    EXPECT_TRUE(values.isAnimating(kOpacity));
    withoutAnimation([&] { values.setTarget(kScale, 3, Animation::spring(0.38, 0.7)); });
    EXPECT_EQ(values.value(kScale), 3);

    for (const bool outerAnimates : {true, false}) {
        values.clear();
        values.setTarget(kScale, 0);
        values.setTarget(kOpacity, 0);
        const auto setInner = [&] { values.setTarget(kScale, 1); };
        const auto body = [&] {
            if (outerAnimates)
                withoutAnimation(setInner);
            else
                withAnimation(Animation::easeOut(0.2), setInner);
            values.setTarget(kOpacity, 1); // back in the outer transaction
        };
        if (outerAnimates)
            withAnimation(Animation::easeIn(0.2), body);
        else
            withoutAnimation(body);
        EXPECT_EQ(values.isAnimating(kScale), !outerAnimates);
        EXPECT_EQ(values.isAnimating(kOpacity), outerAnimates);
    }
    EXPECT_EQ(currentTransaction(), Transaction{});
}

} // namespace
} // namespace vt
