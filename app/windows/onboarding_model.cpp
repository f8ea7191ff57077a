#include "app/windows/onboarding_model.h"
#include "platform/trust.h"

namespace vt {

OnboardingModel::OnboardingModel(Trust& trust, QObject* parent)
    : QObject(parent), trust_(trust), trusted_(trust.isTrusted()) {}

void OnboardingModel::start() {
    stop();
    // Owned by the model, so a tick can never outlive it.
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    timer_->setTimerType(Qt::CoarseTimer);
    connect(timer_, &QTimer::timeout, this, &OnboardingModel::poll);
    timer_->start();
}

void OnboardingModel::stop() {
    if (timer_) {
        timer_->stop();
        delete timer_.data();
    }
    timer_ = nullptr;
}

void OnboardingModel::poll() {
    const bool now = trust_.isTrusted();
    if (now == trusted_) return;
    trusted_ = now;
    emit trustedChanged(now);
}

void OnboardingModel::openAccessibility() {
    trust_.openAccessibility();
}

} // namespace vt
