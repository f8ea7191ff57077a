#include "platform/wayland/layer_shell_surface.h"

#include "platform/log.h"
#include "ui/painted_view.h"

// The protocol names an argument "namespace".
#define namespace layer_namespace
#include "platform/wayland/wlr-layer-shell-unstable-v1-client.h"
#undef namespace
#include "platform/wayland/xdg-output-unstable-v1-client.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QSocketNotifier>
#include <QTimer>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace vt {
namespace {

// The tap key code of the key whose unshifted keysym this is; unknown for every other key.
std::int64_t keyCodeForKeysym(xkb_keysym_t sym) {
    static constexpr std::array<std::pair<xkb_keysym_t, std::int64_t>, 20> kKeys{{
        {XKB_KEY_v, TapKeyCode::v},
        {XKB_KEY_V, TapKeyCode::v},
        {XKB_KEY_1, TapKeyCode::digit1},
        {XKB_KEY_2, TapKeyCode::digit2},
        {XKB_KEY_3, TapKeyCode::digit3},
        {XKB_KEY_4, TapKeyCode::digit4},
        {XKB_KEY_5, TapKeyCode::digit5},
        {XKB_KEY_6, TapKeyCode::digit6},
        {XKB_KEY_7, TapKeyCode::digit7},
        {XKB_KEY_8, TapKeyCode::digit8},
        {XKB_KEY_9, TapKeyCode::digit9},
        {XKB_KEY_0, TapKeyCode::digit0},
        {XKB_KEY_Return, TapKeyCode::returnKey},
        {XKB_KEY_KP_Enter, TapKeyCode::keypadEnter},
        {XKB_KEY_Escape, TapKeyCode::escape},
        {XKB_KEY_Left, TapKeyCode::left},
        {XKB_KEY_Right, TapKeyCode::right},
        {XKB_KEY_Down, TapKeyCode::down},
        {XKB_KEY_Up, TapKeyCode::up},
        {XKB_KEY_Insert, TapKeyCode::insert},
    }};
    for (const auto& [s, code] : kKeys)
        if (s == sym) return code;
    return TapKeyCode::unknown;
}

struct Output {
    wl_output* output = nullptr;
    zxdg_output_v1* xdg = nullptr;
    std::uint32_t name = 0;
    int scale = 1;
    PointD origin; // top-left in the global layout
};

// One shared-memory buffer the size of the stage in device pixels.
struct Buffer {
    wl_buffer* buffer = nullptr;
    void* data = nullptr;
    std::size_t bytes = 0;
    QImage image;
    bool busy = false; // held by the compositor until it releases it
    QRegion stale;     // surface points whose pixels differ from the current frame

    ~Buffer() {
        if (buffer) wl_buffer_destroy(buffer);
        if (data) munmap(data, bytes);
    }
};

} // namespace

class LayerShell::Connection {
public:
    explicit Connection(const QByteArray& displayName);
    ~Connection();

    bool valid() const {
        return layerShell_ != nullptr && compositor_ && shm_ && wl_display_get_error(display_) == 0;
    }
    std::optional<PointD> pointer(int waitMs);
    PointD outputOrigin() const { return output_ ? output_->origin : PointD{}; }

    // Shows `owner` on the stage (mapping it when needed) and paints its view.
    void show(LayerShellSurface* owner);
    // Takes `owner` off the stage: the stage is destroyed and the keyboard given back.
    void hide(LayerShellSurface* owner);
    // The stage stops taking keyboard and pointer; done once the compositor has seen it.
    void resign(LayerShellSurface* owner);
    // Places the owner's canvas on the stage (surface points).
    void place(LayerShellSurface* owner, QRect canvas);
    // The owner's view changed within `damage` (canvas points; nothing: all of it).
    void changed(LayerShellSurface* owner, std::optional<QRegion> damage);
    // Paints and commits a frame now.
    void paintNow();
    void forget(LayerShellSurface* owner) {
        if (owner_ == owner) hide(owner);
    }

    LayerShell* shell = nullptr;
    const Screens* screens = nullptr;
    int repeatRate = 0;
    int repeatDelay = 0;

private:
    // Registry, outputs, seat.
    static const wl_registry_listener kRegistry;
    static const zxdg_output_v1_listener kXdgOutput;
    static const wl_output_listener kOutput;
    static const wl_seat_listener kSeat;
    static const wl_surface_listener kSurface;
    static const zwlr_layer_surface_v1_listener kLayer;
    static const wl_callback_listener kFrame;
    static const wl_buffer_listener kBuffer;
    static const wl_pointer_listener kPointer;
    static const wl_keyboard_listener kKeyboard;

    void global(wl_registry* registry, std::uint32_t name, const char* iface, std::uint32_t v);
    void addOutput(wl_output* output, std::uint32_t name);
    void capabilities(std::uint32_t caps);
    Output* outputFor(wl_output* output);

