#include "app/windows/onboarding_window_controller.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/windows/desktop_services.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/onboarding_view.h"
#include "app/windows/window_activation.h"
#include <QCoreApplication>

namespace vt {

OnboardingWindowController& OnboardingWindowController::shared() {
    static auto* instance =
        new OnboardingWindowController(AppSettings::shared(), DesktopServices::trust());
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
        window_->setWindowTitle(
            QCoreApplication::translate("Vantrel", "%1 へようこそ").arg(AppInfo::name()));
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
