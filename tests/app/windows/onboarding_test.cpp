#include "app/trust_texts.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_view.h"
#include "app/windows/onboarding_window_controller.h"
#include "tests/app/windows/windows_doubles.h"
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

namespace vt {
namespace {

// Fires the polling timer once, as a second passing would.
void tick(OnboardingModel& model) {
    ASSERT_NE(model.timer(), nullptr);
    QMetaObject::invokeMethod(model.timer(), "timeout");
}

struct OnboardingFixture : test::WindowsFixture {
    OnboardingWindowController controller{settings, trust};
    // The controller's window once shown; a test without one cannot go on.
    OnboardingWindow& window() {
        OnboardingWindow* shown = controller.window();
        if (!shown) std::abort();
        return *shown;
    }
    QString footer() { return window().view()->footerButton()->text(); }
};

// Showing again keeps the window and replaces the timer; Return closes through the footer
// button, marks onboarding done and stops polling.
TEST_F(OnboardingFixture, ShowingTwiceKeepsOneWindowAndReturnFinishes) {
    controller.show();
    OnboardingWindow* first = controller.window();
    QPointer<QTimer> firstTimer = controller.model().timer();
    controller.show();
    EXPECT_EQ(controller.window(), first);
    EXPECT_EQ(controller.model().findChildren<QTimer*>().size(), 1);
    EXPECT_TRUE(firstTimer.isNull()) << "the second show() replaces the timer";
    ASSERT_TRUE(controller.model().timer() && controller.model().timer()->isActive());

    ASSERT_TRUE(window().view()->footerButton()->isDefault());
    QTest::keyClick(&window(), Qt::Key_Return);
    EXPECT_TRUE(settings.onboardingDone());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(controller.model().timer(), nullptr) << "polling stops";
    controller.show();
    EXPECT_EQ(controller.window(), first);
    EXPECT_NE(controller.model().timer(), nullptr);
}

// Granted while open: step one turns green on the next tick and the window shrinks to fit;
// withdrawn again, it goes back.
TEST_F(OnboardingFixture, GrantingPermissionTurnsStepOneGreenOnTheNextTick) {
    controller.show();
    OnboardingView* view = window().view();
    auto* badge = find<StepBadge>(view, "step1Badge");
    auto* granted = find<QLabel>(view, "grantedText");
    ASSERT_TRUE(badge && granted);
    EXPECT_FALSE(badge->done());
    EXPECT_FALSE(granted->isVisibleTo(view));
    EXPECT_EQ(footer(), QStringLiteral("あとで"));
    const int heightBefore = window().height();

    trust.trusted = true;
    tick(controller.model());
    EXPECT_TRUE(badge->done());
    EXPECT_TRUE(granted->isVisibleTo(view));
    EXPECT_EQ(granted->text(), QStringLiteral("準備ができました。"));
    EXPECT_FALSE(find<QWidget>(view, "pendingContent")->isVisibleTo(view));
    EXPECT_EQ(footer(), QStringLiteral("はじめる"));
    EXPECT_LT(window().height(), heightBefore) << "the window fits its content";

    trust.trusted = false;
    tick(controller.model());
    EXPECT_FALSE(badge->done());
    EXPECT_EQ(footer(), QStringLiteral("あとで"));
}

// Escape does not close the window; the title-bar button closes it but onboarding stays open
// and polling goes on.
TEST_F(OnboardingFixture, TitleBarCloseKeepsPollingAndLeavesOnboardingOpen) {
    controller.show();
    OnboardingWindow& shown = window();
    QTest::keyClick(&shown, Qt::Key_Escape);
    EXPECT_TRUE(shown.isVisible());
    shown.close(); // what the title-bar button does
    EXPECT_FALSE(shown.isVisible());
    EXPECT_FALSE(settings.onboardingDone());
    trust.trusted = true;
    tick(controller.model());
    EXPECT_TRUE(controller.model().trusted());
}

TEST_F(OnboardingFixture, CheckAgainTellsTheProblemOfThisMomentAtOnce) {
    trust.whenNot = TrustProblem::noDisplay;
    OnboardingWindowController local(settings, trust);
    local.show();
    auto* problem = find<QLabel>(local.window(), "problemText");
    auto* again = find<QPushButton>(local.window(), "checkAgain");
    ASSERT_TRUE(problem && again);
    EXPECT_EQ(problem->text(), TrustTexts::explanation(TrustProblem::noDisplay));
    for (TrustProblem p : {TrustProblem::waylandWithoutX, TrustProblem::chordTaken}) {
        trust.whenNot = p;
        again->click();
        EXPECT_EQ(problem->text(), TrustTexts::explanation(p));
    }
    trust.trusted = true;
    again->click();
    EXPECT_EQ(find<QPushButton>(local.window(), "footerButton")->text(),
              QStringLiteral("はじめる"));
}

} // namespace
} // namespace vt
