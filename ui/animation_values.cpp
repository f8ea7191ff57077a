#include "ui/animation_values.h"
#include "ui/animation_transaction.h"

#include <cmath>

namespace vt {

AnimatedValues::AnimatedValues(const AnimationClock& clock) : clock_(clock) {}

AnimatedValues::Entry* AnimatedValues::find(AnimKey key) {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

const AnimatedValues::Entry* AnimatedValues::find(AnimKey key) const {
    const auto it = index_.find(key);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

double AnimatedValues::value(AnimKey key, double fallback) const {
    const Entry* e = find(key);
    return e ? e->value : fallback;
}

double AnimatedValues::targetOf(AnimKey key, double fallback) const {
    const Entry* e = find(key);
    return e ? e->motion.target() : fallback;
}

bool AnimatedValues::contains(AnimKey key) const {
    return find(key) != nullptr;
}

bool AnimatedValues::isAnimating(AnimKey key) const {
    const Entry* e = find(key);
    return e && e->moving;
}

void AnimatedValues::setTarget(AnimKey key, double target) {
    const Transaction& t = currentTransaction();
    apply(key, target, t.disablesAnimations ? Animation::none() : t.animation);
}

void AnimatedValues::setTarget(AnimKey key, double target, const Animation& bound) {
    const Transaction& t = currentTransaction();
    apply(key, target, t.disablesAnimations ? Animation::none() : bound);
}

void AnimatedValues::apply(AnimKey key, double target, const Animation& animation) {
    if (!std::isfinite(target)) return;
    Entry* e = find(key);
    if (!e) {
        index_.emplace(key, entries_.size());
        entries_.push_back(Entry{key, target, Motion::rest(target), false});
        return;
    }
    if (e->motion.target() == target) return;

    if (!animation.animates()) {
        e->value = target;
        e->motion = Motion::rest(target);
        if (e->moving) {
            e->moving = false;
            --moving_;
        }
        return;
    }

    // Start from where the value is now, not where it was last painted, so a change between two
    // frames continues the path the value is actually on.
    const double now = clock_.now();
    const Motion::Sample here = e->moving ? e->motion.sample(now) : Motion::Sample{e->value, 0};
    e->value = here.value;
    e->motion = Motion(animation, here.value, here.velocity, target, now);
    const bool wasSettled = settled();
    if (!e->moving) {
        e->moving = true;
        ++moving_;
    }
    if (wasSettled && onActivity_) onActivity_();
}

void AnimatedValues::advance(double now) {
    if (moving_ == 0) return;
    for (Entry& e : entries_) {
        if (!e.moving) continue;
        const Motion::Sample s = e.motion.sample(now);
        e.value = s.value;
        if (s.finished) {
            e.moving = false;
            --moving_;
        }
    }
}

void AnimatedValues::eraseAt(std::size_t i) {
    if (entries_[i].moving) --moving_;
    index_.erase(entries_[i].key);
    if (i + 1 != entries_.size()) {
        entries_[i] = entries_.back();
        index_[entries_[i].key] = i;
    }
    entries_.pop_back();
}

void AnimatedValues::remove(AnimKey key) {
    const auto it = index_.find(key);
    if (it != index_.end()) eraseAt(it->second);
}

void AnimatedValues::retainOnly(const std::function<bool(const AnimKey&)>& keep) {
    for (std::size_t i = entries_.size(); i-- > 0;) {
        if (!keep(entries_[i].key)) eraseAt(i);
    }
}

void AnimatedValues::clear() {
    entries_.clear();
    index_.clear();
    moving_ = 0;
}

} // namespace vt
