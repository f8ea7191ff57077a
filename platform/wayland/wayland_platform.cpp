#include "platform/wayland/wayland_platform.h"

#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
#include "platform/log.h"
#include "platform/wayland/layer_shell_surface.h"
#include "platform/wayland/wayland_pasteboard.h"
#include "platform/wayland/wayland_screens.h"
#include "platform/wayland/wayland_workspace.h"

#include <QDesktopServices>

namespace vt {

namespace {

// Hold-to-paste is not available on Wayland yet: the tap never installs.
class NoEventTap final : public EventTap {
public:
    bool create(std::uint64_t, Callback) override { return false; }
    void enable(bool) override {}
    void invalidate() override {}
    bool isPresent() const override { return false; }
    bool isTrusted() const override { return false; }
    void postKeyboardEvent(std::int64_t, bool, std::uint64_t, std::int64_t) override {}
};

// Hold-to-paste is not available on Wayland yet; where the compositor offers no data-control,
// recording is not either. Onboarding and the tray's warning row say which.
class WaylandTrust final : public Trust {
public:
    explicit WaylandTrust(bool recordsClipboard) : recordsClipboard_(recordsClipboard) {}
    TrustProblem problem() const override {
        return recordsClipboard_ ? TrustProblem::waylandNotYet : TrustProblem::noClipboardAccess;
    }

private:
    bool recordsClipboard_;
};

} // namespace

PlatformServices makeWaylandPlatform() {
    PlatformServices s;
    s.kind = PlatformKind::wayland;
    auto pasteboard = std::make_unique<WaylandPasteboard>();
    s.recordsClipboard = pasteboard->isValid();
    s.pasteboard = std::move(pasteboard);
    auto workspace = std::make_unique<WaylandWorkspace>();
    s.knowsFrontmostApplication = workspace->knowsFrontmost();
    s.workspace = std::move(workspace);
    // Qt's screens, the pointer from the pickers' layer shell, and the pickers on its overlay
    // layer; without an X server there are no pictures of the screen.
    auto shell = std::make_shared<LayerShell>();
    if (shell->isValid()) {
        auto screens = std::make_unique<WaylandScreens>(std::make_unique<LinuxScreens>(), shell);
        const Screens& placed = *screens;
        s.screens = std::move(screens);
        // What a shown picker receives goes to `shell->onInput` (the surfaces set none).
        s.makeOverlaySurface = [shell, &placed](PaintedView& view) {
            return std::unique_ptr<OverlaySurface>(
                std::make_unique<LayerShellSurface>(shell, placed, view));
        };
    } else {
        s.screens = std::make_unique<LinuxScreens>();
    }
    s.eventTap = std::make_unique<NoEventTap>();
    s.trust = std::make_unique<WaylandTrust>(s.recordsClipboard);
    s.holdToPaste = false;
    s.appCatalog = std::make_unique<DesktopAppCatalog>();
    s.userDefaults = std::make_unique<QSettingsUserDefaults>();
    s.loginItems = std::make_unique<XdgAutostartLoginItems>();
    qCInfo(vtLog,
           "platform: wayland: clipboard %s, frontmost application %s, hold-to-paste not "
           "yet",
           s.recordsClipboard ? "recorded" : "NOT recorded (no data-control)",
           s.knowsFrontmostApplication ? "known" : "unknown");
    return s;
}

} // namespace vt
