#pragma once

namespace vt {

// Whether the program may watch and swallow the paste chord: the keyboard event tap needs it.
class Trust {
public:
    virtual ~Trust() = default;
    // True when the event tap can be installed now (or is already running).
    virtual bool isTrusted() const = 0;
    // Shows the user where to grant the permission; may open a browser or a settings page.
    virtual void openAccessibility() = 0;
};

} // namespace vt
