#pragma once
#include "platform/login_items.h"

namespace vt {

// Start at login through an XDG autostart entry: $XDG_CONFIG_HOME/autostart/<app id>.desktop.
// Status: enabled when the entry exists and is not Hidden=true; notRegistered when it is missing
// or hidden; notFound when the entry exists but cannot be read or the program it starts is gone
// (moved or uninstalled), so starting at login could not work. requiresApproval never occurs:
// desktops start autostart entries without asking.
class XdgAutostartLoginItems final : public LoginItemService {
public:
    // The entry starts the running executable ($APPIMAGE when running as an AppImage).
    XdgAutostartLoginItems();
    // Tests name the entry file and the program it starts.
    XdgAutostartLoginItems(QString entryPath, QString programPath);

    // $XDG_CONFIG_HOME (else ~/.config) + /autostart/<app id>.desktop.
    static QString defaultEntryPath();
    // The path as the entry's Exec key expects it: quoted, with \ " ` $ escaped.
    static QString quotedExecArgument(const QString& path);
    QString entryPath() const { return entryPath_; }
    QString entryContents() const;

    LoginItemStatus status() const override;
    bool registerItem(QString* error) override;
    bool unregisterItem(QString* error) override;

private:
    QString entryPath_;
    QString programPath_;
};

} // namespace vt
