#include "ui/animation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vt {
namespace {

constexpr AnimKey kScale{1, 0};
constexpr AnimKey kOpacity{1, 1};
constexpr AnimKey kOther{2, 0};
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
        while (!values.settled() && elapsed < limit) {
            step();
            elapsed += kFrame;
        }
        return elapsed;
    }
};

TEST_F(AnimatedValuesTest, FirstTargetsAndChangesOutsideATransactionJump) {
    EXPECT_EQ(values.value(kScale, 0.5), 0.5);
    withAnimation(Animation::spring(0.3, 0.7), [&] { values.setTarget(kScale, 0.6); });
    EXPECT_EQ(values.value(kScale), 0.6);
    values.setTarget(kScale, 0.2);
    EXPECT_EQ(values.value(kScale), 0.2);
    withAnimation(Animation::spring(0.34, 0.72), [&] { values.setTarget(kScale, 1); });
    step();
    withoutAnimation([&] { values.setTarget(kScale, 0.6); }); // mid-flight
    EXPECT_EQ(values.value(kScale), 0.6);
    EXPECT_TRUE(values.settled());
}

TEST_F(AnimatedValuesTest, ChangeInsideAnAnimationMovesAndArrives) {
    values.setTarget(kScale, 0.6);
    withAnimation(Animation::easeOut(0.15), [&] { values.setTarget(kScale, 1.0); });
    EXPECT_FALSE(values.settled());
    EXPECT_EQ(values.value(kScale), 0.6);
    EXPECT_EQ(values.targetOf(kScale), 1.0);
    step(0.075);
    EXPECT_GT(values.value(kScale), 0.6);
    EXPECT_LT(values.value(kScale), 1.0);
    step(0.075);
    EXPECT_EQ(values.value(kScale), 1.0);
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
        withAnimation(c.second, [&] { values.setTarget(kScale, -50); });
        EXPECT_EQ(values.value(kScale), before);
        step(1e-5);
        const double after = values.value(kScale);
        EXPECT_NEAR(after, before, 0.05);
        if (c.keepsVelocity) {
            // Still moving up, toward the old target, right after turning around.
            EXPECT_GT(after, before);
        }
        runToRest();
        EXPECT_EQ(values.value(kScale), -50);
    }
}

TEST_F(AnimatedValuesTest, RetargetBetweenFramesStartsFromTheValueAtThatMoment) {
    values.setTarget(kScale, 0);
    withAnimation(Animation::easeIn(0.2), [&] { values.setTarget(kScale, 1); });
    step(0.1);
    const double painted = values.value(kScale);
    clock.advance(0.05); // no frame yet
    withAnimation(Animation::easeOut(0.2), [&] { values.setTarget(kScale, 0); });
    EXPECT_GT(values.value(kScale), painted); // the first ease went on until the change
}

TEST_F(AnimatedValuesTest, PerIndexDelaysOpenOneAfterAnother) {
    for (std::uint64_t i = 0; i < 8; ++i)
        values.setTarget({i, 0}, 0);
    for (std::uint64_t i = 0; i < 8; ++i)
        values.setTarget({i, 0}, 1, Animation::spring(0.38, 0.7).delayed(double(i) * 0.022));
    step(0.16); // the last wedge's delay is 0.154 s; all are still on their way up
    for (std::uint64_t i = 1; i < 8; ++i)
        EXPECT_LT(values.value({i, 0}), values.value({i - 1, 0})) << i;
}

TEST_F(AnimatedValuesTest, BoundAnimationOverridesTheTransactionCurveUnlessDisabled) {
    values.setTarget(kScale, 0);
    values.setTarget(kOpacity, 0);
    withAnimation(Animation::easeOut(0.1), [&] {
        values.setTarget(kScale, 1, Animation::easeIn(0.5));
        values.setTarget(kOpacity, 1);
    });
    step(0.1);
    EXPECT_EQ(values.value(kOpacity), 1);
    EXPECT_LT(values.value(kScale), 0.2); // an ease-in of 0.5 s, a fifth of the way in
    values.setTarget(kOpacity, 0, Animation::easeIn(0.12)); // also outside transactions
    EXPECT_TRUE(values.isAnimating(kOpacity));
    withoutAnimation([&] { values.setTarget(kScale, 3, Animation::spring(0.38, 0.7)); });
    EXPECT_EQ(values.value(kScale), 3); // but not where animation is turned off
}