    // The stage.
    // On `output`, or where the compositor likes (the output the user works on) when null.
    void mapStage(bool keyboard, wl_output* output = nullptr);
    void destroyStage();
    int scale() const;
    Buffer* freeBuffer();
    void invalidate(const QRegion& surfacePoints);
    void schedule();
    void paint();

    // Input.
    void deliver(std::uint32_t type, TapEvent event);
    void flushInput();
    PointD eventPoint() const;
    void keymap(std::uint32_t format, int fd, std::uint32_t size);
    void key(std::uint32_t key, bool pressed);
    void modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                   std::uint32_t group);
    void repeat();
    // Runs wl_display events for at most `ms`; stops early once `done()` holds.
    void waitFor(int ms, const std::function<bool()>& done);
    void dispatch();

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zxdg_output_manager_v1* xdgOutputs_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    wl_pointer* pointer_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    QMetaObject::Connection aboutToBlock_;

    // The stage: a layer surface covering one output, `size` surface points.
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layer_ = nullptr;
    bool configured_ = false;
    bool keyboardTaken_ = false;
    QSize size_;
    Output* output_ = nullptr;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    int bufferScale_ = 1;
    wl_callback* frame_ = nullptr;
    QRegion frameDamage_; // changed since the last commit, surface points
    bool dirty_ = false;
    bool paintQueued_ = false;
    QTimer frameTimeout_; // a compositor that stops sending frame events does not stall us

    LayerShellSurface* owner_ = nullptr;
    QRect canvas_; // where the owner's canvas lies on the stage, surface points

    bool pointerIn_ = false;
    PointD pointerAt_; // surface points
    double scrollValue_ = 0;
    std::int32_t scrollSteps_ = 0;
    bool scrollContinuous_ = false;
    bool scrollSeen_ = false;

    xkb_context* xkb_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
    std::uint64_t flags_ = 0;
    bool keyboardIn_ = false;
    bool reportFlags_ = false;
    std::uint32_t repeatKey_ = 0;
    QTimer repeatTimer_;

    int waiting_ = 0; // inside waitFor: input is queued, not delivered
    std::vector<std::pair<std::uint32_t, TapEvent>> queued_;
};

// --- registry, outputs and seat -------------------------------------------------------------

const wl_registry_listener LayerShell::Connection::kRegistry = {
    [](void* d, wl_registry* r, std::uint32_t name, const char* iface, std::uint32_t v) {
        static_cast<Connection*>(d)->global(r, name, iface, v);
    },
    [](void* d, wl_registry*, std::uint32_t name) {
        auto* c = static_cast<Connection*>(d);
        auto& outs = c->outputs_;
        const auto it = std::find_if(outs.begin(), outs.end(),
                                     [name](const auto& o) { return o->name == name; });
        if (it == outs.end()) return;
        if (c->output_ == it->get()) c->output_ = nullptr;
        if ((*it)->xdg) zxdg_output_v1_destroy((*it)->xdg);
        wl_output_destroy((*it)->output);
        outs.erase(it);
    },
};

const wl_output_listener LayerShell::Connection::kOutput = {
    [](void* d, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
       std::int32_t, const char*, const char*, std::int32_t) {
        auto* o = static_cast<Output*>(d);
        if (!o->xdg) o->origin = {double(x), double(y)};
    },
    [](void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {},
    [](void*, wl_output*) {},
    [](void* d, wl_output*, std::int32_t scale) {
        static_cast<Output*>(d)->scale = std::max(1, scale);
    },
    nullptr, // name (version 4)
    nullptr, // description (version 4)
};

const zxdg_output_v1_listener LayerShell::Connection::kXdgOutput = {
    [](void* d, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
        static_cast<Output*>(d)->origin = {double(x), double(y)};
    },
    [](void*, zxdg_output_v1*, std::int32_t, std::int32_t) {},
    [](void*, zxdg_output_v1*) {},
    [](void*, zxdg_output_v1*, const char*) {},
    [](void*, zxdg_output_v1*, const char*) {},
};

const wl_seat_listener LayerShell::Connection::kSeat = {
    [](void* d, wl_seat*, std::uint32_t caps) { static_cast<Connection*>(d)->capabilities(caps); },
    [](void*, wl_seat*, const char*) {},
};

void LayerShell::Connection::global(wl_registry* registry, std::uint32_t name, const char* iface,
                                    std::uint32_t v) {
    const auto bind = [&](const wl_interface* i, std::uint32_t most) {
        return wl_registry_bind(registry, name, i, std::min(v, most));
    };
    if (std::strcmp(iface, wl_compositor_interface.name) == 0 && v >= 4) {
        compositor_ = static_cast<wl_compositor*>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(iface, wl_shm_interface.name) == 0) {
        shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(iface, wl_seat_interface.name) == 0 && !seat_) {
        seat_ = static_cast<wl_seat*>(bind(&wl_seat_interface, 5));
        wl_seat_add_listener(seat_, &kSeat, this);
    } else if (std::strcmp(iface, zwlr_layer_shell_v1_interface.name) == 0) {
        layerShell_ = static_cast<zwlr_layer_shell_v1*>(bind(&zwlr_layer_shell_v1_interface, 4));
    } else if (std::strcmp(iface, zxdg_output_manager_v1_interface.name) == 0) {
        xdgOutputs_ =
            static_cast<zxdg_output_manager_v1*>(bind(&zxdg_output_manager_v1_interface, 2));
        for (auto& o : outputs_)
            addOutput(nullptr, o->name);
    } else if (std::strcmp(iface, wl_output_interface.name) == 0 && v >= 2) {
        addOutput(static_cast<wl_output*>(bind(&wl_output_interface, 2)), name);
    }
}

void LayerShell::Connection::addOutput(wl_output* output, std::uint32_t name) {
    Output* o = nullptr;
    if (output) {
        outputs_.push_back(std::make_unique<Output>());
        o = outputs_.back().get();
        o->output = output;
        o->name = name;
        wl_output_add_listener(output, &kOutput, o);
    } else {
        for (auto& each : outputs_)
            if (each->name == name) o = each.get();
    }
    if (o && xdgOutputs_ && !o->xdg) {
        o->xdg = zxdg_output_manager_v1_get_xdg_output(xdgOutputs_, o->output);
        zxdg_output_v1_add_listener(o->xdg, &kXdgOutput, o);
    }
}

Output* LayerShell::Connection::outputFor(wl_output* output) {
    for (auto& o : outputs_)
        if (o->output == output) return o.get();
    return nullptr;
}

void LayerShell::Connection::capabilities(std::uint32_t caps) {
    const bool hasPointer = (caps & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool hasKeyboard = (caps & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasPointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &kPointer, this);
    } else if (!hasPointer && pointer_) {
        wl_pointer_release(pointer_);
        pointer_ = nullptr;
        pointerIn_ = false;
    }
    if (hasKeyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &kKeyboard, this);
    } else if (!hasKeyboard && keyboard_) {
        wl_keyboard_release(keyboard_);
        keyboard_ = nullptr;
        keyboardIn_ = false;
    }
}

