#include "ui/animation.h"
#include "ui/animation_driver.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace vt {
namespace {

constexpr AnimKey kKey{7, 1};
constexpr int kPatienceMs = 5000; // an upper bound for waiting, not a timing assertion

// A store at rest costs no timer; a moving one is painted until it settles, then the driver
// stops until the next change.
TEST(AnimationDriver, TicksWhileMovingAndStopsWhenSettled) {
    AnimatedValues values(SteadyAnimationClock::shared());
    AnimationDriver driver;
    int repaints = 0;
    driver.attach(values, [&] { ++repaints; });
    values.setTarget(kKey, 0);
    withoutAnimation([&] { values.setTarget(kKey, 2); });
    driver.kick();
    EXPECT_FALSE(driver.isRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(repaints, 0);

    for (const double target : {1.0, 0.0}) {
        withAnimation(Animation::easeOut(0.1), [&] { values.setTarget(kKey, target); });
        EXPECT_TRUE(driver.isRunning()); // started by the store, no kick needed
        ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
        EXPECT_EQ(values.value(kKey), target);
        EXPECT_GE(repaints, 1);
        const int after = repaints;
        QTest::qWait(3 * AnimationDriver::kFrameIntervalMs);
        EXPECT_EQ(repaints, after);
    }
}

// The store's clock decides when it arrives; a detached store is no longer run.
TEST(AnimationDriver, ManualClockDecidesWhenTheStoreArrives) {
    ManualAnimationClock clock;
    AnimatedValues values(clock);
    AnimatedValues detached(clock);
    AnimationDriver driver;
    std::vector<double> painted;
    int paintedDetached = 0;
    driver.attach(values, [&] { painted.push_back(values.value(kKey)); });
    driver.attach(detached, [&] { ++paintedDetached; });
    values.setTarget(kKey, 0);
    detached.setTarget(kKey, 0);
    withAnimation(Animation::easeIn(0.2), [&] {
        values.setTarget(kKey, 1);
        detached.setTarget(kKey, 1);
    });
    driver.detach(detached);
    QTest::qWait(5 * AnimationDriver::kFrameIntervalMs);
    EXPECT_TRUE(driver.isRunning()); // the clock has not moved: still at the start
    EXPECT_EQ(values.value(kKey), 0);

    clock.advance(0.1);
    const std::size_t before = painted.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.size() > before; }, kPatienceMs));
    EXPECT_GT(painted.back(), 0);
    EXPECT_LT(painted.back(), 1);

    clock.advance(0.1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
    EXPECT_EQ(painted.back(), 1); // the last frame shows the end
    EXPECT_EQ(paintedDetached, 0);
    EXPECT_FALSE(detached.settled());
}

} // namespace
} // namespace vt
