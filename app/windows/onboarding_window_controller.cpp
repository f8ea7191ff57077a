#include "app/windows/onboarding_window_controller.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_view.h"
#include "app/windows/window_activation.h"
#include "app/windows/windows_platform.h"
#include "platform/linux/x11_trust.h"

namespace vt {

OnboardingWindowController& OnboardingWindowController::shared() {
    static auto* instance =
        new OnboardingWindowController(AppSettings::shared(), WindowsPlatform::trust());
    return *instance;
}

OnboardingWindowController::OnboardingWindowController(AppSettings& settings, Trust& trust,
                                                       QObject* parent)
    : QObject(parent), settings_(settings), model_(new OnboardingModel(trust, this)) {}

OnboardingWindowController::~OnboardingWindowController() {
    delete window_.data();
}

void OnboardingWindowController::show() {
    model_->start();
    if (!window_) {
        // The controller deletes the window first, so the view never outlives `this`.
        auto* view = new OnboardingView(*model_, [this] { close(); });
        window_ = new OnboardingWindow(view);
        window_->setWindowTitle(AppInfo::name() + QStringLiteral(" へようこそ"));
        centerOnScreen(window_);
    }
    bringToFront(window_);
}

void OnboardingWindowController::close() {
    settings_.setOnboardingDone(true);
    model_->stop();
    if (window_) window_->hide();
}

} // namespace vt
