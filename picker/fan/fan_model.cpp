#include "picker/fan/fan_model.h"
#include <utility>

namespace vt {

void FanModel::setItems(std::vector<ClipItem> items) {
    items_ = std::move(items);
    notifyObservers();
}

void FanModel::setSelected(std::int64_t selected) {
    selected_ = selected;
    notifyObservers();
}

void FanModel::setPhase(Phase phase) {
    phase_ = phase;
    notifyObservers();
}

void FanModel::setScroll(double scroll) {
    scroll_ = scroll;
    notifyObservers();
}

void FanModel::setOutside(bool outside) {
    outside_ = outside;
    notifyObservers();
}

void FanModel::setGeometry(const FanGeometry& geometry) {
    geometry_ = geometry;
    notifyObservers();
}

void FanModel::setCanvas(SizeD canvas) {
    canvas_ = canvas;
    notifyObservers();
}

void FanModel::setAnchor(SizeD anchor) {
    anchor_ = anchor;
    notifyObservers();
}

void FanModel::setBounds(RectD bounds) {
    bounds_ = bounds;
    notifyObservers();
}

} // namespace vt