LayerShell::Connection::Connection(const QByteArray& displayName) {
    display_ = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display_) {
        qCWarning(vtLog, "overlay: cannot connect to the Wayland compositor");
        return;
    }
    xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistry, this);
    wl_display_roundtrip(display_); // globals
    wl_display_roundtrip(display_); // seat capabilities, outputs
    if (!layerShell_)
        qCWarning(vtLog, "overlay: the compositor offers no layer shell; the pickers cannot show");
    notifier_ =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { dispatch(); });
    if (auto* loop = QAbstractEventDispatcher::instance())
        aboutToBlock_ = QObject::connect(loop, &QAbstractEventDispatcher::aboutToBlock, [this] {
            wl_display_dispatch_pending(display_);
            wl_display_flush(display_);
        });
    frameTimeout_.setSingleShot(true);
    frameTimeout_.setInterval(100);
    QObject::connect(&frameTimeout_, &QTimer::timeout, [this] {
        if (!frame_) return;
        wl_callback_destroy(frame_);
        frame_ = nullptr;
        if (dirty_) paint();
    });
    repeatTimer_.setSingleShot(true);
    repeatTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&repeatTimer_, &QTimer::timeout, [this] { repeat(); });
}

LayerShell::Connection::~Connection() {
    if (!display_) return;
    QObject::disconnect(aboutToBlock_);
    notifier_.reset();
    destroyStage();
    buffers_.clear();
    if (pointer_) wl_pointer_release(pointer_);
    if (keyboard_) wl_keyboard_release(keyboard_);
    if (state_) xkb_state_unref(state_);
    if (keymap_) xkb_keymap_unref(keymap_);
    if (xkb_) xkb_context_unref(xkb_);
    for (auto& o : outputs_) {
        if (o->xdg) zxdg_output_v1_destroy(o->xdg);
        wl_output_destroy(o->output);
    }
    if (xdgOutputs_) zxdg_output_manager_v1_destroy(xdgOutputs_);
    if (layerShell_) zwlr_layer_shell_v1_destroy(layerShell_);
    if (seat_) wl_seat_destroy(seat_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void LayerShell::Connection::dispatch() {
    bool prepared = false;
    while (!(prepared = wl_display_prepare_read(display_) == 0))
        if (wl_display_dispatch_pending(display_) < 0) break;
    if ((prepared && wl_display_read_events(display_) < 0) ||
        wl_display_dispatch_pending(display_) < 0) {
        qCWarning(vtLog, "overlay: the Wayland connection broke (%s)",
                  std::strerror(wl_display_get_error(display_)));
        notifier_->setEnabled(false);
        return;
    }
    wl_display_flush(display_);
}

void LayerShell::Connection::waitFor(int ms, const std::function<bool()>& done) {
    ++waiting_;
    QElapsedTimer clock;
    clock.start();
    const int fd = wl_display_get_fd(display_);
    while (!done()) {
        const int left = ms - int(clock.elapsed());
        if (left <= 0) break;
        bool broken = false;
        while (!broken && wl_display_prepare_read(display_) != 0)
            broken = wl_display_dispatch_pending(display_) < 0;
        if (broken) break; // the connection failed; nothing more will come
        wl_display_flush(display_);
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, left) > 0) {
            if (wl_display_read_events(display_) < 0) break;
        } else {
            wl_display_cancel_read(display_);
        }
        if (wl_display_dispatch_pending(display_) < 0) break;
    }
    --waiting_;
    if (!waiting_ && !queued_.empty())
        QTimer::singleShot(0, notifier_.get(), [this] { flushInput(); });
}

