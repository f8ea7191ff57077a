#pragma once
#include "core/picker_panel.h"
#include "picker/fan/fan_model.h"
#include "picker/fan/fan_view.h"
#include "platform/main_queue.h"
#include "platform/screens.h"
#include "ui/animation_clock.h"
#include "ui/overlay_surface.h"

#include <functional>
#include <memory>
#include <optional>

namespace vt {

// The fan-shaped picker, the default one: owns the FanModel, the view drawing it and the
// overlay window showing the view, framed to the whole screen the pointer is on. The panel
// never draws; every operation is a set of model writes, inside an animation or without one,
// plus placing and ordering the window. The arithmetic is FanGeometry's.
class FanPanel final : public PickerPanel {
public:
    using SurfaceFactory = std::function<std::unique_ptr<OverlaySurface>(FanView&)>;

    static constexpr std::int64_t kInitialMaxItems = 50;
    static constexpr std::int64_t kInitialVisibleSlots = 12;
    // Side of the square window used when the system reports no screen.
    static constexpr double kFallbackSide = 1100;
    // How long the closing animation runs before the window is ordered out.
    static constexpr double kHideDelay = 0.24;

    // The window is built by `makeSurface` on first use (the Qt overlay window when empty);
    // `clock` times the view's animations.
    FanPanel(const Screens& screens, MainQueue& queue, SurfaceFactory makeSurface = {},
             const AnimationClock& clock = SteadyAnimationClock::shared());
    ~FanPanel() override;

    std::int64_t maxItems() const override { return maxItems_; }
    // Negative limits are refused (logged) and read as 0.
    void setMaxItems(std::int64_t limit);
    std::int64_t visibleSlots() const { return visibleSlots_; }
    // Fewer than one slot is refused (logged) and read as 1.
    void setVisibleSlots(std::int64_t count);

    // Opens at the pointer the screens report.
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override;
    // Opens at a pointer in window space (y up); returns the fan's origin in event space.
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected, PointD pointer);
    void select(std::int64_t index) override;
    void setOutside(bool outside) override;
    void hide(bool committed) override;
    PickerHit hit(double dx, double dy) const override;
    bool scroll(double by) override;

    // Builds the window and renders the fan once off screen, so the first real show is fast.
    void prewarm();

    // The screen a pointer in window space opens the fan on: the one containing it, else the
    // nearest; none only without screens.
    static std::optional<ScreenInfo> screen(const Screens& screens, PointD pointer);
    // Where the fan's origin goes on a canvas (y down) for a pointer there: the pointer itself
    // whenever every row on the arc fits inside `bounds`, else the nearest point from which
    // they do. A screen too short for the arc also tilts `geometry` beyond the usual 14 degrees.
    static PointD fitOrigin(FanGeometry& geometry, PointD pointer, RectD bounds);

    FanModel& model() { return model_; }
    const FanModel& model() const { return model_; }
    FanView& view() { return *view_; }
    const FanView& view() const { return *view_; }
    // Bumped by every show and every animated hide; the delayed hide compares it.
    std::int64_t generation() const { return generation_; }
    // Wheel movement, in rows, not applied yet.
    double scrollRemainder() const { return scrollRemainder_; }
    // The window, built on first access.
    OverlaySurface& window();

private:
    const Screens& screens_;
    MainQueue& queue_;
    SurfaceFactory makeSurface_;
    FanModel model_;
    std::unique_ptr<FanView> view_;
    std::int64_t maxItems_ = kInitialMaxItems;
    std::int64_t visibleSlots_ = kInitialVisibleSlots;
    std::int64_t generation_ = 0;
    double scrollRemainder_ = 0;
    std::unique_ptr<OverlaySurface> panel_;
    // Deferred jobs hold this weakly: once the panel is gone they do nothing.
    std::shared_ptr<FanPanel*> self_;
};

} // namespace vt
