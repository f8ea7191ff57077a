#pragma once

namespace vt {

// Xlib's default error handler ends the process; a window that vanishes while the clipboard or
// the frontmost window is being read must not. Replaces the default with one that logs; leaves
// a handler that another part of the program installed alone.
void ensureQuietX11Errors();

} // namespace vt
