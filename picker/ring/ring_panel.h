#pragma once
#include "core/picker_panel.h"
#include "picker/ring/ring_model.h"
#include "picker/ring/ring_view.h"
#include "platform/main_queue.h"
#include "platform/screens.h"
#include "ui/animation_clock.h"
#include "ui/overlay_surface.h"

#include <functional>
#include <memory>

namespace vt {

// The ring-shaped picker: owns the RingModel, the view drawing it and the overlay window
// showing the view. The panel never draws; every operation is a set of model writes, inside an
// animation or without one, plus placing and ordering the window.
class RingPanel final : public PickerPanel {
public:
    using SurfaceFactory = std::function<std::unique_ptr<OverlaySurface>(PaintedView&)>;

    static constexpr std::int64_t kMaxItems = 8;

    // The window is built by `makeSurface` on first use (the Qt overlay window when empty);
    // `clock` times the view's animations.
    RingPanel(const Screens& screens, MainQueue& queue, SurfaceFactory makeSurface = {},
              const AnimationClock& clock = SteadyAnimationClock::shared());
    ~RingPanel() override;

    std::int64_t maxItems() const override { return kMaxItems; }
    PointD show(const std::vector<ClipItem>& items, std::int64_t selected) override;
    void select(std::int64_t index) override;
    void setOutside(bool outside) override;
    void hide(bool committed) override;
    PickerHit hit(double dx, double dy) const override;
    bool scroll(double by) override;

    // Builds the window and shows it once, fully transparent, with the ring drawn and the screen
    // behind it pictured, so the first real show is fast.
    void prewarm();

    RingModel& model() { return model_; }
    const RingModel& model() const { return model_; }
    RingView& view() { return *view_; }
    // Bumped by every show and every animated hide; stale delayed work compares it.
    std::int64_t generation() const { return generation_; }
    // The window, built on first access.
    OverlaySurface& window();

private:
    const Screens& screens_;
    MainQueue& queue_;
    SurfaceFactory makeSurface_;
    RingModel model_;
    std::unique_ptr<RingView> view_;
    std::int64_t generation_ = 0;
    std::unique_ptr<OverlaySurface> panel_;
    // Deferred jobs hold this weakly: once the panel is gone they do nothing.
    std::shared_ptr<RingPanel*> self_;
};

} // namespace vt
