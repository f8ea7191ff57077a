// Moves the seat's pointer of a wlroots compositor as a mouse would, through the
// virtual-pointer protocol, on a connection of its own (tests and benchmarks on headless Sway).
#pragma once
#include "platform/wayland/wlr-virtual-pointer-unstable-v1-client.h"

#include <QSize>
#include <cstring>
#include <wayland-client.h>

namespace vt {

struct VirtualPointer {
    wl_display* display = wl_display_connect(nullptr);
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    zwlr_virtual_pointer_v1* pointer = nullptr;

    VirtualPointer() {
        static const wl_registry_listener listener = {
            [](void* d, wl_registry* r, std::uint32_t name, const char* iface, std::uint32_t) {
                if (std::strcmp(iface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
                    static_cast<VirtualPointer*>(d)->manager =
                        static_cast<zwlr_virtual_pointer_manager_v1*>(wl_registry_bind(
                            r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
            },
            [](void*, wl_registry*, std::uint32_t) {}};
        wl_registry_add_listener(wl_display_get_registry(display), &listener, this);
        wl_display_roundtrip(display);
        pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
        wl_display_roundtrip(display);
    }
    ~VirtualPointer() { wl_display_disconnect(display); }
    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    // To (x, y) in the compositor's layout of `extent` points.
    void moveTo(QSize extent, int x, int y) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, 0, std::uint32_t(x), std::uint32_t(y),
                                                std::uint32_t(extent.width()),
                                                std::uint32_t(extent.height()));
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_roundtrip(display);
    }
};

} // namespace vt
