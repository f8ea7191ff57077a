#pragma once
#include "platform/workspace.h"

#include <QHash>
#include <QStringList>

struct _XDisplay;

namespace vt {

// The frontmost application on an X11 desktop: the window named by the window manager's
// _NET_ACTIVE_WINDOW, or without one the window holding the input focus (walking up to the
// first window that carries WM_CLASS).
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
    void setDataDirs(const QStringList& dirs) { dataDirs_ = dirs; }

private:
    unsigned long activeWindow() const;
    QString desktopEntryName(const QString& id) const;

    _XDisplay* display_ = nullptr;
    QStringList dataDirs_;
    mutable QHash<QString, QString> names_;
};

} // namespace vt
