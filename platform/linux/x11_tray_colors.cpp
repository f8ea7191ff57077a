#include "platform/linux/x11_tray_colors.h"
#include <QGuiApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <string>

namespace vt {

std::optional<QColor> systemTrayForegroundColor() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.c_str(), False);
    const Window tray = XGetSelectionOwner(display, selection);
    const Atom colors = XInternAtom(display, "_NET_SYSTEM_TRAY_COLORS", True);
    if (tray == None || colors == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<QColor> out;
    // Twelve CARDINALs: foreground, error, warning and success as 16-bit red, green, blue.
    if (XGetWindowProperty(display, tray, colors, 0, 12, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (format == 32 && count >= 3) {
            const auto* v = reinterpret_cast<const long*>(data);
            out = QColor::fromRgba64(static_cast<quint16>(v[0]), static_cast<quint16>(v[1]),
                                     static_cast<quint16>(v[2]));
        }
        XFree(data);
    }
    return out;
}

} // namespace vt
