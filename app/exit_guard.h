#pragma once

namespace vt::ExitGuard {

// From arm() until disarm(), an end that does not come back through main still leaves the
// history saved and the process ending once, cleanly: when the X server goes away (Xlib's I/O
// error on any of the program's connections, whichever thread sees it first) or when anything
// calls exit() (Qt does when its own X connection breaks), the history still waiting is written
// and the process ends at once with status 0. Without this, every thread that notices would run
// the process's exit path at the same time.
void arm();
void disarm();

} // namespace vt::ExitGuard
