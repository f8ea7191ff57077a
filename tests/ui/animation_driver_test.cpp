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
// stops until the next change. A detached store is no longer run.
TEST(AnimationDriver, TicksWhileMovingAndStopsWhenSettled) {
    AnimatedValues values(SteadyAnimationClock::shared());
    AnimatedValues detached(SteadyAnimationClock::shared());
    AnimationDriver driver;
    int repaints = 0, detachedRepaints = 0;
    driver.attach(values, [&] { ++repaints; });
    driver.attach(detached, [&] { ++detachedRepaints; });
    driver.detach(detached);
    detached.setTarget(kKey, 0);
    values.setTarget(kKey, 0);
    withoutAnimation([&] { values.setTarget(kKey, 2); });
    driver.kick();
    EXPECT_FALSE(driver.isRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(repaints, 0);

    for (const double target : {1.0, 0.0}) {
        withAnimation(Animation::easeOut(0.1), [&] {
            values.setTarget(kKey, target);
            detached.setTarget(kKey, target);
        });
        EXPECT_TRUE(driver.isRunning()); // started by the store, no kick needed
        ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
        EXPECT_EQ(values.value(kKey), target);
        EXPECT_GE(repaints, 1);
        const int after = repaints;
        QTest::qWait(3 * AnimationDriver::kFrameIntervalMs);
        EXPECT_EQ(repaints, after);
    }
    EXPECT_EQ(detachedRepaints, 0);
}

} // namespace
} // namespace vt
