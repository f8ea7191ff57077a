// Types one keystroke through the program's virtual keyboard, for the scripted tests:
//   vt_test_post_keys ctrl+v|ctrl+shift+v|shift+insert [past]
// "past" types it past the compositor's own binding of the chord. Exits 1 when it cannot type.
#include "platform/event_tap.h"
#include "platform/wayland/virtual_keyboard.h"

#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string_view chord = argv[1];
    std::int64_t key = vt::TapKeyCode::v;
    std::uint64_t flags = vt::TapEventFlag::command;
    if (chord == "ctrl+shift+v") flags |= vt::TapEventFlag::shift;
    if (chord == "shift+insert") {
        key = vt::TapKeyCode::insert;
        flags = vt::TapEventFlag::shift;
    }
    const bool past = argc > 2 && std::string_view(argv[2]) == "past";
    vt::VirtualKeyboard keyboard;
    // A keymap is taken in by the compositor's clients a moment after it is sent.
    usleep(200000);
    const bool ok = keyboard.post(key, true, flags, past) && keyboard.post(key, false, flags, past);
    keyboard.sync();
    // Headless, this keyboard is the seat's only one: gone, it would take the clients' keyboard
    // focus (and a paste they are still reading) with it.
    usleep(500000);
    return ok ? 0 : 1;
}
