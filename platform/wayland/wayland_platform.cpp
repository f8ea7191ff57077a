#include "platform/wayland/wayland_platform.h"

#include "platform/linux/desktop_app_catalog.h"
#include "platform/linux/screens_linux.h"
#include "platform/linux/session_login_items.h"
#include "platform/linux/session_user_defaults.h"
#include "platform/log.h"
#include "platform/wayland/layer_shell_surface.h"
#include "platform/wayland/virtual_keyboard.h"
#include "platform/wayland/wayland_event_tap.h"
#include "platform/wayland/wayland_pasteboard.h"
#include "platform/wayland/wayland_screens.h"
#include "platform/wayland/wayland_workspace.h"

#include <QDesktopServices>

namespace vt {

namespace {

// What stands in the way of hold-to-paste on this Wayland desktop: copies not recorded (no
// data-control); nothing heard from the user's binding yet (the tap is ready once a word came,
// so the tray warns until then); no virtual keyboard to type the paste with.
class WaylandTrust final : public Trust {
public:
    WaylandTrust(bool recordsClipboard, const WaylandEventTap& tap)
        : recordsClipboard_(recordsClipboard), tap_(tap) {}
    TrustProblem problem() const override {
        if (!recordsClipboard_) return TrustProblem::noClipboardAccess;
        if (tap_.heard()) return TrustProblem::none;
        return tap_.canType() ? TrustProblem::waylandNotYet : TrustProblem::waylandCannotType;
    }

private:
    bool recordsClipboard_;
    const WaylandEventTap& tap_;
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
    auto tap = std::make_unique<WaylandEventTap>(std::make_unique<VirtualKeyboard>());
    WaylandEventTap* tapHandle = tap.get();
    s.trust = std::make_unique<WaylandTrust>(s.recordsClipboard, *tap);
    const bool canType = tap->canType();
    s.eventTap = std::move(tap);
    // Qt's screens, the pointer from the pickers' layer shell, and the pickers on its overlay
    // layer; without an X server there are no pictures of the screen.
    auto shell = std::make_shared<LayerShell>();
    if (shell->isValid()) {
        auto screens = std::make_unique<WaylandScreens>(std::make_unique<LinuxScreens>(), shell);
        const Screens& placed = *screens;
        s.screens = std::move(screens);
        // What a shown picker receives goes to `shell->onInput` (the surfaces set none), and
        // from there to the tap.
        shell->onInput = [tapHandle](std::uint32_t type, const TapEvent& event) {
            tapHandle->deliver(type, event);
        };
        tapHandle->setPickerReportsInput(true);
        s.makeOverlaySurface = [shell, &placed](PaintedView& view) {
            return std::unique_ptr<OverlaySurface>(
                std::make_unique<LayerShellSurface>(shell, placed, view));
        };
    } else {
        s.screens = std::make_unique<LinuxScreens>();
    }
    s.userDefaults = std::make_unique<QSettingsUserDefaults>();
    // A binding heard in an earlier session is taken to be there still: the tap starts at
    // launch and the first press already opens the picker.
    UserDefaults* defaults = s.userDefaults.get();
    tapHandle->setHeard(defaults->boolForKey(QStringLiteral("waylandBindingHeard")));
    s.relayWord = [tapHandle, defaults](const QByteArray& line) {
        const auto word = WaylandEventTap::parseWord(line);
        if (!word) return false;
        if (!tapHandle->heard()) defaults->setBool(QStringLiteral("waylandBindingHeard"), true);
        tapHandle->hear(*word);
        return true;
    };
    // The chord is learnt from the user's binding, which may come at any time.
    s.holdToPaste = s.recordsClipboard;
    s.appCatalog = std::make_unique<DesktopAppCatalog>();
    s.loginItems = std::make_unique<XdgAutostartLoginItems>();
    qCInfo(vtLog,
           "platform: wayland: clipboard %s, frontmost application %s, pastes %s; hold-to-paste "
           "through `vantrel --hold press|release` bindings",
           s.recordsClipboard ? "recorded" : "NOT recorded (no data-control)",
           s.knowsFrontmostApplication ? "known" : "unknown",
           canType ? "typed (virtual keyboard)" : "NOT typed (no virtual keyboard)");
    return s;
}

} // namespace vt
