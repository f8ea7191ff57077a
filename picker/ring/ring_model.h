#pragma once
#include "core/observable.h"
#include "core/picker_types.h"
#include "history/clip_item.h"
#include <cstdint>
#include <vector>

namespace vt {

// What the ring panel writes and the ring view draws. Every write notifies observers at once,
// even when the value is unchanged, so the view follows inside the panel's transaction.
class RingModel : public Observable {
public:
    using Phase = PickerPhase;

    const std::vector<ClipItem>& items() const { return items_; }
    std::int64_t selected() const { return selected_; }
    Phase phase() const { return phase_; }
    // Not reduced to one turn while the ring is open, so animations sweep the short way.
    double highlightAngle() const { return highlightAngle_; }
    bool outside() const { return outside_; }

    void setItems(std::vector<ClipItem> items);
    void setSelected(std::int64_t selected);
    void setPhase(Phase phase);
    void setHighlightAngle(double angle);
    void setOutside(bool outside);

private:
    std::vector<ClipItem> items_;
    std::int64_t selected_ = 0;
    Phase phase_ = Phase::hidden;
    double highlightAngle_ = 0;
    bool outside_ = false;
};

} // namespace vt
