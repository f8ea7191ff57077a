#pragma once
#include "platform/app_catalog.h"
#include "platform/event_tap.h"
#include "platform/login_items.h"
#include "platform/pasteboard.h"
#include "platform/platform_choice.h"
#include "platform/screen_pictures.h"
#include "platform/screens.h"
#include "platform/trust.h"
#include "platform/user_defaults.h"
#include "platform/workspace.h"

#include <QByteArray>
#include <QColor>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

namespace vt {

class OverlaySurface;
class PaintedView;

// Every platform service the program uses, built once at start by the factory of one backend
// and owned here for the life of the program. The layers above see the interfaces only.
struct PlatformServices {
    PlatformKind kind = PlatformKind::x11;
    std::unique_ptr<Pasteboard> pasteboard;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<Screens> screens;
    // Pictures of the screen for frosted pickers; null where the backend cannot take them.
    ScreenPictures* screenPictures = nullptr;
    std::unique_ptr<EventTap> eventTap;
    // Asked whether the tap may be installed; the backend has already told it about the tap.
    std::unique_ptr<Trust> trust;
    std::unique_ptr<AppCatalog> appCatalog;
    std::unique_ptr<UserDefaults> userDefaults;
    std::unique_ptr<LoginItemService> loginItems;
    // Builds the surface a picker shows its view in (the view outlives it); empty where the Qt
    // overlay window serves (X11).
    std::function<std::unique_ptr<OverlaySurface>(PaintedView&)> makeOverlaySurface;
    // Called when displays were added, removed or moved, so the backend can follow them.
    std::function<void()> screensChanged = [] {};
    // The foreground colour the tray asks its icons to use; nothing where it does not say.
    std::function<std::optional<QColor>()> trayForegroundColor = [] {
        return std::optional<QColor>();
    };
    // Called once the program's own display connection is made: from then on `lost` runs (on
    // whichever thread notices, and must not return) when a connection to the display breaks
    // for good. Does nothing where the backend cannot tell.
    std::function<void(void (*lost)())> watchDisplayLoss = [](void (*)()) {};
    // A line handed over by a later start of the program ("hold press", "hold release", "pick":
    // `vantrel --hold press` and so on, run by the user's compositor bindings), for the tap of a
    // backend that learns the chord that way; false where it means nothing.
    std::function<bool(const QByteArray& line)> relayWord = [](const QByteArray&) { return false; };

    // What this session offers, for the log, onboarding and the tray's warning row.
    bool recordsClipboard = false;          // copies made in other programs are seen
    bool knowsFrontmostApplication = false; // the excluded-applications rule can apply
    bool holdToPaste = false;               // the paste chord can be watched at all
};

// What the factories need from the program.
// Builds every service of `kind`; defined by the factory library (vt_platform_services).
PlatformServices makePlatformServices(PlatformKind kind);
// The backend this build runs for `kind`: X11 (through XWayland) when it has no Wayland backend.
PlatformKind builtPlatform(PlatformKind kind);

} // namespace vt
