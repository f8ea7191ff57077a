#pragma once
#include "core/picker_types.h"
#include "history/clip_item.h"
#include "platform/geometry.h"
#include <cstdint>
#include <vector>

namespace vt {

// What the hold-paste controller drives: the ring or the fan. Points are in event space
// (origin at the top-left of the primary screen, y down).
class PickerPanel {
public:
    virtual ~PickerPanel() = default;

    // The most items this picker shows.
    virtual std::int64_t maxItems() const = 0;
    // Opens the picker at the pointer with these items and this index highlighted; returns the
    // picker's hit-test centre (the real centre when the picker had to move to stay on screen).
    virtual PointD show(const std::vector<ClipItem>& items, std::int64_t selected) = 0;
    // Moves the highlight; the index is always within the shown list.
    virtual void select(std::int64_t index) = 0;
    // True when the pointer has left the picker, false when it is back.
    virtual void setOutside(bool outside) = 0;
    // Closes the picker (commit look when true). Called with false when nothing is open too,
    // and must then do nothing visible.
    virtual void hide(bool committed) = 0;
    // Pure classification of an offset from the centre returned by show (dy > 0: below).
    virtual PickerHit hit(double dx, double dy) const = 0;
    // Scrolls by an amount in rows; true when the visible window moved.
    virtual bool scroll(double by) = 0;
};

} // namespace vt
