#pragma once
#include "core/observable.h"
#include "core/picker_types.h"
#include "history/clip_item.h"
#include "picker/fan/fan_geometry.h"
#include "platform/geometry.h"
#include <cstdint>
#include <vector>

namespace vt {

// What the fan panel writes and the fan view draws. Every write notifies observers at once,
// even when the value is unchanged, so the view follows inside the panel's transaction.
class FanModel : public Observable {
public:
    using Phase = PickerPhase;

    static constexpr SizeD initialCanvas{1100, 1100};

    // Row i shows item i.
    const std::vector<ClipItem>& items() const { return items_; }
    std::int64_t selected() const { return selected_; }
    Phase phase() const { return phase_; }
    // The fractional row index at the upper end of the arc.
    double scroll() const { return scroll_; }
    bool outside() const { return outside_; }
    const FanGeometry& geometry() const { return geometry_; }
    // Size of the panel's content.
    SizeD canvas() const { return canvas_; }
    // Offset of the fan's origin (normally the pointer) from the canvas centre, x right, y down.
    SizeD anchor() const { return anchor_; }
    // The part of the canvas the rows and the bubble stay inside (the screen's visible frame),
    // layout points from the canvas's top-left corner, y down; empty means the whole canvas.
    RectD bounds() const { return bounds_; }

    void setItems(std::vector<ClipItem> items);
    void setSelected(std::int64_t selected);
    void setPhase(Phase phase);
    void setScroll(double scroll);
    void setOutside(bool outside);
    void setGeometry(const FanGeometry& geometry);
    void setCanvas(SizeD canvas);
    void setAnchor(SizeD anchor);
    void setBounds(RectD bounds);

private:
    std::vector<ClipItem> items_;
    std::int64_t selected_ = 0;
    Phase phase_ = Phase::hidden;
    double scroll_ = 0;
    bool outside_ = false;
    FanGeometry geometry_;
    SizeD canvas_ = initialCanvas;
    SizeD anchor_;
    RectD bounds_;
};

} // namespace vt
