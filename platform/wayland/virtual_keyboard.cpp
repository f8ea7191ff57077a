#include "platform/wayland/virtual_keyboard.h"

#include "platform/event_tap.h"
#include "platform/log.h"
#include "platform/wayland/virtual-keyboard-unstable-v1-client.h"

#include <cstring>
#include <ctime>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace vt {

namespace {

// The keysym each tap key code stands for.
xkb_keysym_t keysymFor(std::int64_t tapKeycode) {
    switch (tapKeycode) {
    case TapKeyCode::v:
        return XKB_KEY_v;
    case TapKeyCode::insert:
        return XKB_KEY_Insert;
    case TapKeyCode::returnKey:
        return XKB_KEY_Return;
    case TapKeyCode::keypadEnter:
        return XKB_KEY_KP_Enter;
    case TapKeyCode::escape:
        return XKB_KEY_Escape;
    case TapKeyCode::left:
        return XKB_KEY_Left;
    case TapKeyCode::right:
        return XKB_KEY_Right;
    case TapKeyCode::down:
        return XKB_KEY_Down;
    case TapKeyCode::up:
        return XKB_KEY_Up;
    case TapKeyCode::digit0:
        return XKB_KEY_0;
    case TapKeyCode::digit1:
        return XKB_KEY_1;
    case TapKeyCode::digit2:
        return XKB_KEY_2;
    case TapKeyCode::digit3:
        return XKB_KEY_3;
    case TapKeyCode::digit4:
        return XKB_KEY_4;
    case TapKeyCode::digit5:
        return XKB_KEY_5;
    case TapKeyCode::digit6:
        return XKB_KEY_6;
    case TapKeyCode::digit7:
        return XKB_KEY_7;
    case TapKeyCode::digit8:
        return XKB_KEY_8;
    case TapKeyCode::digit9:
        return XKB_KEY_9;
    default:
        return XKB_KEY_NoSymbol;
    }
}

std::uint32_t milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace

struct VirtualKeyboard::State {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    xkb_keymap* keymap = nullptr;
    std::uint32_t ctrl = 0, shift = 0, alt = 0, super = 0, spare = 0; // modifier masks

    static const wl_registry_listener registryListener;

    ~State() {
        if (keyboard) zwp_virtual_keyboard_v1_destroy(keyboard);
        if (manager) zwp_virtual_keyboard_manager_v1_destroy(manager);
        if (seat) wl_seat_destroy(seat);
        if (registry) wl_registry_destroy(registry);
        if (display) wl_display_disconnect(display);
        if (keymap) xkb_keymap_unref(keymap);
    }

    // The evdev code of the first key whose base level gives `sym`; -1 when none does.
    int evdevCode(xkb_keysym_t sym) const {
        const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
        for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= last; ++code) {
            const xkb_keysym_t* syms = nullptr;
            const int n = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
            for (int i = 0; i < n; ++i)
                if (syms[i] == sym) return static_cast<int>(code) - 8;
        }
        return -1;
    }

    bool uploadKeymap() {
        xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
        if (!context) return false;
        const xkb_rule_names names{"evdev", "pc105", "us", "", ""};
        keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        xkb_context_unref(context);
        if (!keymap) return false;
        char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        if (!text) return false;
        const std::size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("vantrel-keymap", MFD_CLOEXEC);
        bool ok = fd >= 0 && ::write(fd, text, size) == static_cast<ssize_t>(size);
        std::free(text);
        if (ok)
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<std::uint32_t>(size));
        if (fd >= 0) ::close(fd);
        auto mask = [this](const char* name) {
            const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
            return index == XKB_MOD_INVALID ? 0u : 1u << index;
        };
        ctrl = mask(XKB_MOD_NAME_CTRL);
        shift = mask(XKB_MOD_NAME_SHIFT);
        alt = mask(XKB_MOD_NAME_ALT);
        super = mask(XKB_MOD_NAME_LOGO);
        spare = mask("Mod3");
        return ok;
    }

    std::uint32_t modifiers(std::uint64_t flags) const {
        std::uint32_t mods = 0;
        if (flags & TapEventFlag::command) mods |= ctrl;
        if (flags & TapEventFlag::shift) mods |= shift;
        if (flags & TapEventFlag::option) mods |= alt;
        if (flags & TapEventFlag::control) mods |= super;
        return mods;
    }
};

const wl_registry_listener VirtualKeyboard::State::registryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
       std::uint32_t) {
        auto* d = static_cast<State*>(data);
        if (!d->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
            d->seat =
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (!d->manager &&
                 std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
            d->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    },
    [](void*, wl_registry*, std::uint32_t) {}};

VirtualKeyboard::VirtualKeyboard(const QByteArray& displayName) : d_(std::make_unique<State>()) {
    d_->display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!d_->display) return;
    d_->registry = wl_display_get_registry(d_->display);
    wl_registry_add_listener(d_->registry, &State::registryListener, d_.get());
    wl_display_roundtrip(d_->display);
    if (!d_->seat || !d_->manager) {
        qCInfo(vtLog, "virtual keyboard: the compositor offers none; nothing can be typed");
        return;
    }
    d_->keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(d_->manager, d_->seat);
    if (!d_->uploadKeymap() || wl_display_roundtrip(d_->display) < 0) {
        qCWarning(vtLog, "virtual keyboard: refused (keymap or permission)");
        zwp_virtual_keyboard_v1_destroy(d_->keyboard);
        d_->keyboard = nullptr;
    }
}

VirtualKeyboard::~VirtualKeyboard() = default;

bool VirtualKeyboard::isValid() const {
    return d_->keyboard != nullptr;
}

bool VirtualKeyboard::post(std::int64_t tapKeycode, bool keyDown, std::uint64_t flags,
                           bool pastBindings) {
    if (!d_->keyboard) return false;
    const int code = d_->evdevCode(keysymFor(tapKeycode));
    if (code < 0) return false;
    if (keyDown)
        zwp_virtual_keyboard_v1_modifiers(
            d_->keyboard, d_->modifiers(flags) | (pastBindings ? d_->spare : 0), 0, 0, 0);
    zwp_virtual_keyboard_v1_key(d_->keyboard, milliseconds(), static_cast<std::uint32_t>(code),
                                keyDown ? WL_KEYBOARD_KEY_STATE_PRESSED
                                        : WL_KEYBOARD_KEY_STATE_RELEASED);
    if (!keyDown) zwp_virtual_keyboard_v1_modifiers(d_->keyboard, 0, 0, 0, 0);
    if (wl_display_flush(d_->display) < 0) {
        qCWarning(vtLog, "virtual keyboard: connection lost");
        return false;
    }
    return true;
}

void VirtualKeyboard::sync() {
    if (d_->display) wl_display_roundtrip(d_->display);
}

} // namespace vt
