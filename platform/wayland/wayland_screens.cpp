#include "platform/wayland/wayland_screens.h"

#include "platform/log.h"
#include "platform/wayland/layer_shell_surface.h"

namespace vt {

WaylandScreens::WaylandScreens(std::unique_ptr<Screens> qtScreens,
                               std::shared_ptr<LayerShell> shell)
    : qt_(std::move(qtScreens)), shell_(std::move(shell)) {}

WaylandScreens::~WaylandScreens() = default;

PointD WaylandScreens::mouseLocation() const {
    if (const std::optional<PointD> p = shell_->pointer()) {
        toldUnknown_ = false;
        return rootSpace().toWindow(*p);
    }
    if (!toldUnknown_)
        qCInfo(vtLog, "overlay: the pointer did not enter the picker's surface; opening in the "
                      "middle of the screen");
    toldUnknown_ = true;
    const std::optional<ScreenInfo> main = qt_->mainScreen();
    if (!main) return {};
    return {main->visibleFrame.midX(), main->visibleFrame.midY()};
}

} // namespace vt
