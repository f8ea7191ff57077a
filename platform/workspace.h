#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace vt {

// The application the user is working in.
struct RunningApplication {
    // Stable application id (desktop-file id, reverse-DNS id or window class); absent if unknown.
    std::optional<QString> bundleIdentifier;
    // Name shown to the user; absent if unknown.
    std::optional<QString> localizedName;
    // Every name the application answers to (desktop-file id, WM_CLASS instance and class,
    // executable name...), so that a list a user wrote in any of these forms matches it.
    QStringList names;

    // Whether any entry of `list` names this application, compared case-insensitively.
    bool answersTo(const QStringList& list) const {
        for (const QString& entry : list) {
            if (bundleIdentifier && entry.compare(*bundleIdentifier, Qt::CaseInsensitive) == 0)
                return true;
            if (names.contains(entry, Qt::CaseInsensitive)) return true;
        }
        return false;
    }
};

// The desktop's view of running applications.
class Workspace {
public:
    virtual ~Workspace() = default;

    // The application whose window is active, absent when no window is.
    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
};

} // namespace vt
