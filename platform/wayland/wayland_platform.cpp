#include "platform/wayland/wayland_platform.h"

#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
#include "platform/log.h"
#include "platform/wayland/wayland_pasteboard.h"
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

// Hold-to-paste needs X access this session does not give; onboarding says so.
class WaylandTrust final : public Trust {
public:
    TrustProblem problem() const override { return TrustProblem::waylandWithoutX; }
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
    // Qt's screens; without an X server there are no pictures and no compositing check.
    s.screens = std::make_unique<LinuxScreens>();
    s.eventTap = std::make_unique<NoEventTap>();
    s.trust = std::make_unique<WaylandTrust>();
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
