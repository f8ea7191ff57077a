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

TEST(AnimationDriver, IdleStoreCostsNoTimer) {
    ManualAnimationClock clock;
    AnimatedValues values(clock);
    AnimationDriver driver;
    int repaints = 0;
    driver.attach(values, [&] { ++repaints; });
    values.setTarget(kKey, 1);
    withoutAnimation([&] { values.setTarget(kKey, 2); });
    driver.kick();
    EXPECT_FALSE(driver.isRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(repaints, 0);
}

TEST(AnimationDriver, TicksWhileMovingAndStopsWhenSettled) {
    AnimatedValues values(SteadyAnimationClock::shared());
    AnimationDriver driver;
    int repaints = 0;
    driver.attach(values, [&] { ++repaints; });
    values.setTarget(kKey, 0);

    withAnimation(Animation::easeOut(0.1), [&] { values.setTarget(kKey, 1); });
    EXPECT_TRUE(driver.isRunning()); // started by the store, no kick needed

    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
    EXPECT_TRUE(values.settled());
    EXPECT_EQ(values.value(kKey), 1);
    EXPECT_GE(repaints, 1); // at least the frame that arrived
    const int after = repaints;
    QTest::qWait(3 * AnimationDriver::kFrameIntervalMs);
    EXPECT_EQ(repaints, after);

    // A new change starts it again.
    withAnimation(Animation::spring(0.1, 1.0), [&] { values.setTarget(kKey, 0); });
    EXPECT_TRUE(driver.isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
    EXPECT_EQ(values.value(kKey), 0);
}

TEST(AnimationDriver, ManualClockDecidesWhenTheStoreArrives) {
    ManualAnimationClock clock;
    AnimatedValues values(clock);
    AnimationDriver driver;
    std::vector<double> painted;
    driver.attach(values, [&] { painted.push_back(values.value(kKey)); });
    values.setTarget(kKey, 0);
    withAnimation(Animation::easeIn(0.2), [&] { values.setTarget(kKey, 1); });
    QTest::qWait(5 * AnimationDriver::kFrameIntervalMs);
    EXPECT_TRUE(driver.isRunning()); // the clock has not moved: still at the start
    EXPECT_EQ(values.value(kKey), 0);

    clock.advance(0.1);
    const std::size_t before = painted.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.size() > before; }, kPatienceMs));
    EXPECT_GT(painted.back(), 0);
    EXPECT_LT(painted.back(), 1);
    EXPECT_TRUE(driver.isRunning());

    clock.advance(0.1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
    EXPECT_EQ(values.value(kKey), 1);
    EXPECT_EQ(painted.back(), 1); // the last frame shows the end
}

TEST(AnimationDriver, RunsSeveralStoresAndDetachStopsCallbacks) {
    ManualAnimationClock clock;
    AnimatedValues a(clock);
    AnimatedValues b(clock);
    AnimationDriver driver;
    int paintedA = 0;
    int paintedB = 0;
    driver.attach(a, [&] { ++paintedA; });
    driver.attach(b, [&] { ++paintedB; });
    a.setTarget(kKey, 0);
    b.setTarget(kKey, 0);
    withAnimation(Animation::easeOut(0.1), [&] {
        a.setTarget(kKey, 1);
        b.setTarget(kKey, 1);
    });
    driver.detach(b);
    clock.advance(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.isRunning(); }, kPatienceMs));
    EXPECT_GE(paintedA, 1);
    EXPECT_EQ(paintedB, 0);
    EXPECT_FALSE(b.settled()); // nobody runs it any more
}

} // namespace
} // namespace vt