// --- the stage ------------------------------------------------------------------------------

const wl_surface_listener LayerShell::Connection::kSurface = {
    [](void* d, wl_surface*, wl_output* output) {
        auto* c = static_cast<Connection*>(d);
        Output* o = c->outputFor(output);
        if (!o || o == c->output_) return;
        c->output_ = o;
        // Another scale, or the canvas now lies elsewhere on the stage: paint everything anew.
        if (c->owner_) c->owner_->placeCanvas();
        c->invalidate(QRegion(0, 0, c->size_.width(), c->size_.height()));
        c->schedule();
    },
    [](void*, wl_surface*, wl_output*) {},
};

const zwlr_layer_surface_v1_listener LayerShell::Connection::kLayer = {
    [](void* d, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t w,
       std::uint32_t h) {
        auto* c = static_cast<Connection*>(d);
        zwlr_layer_surface_v1_ack_configure(layer, serial);
        const QSize size{int(w), int(h)};
        if (c->configured_ && size == c->size_) return;
        c->configured_ = true;
        c->size_ = size;
        c->invalidate(QRegion(0, 0, size.width(), size.height()));
        if (c->owner_) c->schedule();
    },
    [](void* d, zwlr_layer_surface_v1*) {
        // The compositor took the stage away (its output went): the next show makes another.
        auto* c = static_cast<Connection*>(d);
        qCInfo(vtLog, "overlay: the compositor closed the picker's surface");
        c->destroyStage();
    },
};

const wl_callback_listener LayerShell::Connection::kFrame = {
    [](void* d, wl_callback* callback, std::uint32_t) {
        auto* c = static_cast<Connection*>(d);
        wl_callback_destroy(callback);
        if (c->frame_ != callback) return;
        c->frame_ = nullptr;
        c->frameTimeout_.stop();
        if (c->dirty_) c->paint();
    },
};

const wl_buffer_listener LayerShell::Connection::kBuffer = {
    [](void* d, wl_buffer* buffer) {
        auto* c = static_cast<Connection*>(d);
        for (auto& b : c->buffers_)
            if (b->buffer == buffer) b->busy = false;
        if (c->dirty_ && !c->frame_) c->schedule();
    },
};

void LayerShell::Connection::mapStage(bool keyboard, wl_output* output) {
    if (surface_ || !valid()) return;
    surface_ = wl_compositor_create_surface(compositor_);
    wl_surface_add_listener(surface_, &kSurface, this);
    layer_ = zwlr_layer_shell_v1_get_layer_surface(
        layerShell_, surface_, output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "vantrel-picker");
    zwlr_layer_surface_v1_add_listener(layer_, &kLayer, this);
    zwlr_layer_surface_v1_set_anchor(
        layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(layer_, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1); // over panels too
    keyboardTaken_ = keyboard;
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, keyboard ? 1 : 0);
    if (!keyboard) {
        // Mapped unseen (a prewarm): the pointer and clicks stay with the applications too.
        wl_region* none = wl_compositor_create_region(compositor_);
        wl_surface_set_input_region(surface_, none);
        wl_region_destroy(none);
    }
    wl_surface_commit(surface_);
    waitFor(1000, [this] { return configured_ || !layer_; });
    if (!configured_) {
        qCWarning(vtLog, "overlay: the compositor did not configure the picker's surface");
        destroyStage();
        return;
    }
    if (output) output_ = outputFor(output);
    if (!output_ && outputs_.size() == 1) output_ = outputs_.front().get();
    frameDamage_ = QRegion(0, 0, size_.width(), size_.height()); // a new surface shows it all
}

void LayerShell::Connection::destroyStage() {
    if (frame_) wl_callback_destroy(frame_);
    frame_ = nullptr;
    frameTimeout_.stop();
    if (layer_) zwlr_layer_surface_v1_destroy(layer_);
    if (surface_) wl_surface_destroy(surface_);
    layer_ = nullptr;
    surface_ = nullptr;
    configured_ = false;
    output_ = nullptr;
    pointerIn_ = false;
    keyboardIn_ = false;
    repeatTimer_.stop();
    dirty_ = false;
    frameDamage_ = QRegion();
    // What the buffers hold of the last picker is cleared before they show anything again.
    // The surface is gone, and with it the compositor's use of the buffers.
    for (auto& b : buffers_) {
        b->stale += canvas_;
        b->busy = false;
    }
    if (display_) wl_display_flush(display_);
}

