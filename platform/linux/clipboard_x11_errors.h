#pragma once

struct _XDisplay;

namespace vt {

// Xlib's default error handler ends the process; a window that vanishes while the clipboard or
// the frontmost window is being read must not. Errors of a display registered here are logged
// and dropped; errors of other displays go on to the handler installed before (another part of
// the program may trap its own), and are only logged where that was Xlib's default.
void quietX11Errors(_XDisplay* display);
// Call before closing a registered display.
void forgetQuietX11Display(_XDisplay* display);

} // namespace vt
