#include "platform/linux/screens_linux.h"
#include "platform/linux/shm_screen_grab.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <string>

namespace vt {
namespace {

RectD toRect(const QRect& r) {
    return {double(r.x()), double(r.y()), double(r.width()), double(r.height())};
}

ScreenInfo info(const QScreen& screen, const RootSpace& space) {
    return {space.rectToWindow(toRect(screen.geometry())),
            space.rectToWindow(toRect(screen.availableGeometry())), screen.devicePixelRatio()};
}

} // namespace

LinuxScreens::LinuxScreens() = default;
LinuxScreens::~LinuxScreens() = default;

RootSpace LinuxScreens::rootSpace() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    RootSpace space{primary ? toRect(primary->geometry()) : RectD{}, {}};
    // Qt keeps a scaled screen's top-left in X pixels and divides the rest by its ratio.
    for (const QScreen* s : QGuiApplication::screens()) {
        const double scale = s->devicePixelRatio();
        if (scale == 1.0) continue;
        const QRect g = s->geometry();
        space.pixels.push_back(
            {{double(g.x()), double(g.y()), g.width() * scale, g.height() * scale}, scale});
    }
    return space;
}

std::vector<ScreenInfo> LinuxScreens::screens() const {
    std::vector<ScreenInfo> out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return out;
    const RootSpace space = rootSpace();
    out.push_back(info(*primary, space));
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary) out.push_back(info(*s, space));
    return out;
}

std::optional<ScreenInfo> LinuxScreens::mainScreen() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    return info(*primary, rootSpace());
}

PointD LinuxScreens::mouseLocation() const {
    const QPoint p = QCursor::pos();
    return rootSpace().toWindow({double(p.x()), double(p.y())});
}

bool LinuxScreens::compositingActive() const {
    // A compositing manager owns the _NET_WM_CM_S<screen> selection (EWMH).
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return false;
    if (compositorAtom_ == None) {
        const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
        compositorAtom_ = XInternAtom(display, name.c_str(), False);
    }
    return compositorAtom_ != None && XGetSelectionOwner(display, compositorAtom_) != None;
}

QImage LinuxScreens::grabRoot(const QRect& root) const {
    if (!grab_) {
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11 || !x11->connection() || !x11->display()) return {};
        grab_ =
            std::make_unique<ShmScreenGrab>(x11->connection(), DefaultRootWindow(x11->display()));
    }
    return grab_->grab(root);
}

} // namespace vt

namespace vt {

void LinuxScreens::markOverlay(unsigned long windowId) const {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || windowId == 0) return;
    const auto window = static_cast<Window>(windowId);
    // A drag-and-drop icon is the window type compositors leave without shadow by default
    // (xcompmgr spares only desktop windows, which would stack below everything); the tooltip
    // type stays as a fallback for those that do not know it. The compton family also honours
    // an explicit "no shadow" property.
    Atom types[] = {XInternAtom(display, "_NET_WM_WINDOW_TYPE_DND", False),
                    XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False)};
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(types), 2);
    long noShadow = 0;
    XChangeProperty(display, window, XInternAtom(display, "_COMPTON_SHADOW", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<unsigned char*>(&noShadow), 1);
    XFlush(display);
}

} // namespace vt
