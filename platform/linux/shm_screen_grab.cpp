#include "platform/linux/shm_screen_grab.h"
#include "platform/log.h"

#include <cstdlib>
#include <memory>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

namespace vt {
namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

ShmScreenGrab::ShmScreenGrab(xcb_connection_t* connection, xcb_window_t root)
    : connection_(connection), root_(root) {
    const xcb_query_extension_reply_t* shm =
        connection_ ? xcb_get_extension_data(connection_, &xcb_shm_id) : nullptr;
    unavailable_ = !shm || !shm->present;
}

ShmScreenGrab::~ShmScreenGrab() {
    releaseSegment();
}

bool ShmScreenGrab::ensureSegment(std::size_t bytes) {
    if (bytes <= size_) return true;
    releaseSegment();
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* memory = shmat(id, nullptr, 0);
    const bool mapped = memory != reinterpret_cast<void*>(-1);
    std::uint32_t segment = 0;
    bool attached = false;
    if (mapped) {
        segment = xcb_generate_id(connection_);
        xcb_generic_error_t* error =
            xcb_request_check(connection_, xcb_shm_attach_checked(connection_, segment, id, 0));
        attached = error == nullptr;
        std::free(error);
    }
    // Marked for removal at once: the segment goes when both sides have let go of it, even if
    // we crash.
    shmctl(id, IPC_RMID, nullptr);
    if (!attached) {
        if (mapped) shmdt(memory);
        return false;
    }
    segment_ = segment;
    memory_ = memory;
    size_ = bytes;
    return true;
}

void ShmScreenGrab::releaseSegment() {
    if (!memory_) return;
    xcb_shm_detach(connection_, segment_);
    xcb_flush(connection_);
    shmdt(memory_);
    memory_ = nullptr;
    size_ = 0;
}

QImage ShmScreenGrab::grab(const QRect& rect) {
    if (unavailable_ || rect.isEmpty()) return {};
    const auto bytes = std::size_t(rect.width()) * std::size_t(rect.height()) * 4;
    if (!ensureSegment(bytes)) {
        qCInfo(vtLog) << "no shared memory with the X server; screen pictures go over the socket";
        unavailable_ = true;
        return {};
    }
    xcb_generic_error_t* error = nullptr;
    const XcbReply<xcb_shm_get_image_reply_t> reply(
        xcb_shm_get_image_reply(
            connection_,
            xcb_shm_get_image(connection_, root_, std::int16_t(rect.x()), std::int16_t(rect.y()),
                              std::uint16_t(rect.width()), std::uint16_t(rect.height()), ~0u,
                              XCB_IMAGE_FORMAT_Z_PIXMAP, segment_, 0),
            &error),
        &std::free);
    std::free(error); // a rectangle outside the root window: the caller asks the toolkit
    if (!reply || (reply->depth != 24 && reply->depth != 32) || reply->size < bytes) return {};
    return QImage(static_cast<const uchar*>(memory_), rect.width(), rect.height(), rect.width() * 4,
                  QImage::Format_RGB32);
}

} // namespace vt
