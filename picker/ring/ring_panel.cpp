#include "picker/ring/ring_panel.h"

#include "picker/ring/ring_geometry.h"
#include "ui/animation_transaction.h"
#include "ui/haptics.h"
#include "ui/overlay_window.h"

#include <algorithm>

namespace vt {
namespace {

namespace G = RingGeometry;

// The first screen whose frame holds the point, else the main screen, else none. The point is
// a pixel as the pointer reports it: in window space (y up) a screen owns the rows above its
// bottom edge up to and including its top edge, so the top row of a screen is its own and not
// the screen's above.
std::optional<ScreenInfo> screenFor(const Screens& screens, PointD p) {
    for (const ScreenInfo& s : screens.screens()) {
        const RectD& f = s.frame;
        if (p.x >= f.minX() && p.x < f.maxX() && p.y > f.minY() && p.y <= f.maxY()) return s;
    }
    return screens.mainScreen();
}

} // namespace

RingPanel::RingPanel(const Screens& screens, MainQueue& queue, SurfaceFactory makeSurface,
                     const AnimationClock& clock)
    : screens_(screens), queue_(queue), makeSurface_(std::move(makeSurface)),
      view_(std::make_unique<RingView>(model_, clock)), self_(std::make_shared<RingPanel*>(this)) {
    if (!makeSurface_)
        makeSurface_ = [&screens](PaintedView& view) {
            return std::make_unique<OverlayWindow>(screens, view);
        };
}

RingPanel::~RingPanel() {
    self_.reset();
    panel_.reset(); // the window goes before the view it hosts
}

OverlaySurface& RingPanel::window() {
    if (!panel_) panel_ = makeSurface_(*view_);
    return *panel_;
}

PointD RingPanel::show(const std::vector<ClipItem>& items, std::int64_t selected) {
    ++generation_;
    const auto n = std::int64_t(items.size());
    withoutAnimation([&] {
        model_.setItems(items);
        model_.setSelected(selected);
        model_.setHighlightAngle(G::initialHighlightAngle(n, selected));
        model_.setPhase(RingModel::Phase::hidden);
        model_.setOutside(false);
    });

    const PointD p = screens_.mouseLocation();
    PointD o{p.x - G::center, p.y - G::center};
    if (const std::optional<ScreenInfo> screen = screenFor(screens_, p)) {
        // Lower bound first: on a visible frame narrower than the ring the upper bound wins.
        const RectD& v = screen->visibleFrame;
        o.x = std::min(std::max(o.x, v.minX()), v.maxX() - G::canvasSize);
        o.y = std::min(std::max(o.y, v.minY()), v.maxY() - G::canvasSize);
    }
    OverlaySurface& window = this->window();
    window.setFrame({o.x, o.y, G::canvasSize, G::canvasSize});
    window.orderFront();
    window.displayNow();

    std::weak_ptr<RingPanel*> weak = self_;
    queue_.asyncAfter(0, [weak] {
        const auto self = weak.lock();
        if (!self) return;
        withAnimation(Animation::spring(0.34, 0.72),
                      [&] { (*self)->model_.setPhase(RingModel::Phase::shown); });
    });

    const std::vector<ScreenInfo> all = screens_.screens();
    const double h = all.empty() ? 0 : all.front().frame.maxY();
    return {o.x + G::center, h - (o.y + G::center)};
}

void RingPanel::select(std::int64_t index) {
    if (index == model_.selected()) return;
    const double angle = G::shortWayHighlightAngle(index, std::int64_t(model_.items().size()),
                                                   model_.highlightAngle());
    withAnimation(Animation::spring(0.26, 0.74), [&] {
        model_.setSelected(index);
        model_.setHighlightAngle(angle);
    });
    Haptics::alignment();
}

void RingPanel::setOutside(bool outside) {
    if (outside == model_.outside()) return;
    withAnimation(Animation::easeOut(0.15), [&] { model_.setOutside(outside); });
}

void RingPanel::hide(bool committed) {
    if (model_.phase() == RingModel::Phase::hidden) {
        window().orderOut();
        return;
    }
    const std::int64_t g = ++generation_;
    window().resignInput();
    const Animation animation = committed ? Animation::easeOut(0.22) : Animation::easeIn(0.14);
    const double delay = committed ? 0.26 : 0.18;
    withAnimation(animation, [&] {
        model_.setPhase(committed ? RingModel::Phase::committing : RingModel::Phase::cancelling);
    });
    std::weak_ptr<RingPanel*> weak = self_;
    queue_.asyncAfter(delay, [weak, g] {
        const auto self = weak.lock();
        if (!self) return;
        RingPanel& panel = **self;
        if (panel.generation_ != g) return;
        panel.window().orderOut();
        withoutAnimation([&] { panel.model_.setPhase(RingModel::Phase::hidden); });
    });
}

PickerHit RingPanel::hit(double dx, double dy) const {
    return G::hit(dx, dy, std::int64_t(model_.items().size()));
}

bool RingPanel::scroll(double /*by*/) {
    return false;
}

void RingPanel::prewarm() {
    if (panel_ && panel_->isVisible()) return; // in use: warm already
    ClipItem placeholder = ClipItem::makeText(QStringLiteral("…"));
    withoutAnimation([&] {
        model_.setItems({placeholder});
        model_.setSelected(0);
        model_.setPhase(RingModel::Phase::shown);
    });
    OverlaySurface& window = this->window();
    // Well inside the main screen, where the whole square can be pictured.
    const std::optional<ScreenInfo> main = screens_.mainScreen();
    const RectD v = main ? main->visibleFrame : RectD{0, 0, G::canvasSize, G::canvasSize};
    window.setFrame({v.x + (v.width - G::canvasSize) / 2, v.y + (v.height - G::canvasSize) / 2,
                     G::canvasSize, G::canvasSize});
    showOnceUnseen(window);
    withoutAnimation([&] {
        model_.setItems({});
        model_.setPhase(RingModel::Phase::hidden);
    });
}

} // namespace vt
