#pragma once
#include "platform/workspace.h"

#include <QHash>
#include <QStringList>
#include <memory>

namespace vt {

// The frontmost application of a Wayland session, from the compositor's list of top-level
// windows (zwlr_foreign_toplevel_manager_v1: each window's app id and whether it is activated).
// A thread with its own connection keeps the list current by blocking on that connection, so
// asking costs a lock and no round trip. Where the compositor keeps this to itself (GNOME, newer
// Plasma), there is no frontmost application; that is logged once.
class WaylandWorkspace final : public Workspace {
public:
    // Connects to `displayName` (empty: $WAYLAND_DISPLAY).
    explicit WaylandWorkspace(const QByteArray& displayName = {});
    ~WaylandWorkspace() override;
    WaylandWorkspace(const WaylandWorkspace&) = delete;
    WaylandWorkspace& operator=(const WaylandWorkspace&) = delete;

    // False when the compositor does not say which window is active.
    bool knowsFrontmost() const;
    std::optional<RunningApplication> frontmostApplication() const override;

    // Folders searched for desktop entries ("<folder>/applications/<id>.desktop"); by default
    // $XDG_DATA_HOME and $XDG_DATA_DIRS.
    void setDataDirs(const QStringList& dirs) { dataDirs_ = dirs; }

private:
    class Watcher;
    QString desktopEntryName(const QString& id) const;

    std::unique_ptr<Watcher> watcher_;
    QStringList dataDirs_;
    mutable QHash<QString, QString> names_;
    mutable bool toldUnknown_ = false;
};

} // namespace vt
