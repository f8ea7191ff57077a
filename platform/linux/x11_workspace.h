#pragma once
#include "platform/linux/desktop_entry.h"
#include "platform/workspace.h"
#include <optional>

#include <QStringList>

struct _XDisplay;

namespace vt {

// The frontmost application on an X11 desktop: the window named by the window manager's
// _NET_ACTIVE_WINDOW, or without one the window holding the input focus (walking up to the
// first window that carries WM_CLASS). The application is known by every name it answers to:
// the desktop-file id (declared by the window, or the entry whose StartupWMClass or Exec
// matches), the WM_CLASS instance and class, and the executable behind _NET_WM_PID; its name is
// the desktop entry's Name in the user's language.
class X11Workspace final : public Workspace {
public:
    // Connects to `displayName` (empty: $DISPLAY).
    explicit X11Workspace(const QByteArray& displayName = {});
    ~X11Workspace() override;
    X11Workspace(const X11Workspace&) = delete;
    X11Workspace& operator=(const X11Workspace&) = delete;

    std::optional<RunningApplication> frontmostApplication() const override;

    // Folders searched for desktop entries ("<folder>/applications/<id>.desktop"); by default
    // $XDG_DATA_HOME and $XDG_DATA_DIRS.
    void setDataDirs(const QStringList& dirs);

private:
    unsigned long activeWindow() const;

    _XDisplay* display_ = nullptr;
    DesktopEntries entries_;
    // The last window looked up, with its process id and what it was found to be: a copy made in
    // the same window as the last is attributed without reading its properties and the desktop
    // entries again.
    struct Looked {
        unsigned long window = 0;
        long pid = 0;
        RunningApplication app;
    };
    mutable std::optional<Looked> last_;
};

} // namespace vt
