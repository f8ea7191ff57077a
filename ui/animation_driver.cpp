#include "ui/animation_driver.h"

#include <algorithm>

namespace vt {

AnimationDriver::AnimationDriver(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kFrameIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &AnimationDriver::tick);
}

AnimationDriver::~AnimationDriver() {
    for (Client& c : clients_)
        c.values->setActivityHandler({});
}

void AnimationDriver::attach(AnimatedValues& values, std::function<void()> repaint) {
    detach(values);
    clients_.push_back(Client{&values, std::move(repaint)});
    values.setActivityHandler([this] { kick(); });
    kick();
}

void AnimationDriver::detach(AnimatedValues& values) {
    const auto it = std::find_if(clients_.begin(), clients_.end(),
                                 [&](const Client& c) { return c.values == &values; });
    if (it == clients_.end()) return;
    values.setActivityHandler({});
    clients_.erase(it);
}

void AnimationDriver::kick() {
    if (timer_.isActive()) return;
    const bool moving = std::any_of(clients_.begin(), clients_.end(),
                                    [](const Client& c) { return !c.values->settled(); });
    if (moving) timer_.start();
}

void AnimationDriver::tick() {
    ++frames_;
    // Index loop: a repaint callback may attach or detach stores, or start new animations.
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        AnimatedValues* values = clients_[i].values;
        if (values->settled()) continue;
        values->advance(values->clock().now());
        if (clients_[i].repaint) clients_[i].repaint();
    }
    const bool moving = std::any_of(clients_.begin(), clients_.end(),
                                    [](const Client& c) { return !c.values->settled(); });
    if (!moving) timer_.stop();
}

} // namespace vt
