#pragma once
#include <QString>
#include <optional>

namespace vt {

// The application the user is working in.
struct RunningApplication {
    // Stable application id (desktop-file id, reverse-DNS id or window class); absent if unknown.
    std::optional<QString> bundleIdentifier;
    // Name shown to the user; absent if unknown.
    std::optional<QString> localizedName;
};

// The desktop's view of running applications.
class Workspace {
public:
    virtual ~Workspace() = default;

    // The application whose window is active, absent when no window is.
    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
};

} // namespace vt
