#include "picker/fan/fan_panel.h"

#include "core/panel_placement.h"
#include "platform/log.h"
#include "ui/animation_transaction.h"
#include "ui/haptics.h"
#include "ui/overlay_window.h"

#include <QDateTime>
#include <QUuid>
#include <algorithm>
#include <cmath>

namespace vt {

PointD FanPanel::fitOrigin(FanGeometry& g, PointD pointer, RectD bounds) {
    // Fitting keeps the screen margin: where the tilt made the arc fit, the fan stays at the
    // pointer. Where it does not, the origin moves just far enough for the whole rows to lie on
    // the screen.
    const double m = FanGeometry::screenMargin;
    const RectD inside{bounds.x + m, bounds.y + m, bounds.width - 2 * m, bounds.height - 2 * m};
    if (g.rowsExtent(true).height > bounds.height - 8) {
        // A screen too short for the arc even when tilted the usual 14 degrees: tilt further,
        // the same way, as far as needed.
        const double sign = g.centerAngle < 0 ? -1 : 1;
        FanGeometry t = g;
        for (int k = FanGeometry::fitMaxDegrees + 1; k <= 60; ++k) {
            t.centerAngle = sign * k * FanGeometry::degree;
            if (t.rowsExtent(true).height <= bounds.height - 8) break;
        }
        g = t;
    }
    const RectD e = g.rowsExtent();
    const RectD whole = g.rowsExtent(true);
    auto fit = [](double at, double lowest, double highest, double wholeLowest,
                  double wholeHighest) {
        const double tolerance = FanGeometry::fitImprovement;
        if (at >= lowest - tolerance && at <= highest + tolerance) return at;
        if (wholeLowest > wholeHighest) return (wholeLowest + wholeHighest) / 2;
        return std::clamp(at, wholeLowest, wholeHighest);
    };
    // Whole rows keep a few points from the edge: springs overshoot a little on the way out.
    constexpr double k = 4;
    return {fit(pointer.x, inside.minX() - e.minX(), inside.maxX() - e.maxX(),
                bounds.minX() + k - whole.minX(), bounds.maxX() - k - whole.maxX()),
            fit(pointer.y, inside.minY() - e.minY(), inside.maxY() - e.maxY(),
                bounds.minY() + k - whole.minY(), bounds.maxY() - k - whole.maxY())};
}

FanPanel::FanPanel(const Screens& screens, MainQueue& queue, SurfaceFactory makeSurface,
                   const AnimationClock& clock)
    : screens_(screens), queue_(queue), makeSurface_(std::move(makeSurface)),
      view_(std::make_unique<FanView>(model_, clock)), self_(std::make_shared<FanPanel*>(this)) {
    if (!makeSurface_)
        makeSurface_ = [&screens](FanView& view) {
            return std::make_unique<OverlayWindow>(screens, view);
        };
}

FanPanel::~FanPanel() {
    self_.reset();
    panel_.reset(); // the window goes before the view it hosts
}

void FanPanel::setMaxItems(std::int64_t limit) {
    if (limit < 0) qCWarning(vtLog) << "fan: ignoring a negative item limit" << limit;
    maxItems_ = std::max<std::int64_t>(limit, 0);
}

void FanPanel::setVisibleSlots(std::int64_t count) {
    if (count < 1) qCWarning(vtLog) << "fan: at least one slot is needed, not" << count;
    visibleSlots_ = std::max<std::int64_t>(count, 1);
}

OverlaySurface& FanPanel::window() {
    if (!panel_) panel_ = makeSurface_(*view_);
    return *panel_;
}

std::optional<ScreenInfo> FanPanel::screen(const Screens& screens, PointD pointer) {
    const std::vector<ScreenInfo> all = screens.screens();
    if (all.empty()) return std::nullopt;
    // Placement works on pixel rows as the pointer reports them, y down: the top row of a
    // screen belongs to it, not to the screen above (in window space, y up, it would sit on the
    // shared edge and go to the upper screen).
    const double top = all.front().frame.maxY();
    std::vector<RectD> frames;
    frames.reserve(all.size());
    for (const ScreenInfo& s : all)
        frames.push_back({s.frame.x, top - s.frame.maxY(), s.frame.width, s.frame.height});
    const std::optional<std::size_t> index =
        PanelPlacement::screenIndex({pointer.x, top - pointer.y}, frames);
    if (!index) return std::nullopt;
    return all[*index];
}

PointD FanPanel::show(const std::vector<ClipItem>& items, std::int64_t selected) {
    return show(items, selected, screens_.mouseLocation());
}

PointD FanPanel::show(const std::vector<ClipItem>& items, std::int64_t selected, PointD p) {
    ++generation_;
    scrollRemainder_ = 0;
    const std::optional<ScreenInfo> s = screen(screens_, p);

    FanGeometry g;
    g.count = std::int64_t(items.size());
    g.visibleSlots = visibleSlots_;
    if (s) {
        const FanFlip flip = fanFlipDecision(p, s->visibleFrame, g);
        g.flipX = flip.flipX;
        g.centerAngle = g.fittedCenterAngle(flip.spaceAbove, flip.spaceBelow);
    }
    withoutAnimation([&] {
        model_.setItems(items);
        model_.setGeometry(g);
        model_.setSelected(selected);
        model_.setScroll(g.scrollToShow(selected, 0));
        model_.setOutside(false);
        model_.setPhase(FanModel::Phase::hidden);
    });

    const RectD frame =
        s ? s->frame
          : RectD{p.x - kFallbackSide / 2, p.y - kFallbackSide / 2, kFallbackSide, kFallbackSide};
    // On the canvas (y down from the frame's top): the pointer, the visible frame, and the
    // fan's origin, moved off the pointer only as far as keeps every row on the screen.
    const PointD pointer{p.x - frame.x, frame.maxY() - p.y};
    RectD bounds;
    PointD origin = pointer;
    if (s) {
        const RectD& v = s->visibleFrame;
        bounds = {v.x - frame.x, frame.maxY() - v.maxY(), v.width, v.height};
        origin = fitOrigin(g, pointer, bounds);
        if (g.centerAngle != model_.geometry().centerAngle)
            withoutAnimation([&] { model_.setGeometry(g); });
    }
    withoutAnimation([&] {
        model_.setCanvas(frame.size());
        model_.setBounds(bounds);
        model_.setAnchor({origin.x - frame.width / 2, origin.y - frame.height / 2});
    });
    OverlaySurface& window = this->window();
    window.setFrame(frame);
    window.orderFront();

    std::weak_ptr<FanPanel*> weak = self_;
    queue_.asyncAfter(0, [weak] {
        const auto self = weak.lock();
        if (!self) return;
        withAnimation(Animation::spring(0.24, 0.8),
                      [&] { (*self)->model_.setPhase(FanModel::Phase::shown); });
    });

    const std::vector<ScreenInfo> all = screens_.screens();
    const double top = all.empty() ? 0 : all.front().frame.maxY();
    return {frame.x + origin.x, top - (frame.maxY() - origin.y)};
}

void FanPanel::select(std::int64_t index) {
    if (index == model_.selected()) return;
    const double t = model_.geometry().scrollToShow(index, model_.scroll());
    withAnimation(Animation::spring(0.3, 0.78), [&] {
        model_.setSelected(index);
        model_.setScroll(t);
    });
    Haptics::alignment();
}

void FanPanel::setOutside(bool outside) {
    if (outside == model_.outside()) return;
    withAnimation(Animation::easeOut(0.15), [&] { model_.setOutside(outside); });
}

void FanPanel::hide(bool committed) {
    if (model_.phase() == FanModel::Phase::hidden) {
        window().orderOut();
        return;
    }
    const std::int64_t g = ++generation_;
    window().resignInput();
    withAnimation(committed ? Animation::easeIn(0.2) : Animation::easeIn(0.16), [&] {
        model_.setPhase(committed ? FanModel::Phase::committing : FanModel::Phase::cancelling);
    });
    std::weak_ptr<FanPanel*> weak = self_;
    queue_.asyncAfter(kHideDelay, [weak, g] {
        const auto self = weak.lock();
        if (!self) return;
        FanPanel& panel = **self;
        if (panel.generation_ != g) return;
        panel.window().orderOut();
        withoutAnimation([&] { panel.model_.setPhase(FanModel::Phase::hidden); });
    });
}

PickerHit FanPanel::hit(double dx, double dy) const {
    const PickerHit hit = fanHit(model_.geometry(), model_.scroll(), dx, dy);
    // Only the wheel can carry the selection off the arc (every other change of selection or
    // scroll keeps it on). The controller asks again after a wheel movement: where the pointer
    // then designates no row, the nearest row on the arc takes the selection, so what the
    // bubble shows is always a row the user sees.
    if (hit.kind == PickerHit::Kind::center) {
        const auto range = model_.geometry().visibleRange(model_.scroll());
        const std::int64_t selected = model_.selected();
        if (range && (selected < range->first || selected > range->second))
            return PickerHit::item(std::clamp(selected, range->first, range->second));
    }
    return hit;
}

bool FanPanel::scroll(double by) {
    if (!std::isfinite(by)) {
        qCWarning(vtLog) << "fan: ignoring a wheel amount that is not a number";
        return false;
    }
    scrollRemainder_ += by;
    const double whole = std::trunc(scrollRemainder_);
    if (whole == 0) return false;
    scrollRemainder_ -= whole;
    const FanGeometry& g = model_.geometry();
    const double t = std::min(std::max(model_.scroll() + whole, 0.0), g.maxScroll());
    if (t == model_.scroll()) {
        scrollRemainder_ = 0;
        return false;
    }
    withAnimation(Animation::spring(0.32, 0.8), [&] { model_.setScroll(t); });
    return true;
}

void FanPanel::prewarm() {
    if (panel_ && panel_->isVisible()) return; // in use: warm already
    ClipItem placeholder;
    placeholder.id = QUuid::createUuid();
    placeholder.date = QDateTime::currentDateTime();
    placeholder.kind = ClipItem::Kind::text;
    placeholder.text = QStringLiteral("…");
    FanGeometry g;
    g.count = 1;
    g.visibleSlots = visibleSlots_;
    withoutAnimation([&] {
        model_.setItems({placeholder});
        model_.setGeometry(g);
        model_.setPhase(FanModel::Phase::hidden);
    });
    OverlaySurface& window = this->window();
    const std::optional<ScreenInfo> main = screens_.mainScreen();
    view_->prewarm(main ? main->scale : 1.0);
    showOnceUnseen(window);
}

} // namespace vt
