#pragma once
#include "platform/screens.h"

#include <memory>

namespace vt {

class LayerShell;

// The screens of a Wayland session: displays and visible frames from Qt (as on X11), the
// pointer from the pickers' layer shell, which learns it when the pointer enters its surface.
// Where that fails (no pointer, or it is on another output) the middle of the main screen
// stands in. The compositor always blends translucent surfaces.
class WaylandScreens final : public Screens {
public:
    WaylandScreens(std::unique_ptr<Screens> qtScreens, std::shared_ptr<LayerShell> shell);
    ~WaylandScreens() override;

    std::vector<ScreenInfo> screens() const override { return qt_->screens(); }
    std::optional<ScreenInfo> mainScreen() const override { return qt_->mainScreen(); }
    PointD mouseLocation() const override;
    bool compositingActive() const override { return true; }
    RootSpace rootSpace() const override { return qt_->rootSpace(); }

private:
    std::unique_ptr<Screens> qt_;
    std::shared_ptr<LayerShell> shell_;
    mutable bool toldUnknown_ = false;
};

} // namespace vt
