#pragma once

namespace vt {

// Haptic feedback of the pickers. Linux desktops have no trackpad haptics API, so it does
// nothing; the pickers still say where feedback belongs.
struct Haptics {
    // The light tick when the selection snaps to another item.
    static void alignment() {}
};

} // namespace vt
