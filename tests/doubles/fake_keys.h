#pragma once
#include <initializer_list>

namespace vt::test {

// Presses ("+key") and releases ("-key") keys, named by keysym, with one X event each as a
// keyboard does, and pauses for "~ms". (xdotool's keyup of a modifier sends a second release of
// it a little later, which can land in the middle of the program's own Ctrl+V and take its Ctrl
// away.) False when there is no display or a key is unknown.
bool fakeKeys(std::initializer_list<const char*> steps);

} // namespace vt::test