TEST_F(AnimatedValuesTest, NestedTransactionsTheInnermostWins) {
    struct Case {
        const char* name;
        bool outerAnimates;
        bool innerAnimates;
    };
    for (const Case c : {Case{"none-in-anim", true, false}, Case{"anim-in-none", false, true}}) {
        SCOPED_TRACE(c.name);
        values.clear();
        values.setTarget(kScale, 0);
        values.setTarget(kOpacity, 0);
        const auto setInner = [&] { values.setTarget(kScale, 1); };
        const auto body = [&] {
            if (c.innerAnimates)
                withAnimation(Animation::easeOut(0.2), setInner);
            else
                withoutAnimation(setInner);
            values.setTarget(kOpacity, 1); // back in the outer transaction
        };
        if (c.outerAnimates)
            withAnimation(Animation::easeIn(0.2), body);
        else
            withoutAnimation(body);
        EXPECT_EQ(values.isAnimating(kScale), c.innerAnimates);
        EXPECT_EQ(values.isAnimating(kOpacity), c.outerAnimates);
    }
    EXPECT_EQ(currentTransaction(), Transaction{});
}

TEST_F(AnimatedValuesTest, UnchangedTargetKeepsTheRunningCurve) {
    values.setTarget(kScale, 0);
    withAnimation(Animation::easeIn(0.2), [&] { values.setTarget(kScale, 1); });
    step(0.1);
    const double mid = values.value(kScale);
    withoutAnimation([&] { values.setTarget(kScale, 1); });
    EXPECT_EQ(values.value(kScale), mid);
    EXPECT_TRUE(values.isAnimating(kScale));
}

TEST_F(AnimatedValuesTest, SettledOnlyWhenEveryKeyRests) {
    values.setTarget(kScale, 0);
    values.setTarget(kOther, 0);
    EXPECT_TRUE(values.settled());
    withAnimation(Animation::easeOut(0.1), [&] { values.setTarget(kScale, 1); });
    withAnimation(Animation::spring(0.5, 0.9), [&] { values.setTarget(kOther, 1); });
    step(0.1);
    EXPECT_FALSE(values.isAnimating(kScale));
    EXPECT_FALSE(values.settled());
    const double elapsed = runToRest();
    EXPECT_LT(elapsed, 2.0);
    EXPECT_TRUE(values.settled());
    EXPECT_EQ(values.value(kOther), 1);
}

TEST_F(AnimatedValuesTest, RemovingKeysForgetsThemAndTheirMotion) {
    for (std::uint64_t i = 0; i < 6; ++i)
        values.setTarget({i, 0}, 0);
    withAnimation(Animation::easeOut(0.2), [&] {
        for (std::uint64_t i = 0; i < 6; ++i)
            values.setTarget({i, 0}, 1);
    });
    values.retainOnly([](const AnimKey& k) { return k.owner % 2 == 0; });
    EXPECT_EQ(values.size(), 3u);
    EXPECT_FALSE(values.contains({1, 0}));
    EXPECT_TRUE(values.contains({4, 0}));
    values.remove({0, 0});
    values.remove({2, 0});
    EXPECT_EQ(values.value({2, 0}, -1), -1);
    EXPECT_FALSE(values.settled());
    values.remove({4, 0});
    EXPECT_TRUE(values.settled());
}

TEST_F(AnimatedValuesTest, NonFiniteTargetsAreIgnored) {
    values.setTarget(kScale, 0.5);
    withAnimation(Animation::spring(0.3, 0.7), [&] {
        values.setTarget(kScale, NAN);
        values.setTarget(kScale, INFINITY);
    });
    EXPECT_EQ(values.value(kScale), 0.5);
    EXPECT_TRUE(values.settled());
}

} // namespace
} // namespace vt
