#pragma once
#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <xcb/xcb.h>

namespace vt {

// Grabs parts of the root window through a shared-memory segment kept from one grab to the
// next: the X server writes the pixels straight into our memory, so a grab costs neither a
// large transfer over the socket nor a fresh allocation.
class ShmScreenGrab {
public:
    ShmScreenGrab(xcb_connection_t* connection, xcb_window_t root);
    ~ShmScreenGrab();
    ShmScreenGrab(const ShmScreenGrab&) = delete;
    ShmScreenGrab& operator=(const ShmScreenGrab&) = delete;

    // The pixels inside `rect` (root coordinates), valid until the next grab; null when the
    // server cannot share memory with us, the rectangle leaves the root window or the root
    // is not a 24/32-bit true-colour window.
    QImage grab(const QRect& rect);

private:
    bool ensureSegment(std::size_t bytes);
    void releaseSegment();

    xcb_connection_t* connection_;
    xcb_window_t root_;
    bool unavailable_ = false; // no MIT-SHM, or attaching failed: never try again
    std::uint32_t segment_ = 0;
    void* memory_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace vt
