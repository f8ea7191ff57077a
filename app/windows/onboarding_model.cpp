#include "app/windows/onboarding_model.h"

namespace vt {

OnboardingModel::OnboardingModel(Trust& trust, QObject* parent)
    : QObject(parent), trust_(trust), problem_(trust.problem()) {}

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
    const TrustProblem now = trust_.problem();
    if (now == problem_) return;
    const bool wasTrusted = trusted();
    problem_ = now;
    emit problemChanged(now);
    if (trusted() != wasTrusted) emit trustedChanged(trusted());
}

} // namespace vt
