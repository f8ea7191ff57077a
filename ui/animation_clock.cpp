#include "ui/animation_clock.h"

#include <chrono>

namespace vt {

double SteadyAnimationClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

const SteadyAnimationClock& SteadyAnimationClock::shared() {
    static const SteadyAnimationClock clock;
    return clock;
}

} // namespace vt
