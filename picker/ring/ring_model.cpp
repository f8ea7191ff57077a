#include "picker/ring/ring_model.h"
#include <utility>

namespace vt {

void RingModel::setItems(std::vector<ClipItem> items) {
    items_ = std::move(items);
    notifyObservers();
}

void RingModel::setSelected(std::int64_t selected) {
    selected_ = selected;
    notifyObservers();
}

void RingModel::setPhase(Phase phase) {
    phase_ = phase;
    notifyObservers();
}

void RingModel::setHighlightAngle(double angle) {
    highlightAngle_ = angle;
    notifyObservers();
}

void RingModel::setOutside(bool outside) {
    outside_ = outside;
    notifyObservers();
}

} // namespace vt
