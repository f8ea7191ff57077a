#pragma once
#include <X11/Xlib.h>

namespace vt {

// Counts the X errors of one connection instead of letting Xlib's default handler end the
// process (a BadAccess from a key grab that another program holds is expected, not fatal).
// Errors of other connections go on to the handler that was installed before. Use it on the
// thread that services the connection, and XSync before reading the result.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Errors seen since construction or the last reset, and the code of the last one.
    int count() const;
    int lastErrorCode() const;
    void reset();

private:
    Display* display_;
};

} // namespace vt