int LayerShell::Connection::scale() const {
    if (output_) return output_->scale;
    int s = 1;
    for (const auto& o : outputs_)
        s = std::max(s, o->scale);
    return s;
}

Buffer* LayerShell::Connection::freeBuffer() {
    const int s = scale();
    const QSize pixels = size_ * s;
    if (s != bufferScale_ || (!buffers_.empty() && buffers_.front()->image.size() != pixels)) {
        // Buffers the compositor still holds go with the rest; it keeps what it showed.
        buffers_.clear();
        bufferScale_ = s;
    }
    for (auto& b : buffers_)
        if (!b->busy) return b.get();
    if (buffers_.size() >= 3 || pixels.isEmpty()) return nullptr;
    const int stride = pixels.width() * 4;
    const std::size_t bytes = std::size_t(stride) * std::size_t(pixels.height());
    const int fd = memfd_create("vantrel-picker", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, off_t(bytes)) < 0) {
        if (fd >= 0) close(fd);
        qCWarning(vtLog, "overlay: no shared memory for a %dx%d frame", pixels.width(),
                  pixels.height());
        return nullptr;
    }
    void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    auto b = std::make_unique<Buffer>();
    b->data = data;
    b->bytes = bytes;
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, int(bytes));
    b->buffer = wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride,
                                          WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(b->buffer, &kBuffer, this);
    // Fresh memory is zero: transparent everywhere.
    b->image = QImage(static_cast<uchar*>(data), pixels.width(), pixels.height(), stride,
                      QImage::Format_ARGB32_Premultiplied);
    b->image.setDevicePixelRatio(s);
    b->stale = canvas_; // only the picker's canvas is anything but transparent
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

void LayerShell::Connection::invalidate(const QRegion& region) {
    if (region.isEmpty()) return;
    for (auto& b : buffers_)
        b->stale += region;
    frameDamage_ += region;
    dirty_ = true;
}

void LayerShell::Connection::schedule() {
    if (paintQueued_ || !surface_) return;
    paintQueued_ = true;
    QTimer::singleShot(0, notifier_.get(), [this] {
        paintQueued_ = false;
        if (dirty_ && !frame_) paint();
    });
}

void LayerShell::Connection::paintNow() {
    if (!surface_) return;
    if (frame_) wl_callback_destroy(frame_);
    frame_ = nullptr;
    dirty_ = true;
    paint();
}

void LayerShell::Connection::paint() {
    if (!surface_ || !configured_) return;
    Buffer* b = freeBuffer();
    if (!b) return; // painted once a buffer comes back
    dirty_ = false;
    const QRegion region = b->stale & QRect(QPoint(), size_);
    if (!region.isEmpty()) {
        QPainter painter(&b->image);
        painter.setClipRegion(region);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : region)
            painter.fillRect(r, Qt::transparent);
        if (owner_ && owner_->shown_) {
            const QRegion inside = region & canvas_;
            if (!inside.isEmpty()) {
                painter.setClipRegion(inside);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.save();
                painter.translate(canvas_.topLeft());
                owner_->view_.paint(painter);
                painter.restore();
                if (owner_->alpha_ < 1) {
                    // The whole frame fades, as a window's opacity would.
                    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
                    for (const QRect& r : inside)
                        painter.fillRect(r,
                                         QColor(0, 0, 0, int(std::lround(owner_->alpha_ * 255))));
                }
            }
        }
    }
    b->stale = QRegion();
    wl_surface_set_buffer_scale(surface_, bufferScale_);
    wl_surface_attach(surface_, b->buffer, 0, 0);
    for (const QRect& r : frameDamage_& QRect(QPoint(), size_))
        wl_surface_damage_buffer(surface_, r.x() * bufferScale_, r.y() * bufferScale_,
                                 r.width() * bufferScale_, r.height() * bufferScale_);
    frameDamage_ = QRegion();
    frame_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frame_, &kFrame, this);
    frameTimeout_.start();
    wl_surface_commit(surface_);
    b->busy = true;
    wl_display_flush(display_);
    if (owner_ && owner_->onPainted) owner_->onPainted();
}

