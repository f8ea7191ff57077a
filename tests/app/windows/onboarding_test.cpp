#include "app/app_settings.h"
#include "app/trust_texts.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_view.h"
#include "app/windows/onboarding_window_controller.h"
#include "tests/app/windows/windows_doubles.h"
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace vt {
namespace {

// The controller's window once shown; a test without one cannot go on.
OnboardingWindow& windowOf(const OnboardingWindowController& controller) {
    OnboardingWindow* window = controller.window();
    if (!window) std::abort();
    return *window;
}

// Fires the polling timer once, as a second passing would.
void tick(OnboardingModel& model) {
    ASSERT_NE(model.timer(), nullptr);
    QMetaObject::invokeMethod(model.timer(), "timeout");
}

struct OnboardingFixture : ::testing::Test {
    test::FakeTrust trust;
    test::InMemoryDefaults defaults;
    test::StubLoginItems loginItems;
    AppSettings settings{defaults, loginItems};
};

TEST_F(OnboardingFixture, ShowingTwiceKeepsOneWindowAndOneTimer) {
    OnboardingWindowController controller(settings, trust);
    controller.show();
    OnboardingWindow* first = controller.window();
    QPointer<QTimer> firstTimer = controller.model().timer();
    controller.show();
    EXPECT_EQ(controller.window(), first);
    EXPECT_EQ(controller.model().findChildren<QTimer*>().size(), 1);
    ASSERT_NE(controller.model().timer(), nullptr);
    EXPECT_TRUE(firstTimer.isNull()) << "the second show() replaces the timer";
    EXPECT_TRUE(controller.model().timer()->isActive());
}

TEST_F(OnboardingFixture, GrantingPermissionTurnsStepOneGreenOnTheNextTick) {
    OnboardingWindowController controller(settings, trust);
    controller.show();
    OnboardingView* view = windowOf(controller).view();
    auto* badge = view->findChild<StepBadge*>(QStringLiteral("step1Badge"));
    auto* granted = view->findChild<QLabel*>(QStringLiteral("grantedText"));
    ASSERT_TRUE(badge && granted);
    EXPECT_FALSE(badge->done());
    EXPECT_FALSE(granted->isVisibleTo(view));
    EXPECT_EQ(view->footerButton()->text(), QStringLiteral("あとで"));
    const int heightBefore = windowOf(controller).height();

    trust.trusted = true;
    tick(controller.model());
    EXPECT_TRUE(badge->done());
    EXPECT_TRUE(granted->isVisibleTo(view));
    EXPECT_EQ(granted->text(), QStringLiteral("準備ができました。"));
    EXPECT_FALSE(view->findChild<QWidget*>(QStringLiteral("pendingContent"))->isVisibleTo(view));
    EXPECT_EQ(view->footerButton()->text(), QStringLiteral("はじめる"));
    EXPECT_LT(windowOf(controller).height(), heightBefore) << "the window fits its content";

    // Withdrawn again while open.
    trust.trusted = false;
    tick(controller.model());
    EXPECT_FALSE(badge->done());
    EXPECT_EQ(view->footerButton()->text(), QStringLiteral("あとで"));
}

TEST_F(OnboardingFixture, AlreadyTrustedStartsGreen) {
    trust.trusted = true;
    OnboardingWindowController controller(settings, trust);
    controller.show();
    OnboardingView* view = windowOf(controller).view();
    EXPECT_TRUE(view->findChild<StepBadge*>(QStringLiteral("step1Badge"))->done());
    EXPECT_EQ(view->footerButton()->text(), QStringLiteral("はじめる"));
}

TEST_F(OnboardingFixture, ReturnClosesThroughCloseAndMarksOnboardingDone) {
    OnboardingWindowController controller(settings, trust);
    controller.show();
    ASSERT_TRUE(windowOf(controller).view()->footerButton()->isDefault());
    ASSERT_FALSE(settings.onboardingDone());
    QTest::keyClick(&windowOf(controller), Qt::Key_Return);
    EXPECT_TRUE(settings.onboardingDone());
    EXPECT_FALSE(windowOf(controller).isVisible());
    EXPECT_EQ(controller.model().timer(), nullptr) << "polling stops";
    // Shown again later: the same window, polling again.
    OnboardingWindow* window = controller.window();
    controller.show();
    EXPECT_EQ(controller.window(), window);
    EXPECT_NE(controller.model().timer(), nullptr);
}

// Escape does not close the window; the title-bar button closes it but onboarding stays open.
TEST_F(OnboardingFixture, TitleBarCloseKeepsPollingAndLeavesOnboardingOpen) {
    OnboardingWindowController controller(settings, trust);
    controller.show();
    QTest::keyClick(&windowOf(controller), Qt::Key_Escape);
    EXPECT_TRUE(windowOf(controller).isVisible());
    windowOf(controller).close(); // what the title-bar button does
    EXPECT_FALSE(windowOf(controller).isVisible());
    EXPECT_FALSE(settings.onboardingDone());
    ASSERT_NE(controller.model().timer(), nullptr);
    EXPECT_TRUE(controller.model().timer()->isActive());
    trust.trusted = true;
    tick(controller.model());
    EXPECT_TRUE(controller.model().trusted());
}

TEST_F(OnboardingFixture, CheckAgainTellsTheProblemOfThisMomentAtOnce) {
    trust.whenNot = TrustProblem::noDisplay;
    OnboardingWindowController controller(settings, trust);
    controller.show();
    OnboardingWindow& window = windowOf(controller);
    auto* problem = window.findChild<QLabel*>(QStringLiteral("problemText"));
    auto* again = window.findChild<QPushButton*>(QStringLiteral("checkAgain"));
    ASSERT_TRUE(problem && again);
    EXPECT_EQ(problem->text(), TrustTexts::explanation(TrustProblem::noDisplay));
    for (TrustProblem p : {TrustProblem::waylandWithoutX, TrustProblem::chordTaken}) {
        trust.whenNot = p;
        again->click();
        EXPECT_EQ(problem->text(), TrustTexts::explanation(p));
    }
    EXPECT_NE(TrustTexts::explanation(TrustProblem::waylandWithoutX),
              TrustTexts::explanation(TrustProblem::chordTaken));
    trust.trusted = true;
    again->click();
    EXPECT_EQ(window.view()->footerButton()->text(), QStringLiteral("はじめる"));
}

TEST_F(OnboardingFixture, UnchangedTrustCausesNoUpdate) {
    OnboardingModel model(trust);
    int changes = 0;
    QObject::connect(&model, &OnboardingModel::trustedChanged, [&] { ++changes; });
    model.start();
    tick(model);
    tick(model);
    EXPECT_EQ(changes, 0);
    trust.trusted = true;
    tick(model);
    tick(model);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace vt
