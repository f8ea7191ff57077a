#include "platform/linux/x11_trust.h"
#include "platform/log.h"
#include <QtGlobal>
#include <cstdlib>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace vt {
namespace {

// Keysyms from X11/keysymdef.h; the check speaks plain xcb so that it never touches Xlib's
// process-wide error handler, which the event tap relies on.
constexpr xcb_keysym_t kKeysymV = 0x0076;
constexpr xcb_keysym_t kKeysymNumLock = 0xff7f;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> reply(T* r) {
    return Reply<T>(r, &std::free);
}

struct Keyboard {
    std::vector<xcb_keycode_t> keycodesOf(xcb_keysym_t sym) const {
        std::vector<xcb_keycode_t> found;
        for (std::size_t i = 0; i < syms.size(); ++i) {
            if (syms[i] == sym) {
                const auto code = static_cast<xcb_keycode_t>(minKeycode + i / perKeycode);
                if (found.empty() || found.back() != code) found.push_back(code);
            }
        }
        return found;
    }
    xcb_keycode_t minKeycode = 0;
    std::size_t perKeycode = 1;
    std::vector<xcb_keysym_t> syms;
};

Keyboard readKeyboard(xcb_connection_t* conn) {
    const xcb_setup_t* setup = xcb_get_setup(conn);
    Keyboard kb;
    kb.minKeycode = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto map = reply(xcb_get_keyboard_mapping_reply(
        conn, xcb_get_keyboard_mapping(conn, setup->min_keycode, count), nullptr));
    if (!map || map->keysyms_per_keycode == 0) return kb;
    kb.perKeycode = map->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    kb.syms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(map.get()));
    return kb;
}

// The modifier bit NumLock sets (usually Mod2); 0 when no key produces NumLock.
std::uint16_t numLockMask(xcb_connection_t* conn, const Keyboard& kb) {
    const auto numLock = kb.keycodesOf(kKeysymNumLock);
    if (numLock.empty()) return 0;
    auto mods =
        reply(xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr));
    if (!mods) return 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mods.get());
    const int perMod = mods->keycodes_per_modifier;
    for (int mod = 0; mod < 8; ++mod) {
        for (int k = 0; k < perMod; ++k) {
            for (xcb_keycode_t code : numLock) {
                if (codes[mod * perMod + k] == code) return static_cast<std::uint16_t>(1U << mod);
            }
        }
    }
    return 0;
}

} // namespace

const char* describe(X11Trust::Check check) {
    switch (check) {
    case X11Trust::Check::trusted:
        return "trusted";
    case X11Trust::Check::noDisplay:
        return "no X display";
    case X11Trust::Check::noXTest:
        return "no XTest";
    case X11Trust::Check::noPasteKey:
        return "no key produces V";
    case X11Trust::Check::chordTaken:
        return "Ctrl+V is grabbed by another program";
    }
    return "unknown";
}

X11Trust::X11Trust(QByteArray displayName) : displayName_(std::move(displayName)) {}

TrustProblem X11Trust::problem() const {
    switch (check()) {
    case Check::trusted:
        return TrustProblem::none;
    case Check::noDisplay:
        return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? TrustProblem::noDisplay
                                                              : TrustProblem::waylandWithoutX;
    case Check::noXTest:
        return TrustProblem::noXTest;
    case Check::noPasteKey:
        return TrustProblem::noPasteKey;
    case Check::chordTaken:
        return TrustProblem::chordTaken;
    }
    return TrustProblem::noDisplay;
}

X11Trust::Check X11Trust::check() const {
    if (tapRunning_ && tapRunning_()) return Check::trusted;
    return probeDisplay();
}

X11Trust::Check X11Trust::probeDisplay() const {
    int screenNumber = 0;
    xcb_connection_t* conn =
        xcb_connect(displayName_.isEmpty() ? nullptr : displayName_.constData(), &screenNumber);
    const auto closer =
        std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>(conn, &xcb_disconnect);
    if (!conn || xcb_connection_has_error(conn)) return Check::noDisplay;

    static constexpr char kXTest[] = "XTEST";
    auto ext = reply(xcb_query_extension_reply(
        conn, xcb_query_extension(conn, sizeof(kXTest) - 1, kXTest), nullptr));
    if (!ext || !ext->present) return Check::noXTest;

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i)
        xcb_screen_next(&it);
    if (it.rem == 0) return Check::noDisplay;
    const xcb_window_t root = it.data->root;

    const Keyboard kb = readKeyboard(conn);
    const auto vCodes = kb.keycodesOf(kKeysymV);
    if (vCodes.empty()) return Check::noPasteKey;
    const std::uint16_t num = numLockMask(conn, kb);
    std::vector<std::uint16_t> masks = {XCB_MOD_MASK_CONTROL,
                                        XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK};
    if (num != 0) {
        masks.push_back(static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | num));
        masks.push_back(static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK | num));
    }
    bool taken = false;
    for (std::uint16_t mask : masks) {
        auto cookie = xcb_grab_key_checked(conn, 0, root, mask, vCodes.front(), XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        if (auto error = reply(xcb_request_check(conn, cookie))) {
            taken = true;
            break;
        }
    }
    // Closing the connection releases whatever was grabbed; say so explicitly anyway.
    xcb_ungrab_key(conn, vCodes.front(), root, XCB_MOD_MASK_ANY);
    xcb_flush(conn);
    return taken ? Check::chordTaken : Check::trusted;
}

} // namespace vt