std::optional<PointD> LayerShell::Connection::pointer(int waitMs) {
    if (!valid()) return std::nullopt;
    waitFor(1, [] { return false; }); // what the compositor said meanwhile (a new pointer)
    if (!pointerIn_ && pointer_) {
        // A stage that takes no input (a picker closing, a prewarm) is made anew: the pointer
        // enters only a surface that accepts it.
        if (surface_ && !keyboardTaken_) destroyStage();
        // Sway tells of the pointer soon after the first frame maps the stage (a few
        // milliseconds), not before answering a round trip asked after it: a timed wait.
        const auto wait = [&] {
            waitFor(waitMs, [this] { return pointerIn_ || !pointer_ || !surface_; });
        };
        const bool ours = !surface_;
        if (ours) {
            mapStage(true);
            paintNow(); // a transparent frame maps the stage
            // A picker normally claims it at once; else it goes, and the keyboard with it.
            QTimer::singleShot(0, notifier_.get(), [this] {
                if (!owner_) destroyStage();
            });
        }
        wait();
        // The compositor put the stage on another output than the pointer's: try the others.
        if (ours && !owner_) {
            std::vector<wl_output*> others;
            for (const auto& o : outputs_)
                if (o.get() != output_) others.push_back(o->output);
            for (wl_output* other : others) {
                if (pointerIn_ || !pointer_) break;
                destroyStage();
                mapStage(true, other);
                paintNow();
                wait();
            }
        }
    }
    if (!pointerIn_) return std::nullopt;
    const PointD o = outputOrigin();
    return PointD{o.x + pointerAt_.x, o.y + pointerAt_.y};
}

void LayerShell::Connection::show(LayerShellSurface* owner) {
    if (owner_ && owner_ != owner && owner_->shown_) owner_->shown_ = false;
    owner_ = owner;
    if (!surface_) mapStage(owner->alpha_ > 0);
    if (!surface_) return;
    if (!keyboardTaken_ && owner->alpha_ > 0) {
        keyboardTaken_ = true;
        zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 1);
        wl_surface_set_input_region(surface_, nullptr); // all of it
    }
    owner->placeCanvas();
    invalidate(canvas_);
    // The first frame goes out at once, without waiting for the compositor's next frame event.
    paintNow();
}

void LayerShell::Connection::resign(LayerShellSurface* owner) {
    if (owner_ != owner || !surface_ || !keyboardTaken_) return;
    keyboardTaken_ = false;
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer_, 0);
    wl_region* none = wl_compositor_create_region(compositor_);
    wl_surface_set_input_region(surface_, none);
    wl_region_destroy(none);
    wl_surface_commit(surface_);
    // A paste typed next must find the application focused again: wait for the compositor.
    bool answered = false;
    static const wl_callback_listener done = {
        [](void* d, wl_callback*, std::uint32_t) { *static_cast<bool*>(d) = true; }};
    wl_callback* sync = wl_display_sync(display_);
    wl_callback_add_listener(sync, &done, &answered);
    waitFor(500, [&] { return answered; });
    wl_callback_destroy(sync);
}

void LayerShell::Connection::hide(LayerShellSurface* owner) {
    if (owner_ != owner) return;
    owner_ = nullptr;
    destroyStage();
}

void LayerShell::Connection::place(LayerShellSurface* owner, QRect canvas) {
    if (owner_ != owner || canvas == canvas_) return;
    invalidate(QRegion(canvas_) + canvas);
    canvas_ = canvas;
    schedule();
}

void LayerShell::Connection::changed(LayerShellSurface* owner, std::optional<QRegion> damage) {
    if (owner_ != owner || !surface_) return;
    if (damage && damage->isEmpty()) return;
    invalidate(damage ? damage->translated(canvas_.topLeft()) & canvas_ : QRegion(canvas_));
    schedule();
}

// --- input ----------------------------------------------------------------------------------

PointD LayerShell::Connection::eventPoint() const {
    const PointD o = outputOrigin();
    const PointD global{o.x + pointerAt_.x, o.y + pointerAt_.y};
    return screens ? screens->rootSpace().toEvent(global) : global;
}

void LayerShell::Connection::deliver(std::uint32_t type, TapEvent event) {
    event.type = type;
    if (event.flags == 0) event.flags = flags_;
    queued_.emplace_back(type, event);
    if (!waiting_) flushInput();
}

void LayerShell::Connection::flushInput() {
    auto events = std::move(queued_);
    queued_.clear();
    for (const auto& [type, event] : events) {
        if (owner_ && !owner_->takesInput_) continue; // closing: nothing is for us any more
        const OverlayInput& handler = owner_ && owner_->onInput ? owner_->onInput : shell->onInput;
        if (handler) handler(type, event);
    }
}

