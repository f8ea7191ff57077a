#pragma once

namespace vt::ExitGuard {

// From arm() until disarm(), an end that does not come back through main still leaves the
// history saved and the process ending once, cleanly: when the display goes away (the platform
// reports it through displayLost, whichever thread sees it first) or when anything calls exit()
// (Qt does when its own display connection breaks), the history still waiting is written and the
// process ends at once with status 0. Without this, every thread that notices would run the
// process's exit path at the same time.
void arm();
void disarm();
// The display connection broke for good: saves and ends the process; never returns.
[[noreturn]] void displayLost();

} // namespace vt::ExitGuard
