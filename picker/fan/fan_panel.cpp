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

OverlaySurface& FanPanel::panel() {
    if (!panel_) panel_ = makeSurface_(*view_);
    return *panel_;
}

std::optional<ScreenInfo> FanPanel::screen(const Screens& screens, PointD pointer) {
    const std::vector<ScreenInfo> all = screens.screens();
    std::vector<RectD> frames;
    frames.reserve(all.size());
    for (const ScreenInfo& s : all)
        frames.push_back(s.frame);
    const std::optional<std::size_t> index = PanelPlacement::screenIndex(pointer, frames);
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
    withoutAnimation([&] {
        model_.setCanvas(frame.size());
        model_.setAnchor({p.x - frame.midX(), frame.midY() - p.y});
    });
    OverlaySurface& window = panel();
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
    return {p.x, top - p.y};
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
        panel().orderOut();
        return;
    }
    const std::int64_t g = ++generation_;
    withAnimation(committed ? Animation::easeIn(0.2) : Animation::easeIn(0.16), [&] {
        model_.setPhase(committed ? FanModel::Phase::committing : FanModel::Phase::cancelling);
    });
    std::weak_ptr<FanPanel*> weak = self_;
    queue_.asyncAfter(kHideDelay, [weak, g] {
        const auto self = weak.lock();
        if (!self) return;
        FanPanel& panel = **self;
        if (panel.generation_ != g) return;
        panel.panel().orderOut();
        withoutAnimation([&] { panel.model_.setPhase(FanModel::Phase::hidden); });
    });
}

PickerHit FanPanel::hit(double dx, double dy) const {
    return fanHit(model_.geometry(), model_.scroll(), dx, dy);
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
    OverlaySurface& window = panel();
    const std::optional<ScreenInfo> main = screens_.mainScreen();
    view_->prewarm(main ? main->scale : 1.0);
    showOnceUnseen(window);
}

} // namespace vt