const wl_pointer_listener LayerShell::Connection::kPointer = {
    // enter
    [](void* d, wl_pointer*, std::uint32_t, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
        auto* c = static_cast<Connection*>(d);
        if (!surface || surface != c->surface_) return;
        c->pointerIn_ = true;
        c->pointerAt_ = {wl_fixed_to_double(x), wl_fixed_to_double(y)};
    },
    // leave
    [](void* d, wl_pointer*, std::uint32_t, wl_surface*) {
        static_cast<Connection*>(d)->pointerIn_ = false;
    },
    // motion
    [](void* d, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
        auto* c = static_cast<Connection*>(d);
        if (!c->pointerIn_) return;
        c->pointerAt_ = {wl_fixed_to_double(x), wl_fixed_to_double(y)};
        TapEvent e;
        e.location = c->eventPoint();
        c->deliver(TapEventType::mouseMoved, e);
    },
    // button
    [](void* d, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
       std::uint32_t state) {
        auto* c = static_cast<Connection*>(d);
        if (!c->pointerIn_ || button != BTN_LEFT) return;
        TapEvent e;
        e.location = c->eventPoint();
        c->deliver(state == WL_POINTER_BUTTON_STATE_PRESSED ? TapEventType::leftMouseDown
                                                            : TapEventType::leftMouseUp,
                   e);
    },
    // axis: surface points, positive towards the user
    [](void* d, wl_pointer*, std::uint32_t, std::uint32_t axis, wl_fixed_t value) {
        auto* c = static_cast<Connection*>(d);
        if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
        c->scrollValue_ += wl_fixed_to_double(value);
        c->scrollSeen_ = true;
    },
    // frame: one scroll event per frame
    [](void* d, wl_pointer*) {
        auto* c = static_cast<Connection*>(d);
        if (!c->scrollSeen_) return;
        TapEvent e;
        e.location = c->eventPoint();
        e.scrollIsContinuous = c->scrollContinuous_ && c->scrollSteps_ == 0 ? 1 : 0;
        e.scrollDeltaAxis1 = -c->scrollSteps_;
        e.scrollPointDeltaAxis1 = -c->scrollValue_;
        if (e.scrollDeltaAxis1 == 0 && !e.scrollIsContinuous)
            e.scrollDeltaAxis1 = c->scrollValue_ > 0 ? -1 : (c->scrollValue_ < 0 ? 1 : 0);
        c->scrollValue_ = 0;
        c->scrollSteps_ = 0;
        c->scrollContinuous_ = false;
        c->scrollSeen_ = false;
        if (c->pointerIn_ && (e.scrollDeltaAxis1 != 0 || e.scrollPointDeltaAxis1 != 0))
            c->deliver(TapEventType::scrollWheel, e);
    },
    // axis_source
    [](void* d, wl_pointer*, std::uint32_t source) {
        static_cast<Connection*>(d)->scrollContinuous_ =
            source == WL_POINTER_AXIS_SOURCE_FINGER || source == WL_POINTER_AXIS_SOURCE_CONTINUOUS;
    },
    // axis_stop
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    // axis_discrete
    [](void* d, wl_pointer*, std::uint32_t axis, std::int32_t steps) {
        if (axis == WL_POINTER_AXIS_VERTICAL_SCROLL)
            static_cast<Connection*>(d)->scrollSteps_ += steps;
    },
    nullptr, // axis_value120 (version 8)
};

const wl_keyboard_listener LayerShell::Connection::kKeyboard = {
    // keymap
    [](void* d, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
        static_cast<Connection*>(d)->keymap(format, fd, size);
    },
    // enter: the modifiers event that follows is reported whatever it says
    [](void* d, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
        auto* c = static_cast<Connection*>(d);
        if (!surface || surface != c->surface_) return;
        c->keyboardIn_ = true;
        c->reportFlags_ = true;
    },
    // leave
    [](void* d, wl_keyboard*, std::uint32_t, wl_surface* surface) {
        auto* c = static_cast<Connection*>(d);
        const bool had = c->keyboardIn_ && surface && surface == c->surface_;
        c->keyboardIn_ = false;
        c->repeatTimer_.stop();
        // Something else took the keyboard while a picker was up: the picker cannot go on.
        if (had && c->owner_ && c->owner_->shown_)
            c->deliver(TapEventType::tapDisabledByUserInput, TapEvent{});
    },
    // key
    [](void* d, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
       std::uint32_t state) {
        static_cast<Connection*>(d)->key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
    },
    // modifiers
    [](void* d, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked, std::uint32_t group) {
        static_cast<Connection*>(d)->modifiers(depressed, latched, locked, group);
    },
    // repeat_info
    [](void* d, wl_keyboard*, std::int32_t rate, std::int32_t delay) {
        auto* c = static_cast<Connection*>(d);
        c->repeatRate = std::max(0, rate);
        c->repeatDelay = std::max(0, delay);
    },
};

void LayerShell::Connection::keymap(std::uint32_t format, int fd, std::uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !xkb_) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    xkb_keymap* keymap =
        xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                   XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) {
        qCWarning(vtLog, "overlay: the compositor's keymap could not be read; keys are unknown");
        return;
    }
    if (state_) xkb_state_unref(state_);
    if (keymap_) xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = xkb_state_new(keymap_);
}

void LayerShell::Connection::key(std::uint32_t key, bool pressed) {
    if (!keyboardIn_) return;
    const xkb_keycode_t code = key + 8; // evdev to xkb
    std::int64_t tapKey = TapKeyCode::unknown;
    if (keymap_ && state_) {
        // The key's unshifted symbol, so Shift+V is still V.
        const xkb_layout_index_t layout = xkb_state_key_get_layout(state_, code);
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap_, code, layout, 0, &syms) > 0)
            tapKey = keyCodeForKeysym(syms[0]);
    }
    TapEvent e;
    e.keycode = tapKey;
    e.location = eventPoint();
    deliver(pressed ? TapEventType::keyDown : TapEventType::keyUp, e);
    if (pressed && repeatRate > 0 && keymap_ && xkb_keymap_key_repeats(keymap_, code)) {
        repeatKey_ = key;
        repeatTimer_.start(repeatDelay);
    } else if (pressed || key == repeatKey_) {
        repeatTimer_.stop();
    }
}

void LayerShell::Connection::repeat() {
    if (!keyboardIn_ || repeatRate <= 0) return;
    const xkb_keycode_t code = repeatKey_ + 8;
    TapEvent e;
    e.autorepeat = 1;
    e.location = eventPoint();
    if (keymap_ && state_) {
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap_, code, xkb_state_key_get_layout(state_, code),
                                             0, &syms) > 0)
            e.keycode = keyCodeForKeysym(syms[0]);
    }
    deliver(TapEventType::keyDown, e);
    repeatTimer_.start(std::max(1, 1000 / repeatRate));
}

void LayerShell::Connection::modifiers(std::uint32_t depressed, std::uint32_t latched,
                                       std::uint32_t locked, std::uint32_t group) {
    if (!state_) return;
    xkb_state_update_mask(state_, depressed, latched, locked, 0, 0, group);
    const auto active = [this](const char* name) {
        return xkb_state_mod_name_is_active(state_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    std::uint64_t flags = 0;
    if (active(XKB_MOD_NAME_CAPS)) flags |= TapEventFlag::alphaShift;
    if (active(XKB_MOD_NAME_SHIFT)) flags |= TapEventFlag::shift;
    if (active(XKB_MOD_NAME_CTRL)) flags |= TapEventFlag::command;
    if (active(XKB_MOD_NAME_ALT)) flags |= TapEventFlag::option;
    if (active(XKB_MOD_NAME_LOGO)) flags |= TapEventFlag::control;
    const bool report = flags != flags_ || reportFlags_;
    flags_ = flags;
    reportFlags_ = false;
    if (!report || !keyboardIn_) return;
    TapEvent e;
    e.keycode = TapKeyCode::unknown;
    e.flags = flags;
    e.location = eventPoint();
    deliver(TapEventType::flagsChanged, e);
}

// --- LayerShell -----------------------------------------------------------------------------

LayerShell::LayerShell(const QByteArray& displayName)
    : c_(std::make_unique<Connection>(displayName)) {
    c_->shell = this;
}

LayerShell::~LayerShell() = default;

bool LayerShell::isValid() const {
    return c_->valid();
}

std::optional<PointD> LayerShell::pointer(int waitMs) {
    return c_->pointer(waitMs);
}

PointD LayerShell::outputOrigin() const {
    return c_->outputOrigin();
}

// --- LayerShellSurface ----------------------------------------------------------------------

LayerShellSurface::LayerShellSurface(std::shared_ptr<LayerShell> shell, const Screens& screens,
                                     PaintedView& view)
    : shell_(std::move(shell)), screens_(screens), view_(view) {
    const QSizeF size = view.canvasSize();
    frame_ = {0, 0, size.width(), size.height()};
    shell_->c_->screens = &screens_;
    view_.setUpdateRequest([this] { viewChanged(); });
}

LayerShellSurface::~LayerShellSurface() {
    view_.setUpdateRequest({});
    shell_->c_->forget(this);
}

void LayerShellSurface::placeCanvas() {
    const RectD global = screens_.rootSpace().rectFromWindow(frame_);
    const PointD o = shell_->outputOrigin();
    shell_->c_->place(this,
                      QRect(int(std::lround(global.x - o.x)), int(std::lround(global.y - o.y)),
                            int(std::lround(global.width)), int(std::lround(global.height))));
}

void LayerShellSurface::setFrame(RectD frame) {
    frame_ = frame;
    fresh_ = false;
    placeCanvas();
}

void LayerShellSurface::orderFront() {
    (void)view_.takeDamage(); // everything is painted
    view_.setBackdrop({});    // nothing pictures the screen here: materials are plain tints
    shown_ = true;
    takesInput_ = true;
    shell_->c_->show(this);
    fresh_ = true;
}

void LayerShellSurface::resignInput() {
    takesInput_ = false;
    shell_->c_->resign(this);
}

void LayerShellSurface::orderOut() {
    shown_ = false;
    takesInput_ = false;
    (void)view_.takeDamage();
    shell_->c_->hide(this);
}

void LayerShellSurface::setAlpha(double alpha) {
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == alpha_) return;
    alpha_ = alpha;
    fresh_ = false;
    if (shown_) shell_->c_->show(this);
}

void LayerShellSurface::displayNow() {
    if (!shown_ || fresh_) return; // ordering in painted everything
    (void)view_.takeDamage();
    shell_->c_->changed(this, std::nullopt);
    shell_->c_->paintNow();
}

void LayerShellSurface::viewChanged() {
    fresh_ = false;
    if (!shown_) {
        (void)view_.takeDamage();
        return;
    }
    shell_->c_->changed(this, view_.takeDamage());
}

} // namespace vt
