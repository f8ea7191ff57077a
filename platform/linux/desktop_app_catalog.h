#pragma once
#include "platform/app_catalog.h"
#include "platform/linux/desktop_entry.h"
#include <QStringList>

namespace vt {

// The installed applications: the desktop entries under applications/ in $XDG_DATA_HOME and
// $XDG_DATA_DIRS (see DesktopEntries).
class DesktopAppCatalog final : public AppCatalog {
public:
    // dataDirs empty: the XDG data folders of the environment, most important first.
    explicit DesktopAppCatalog(QStringList dataDirs = {}, QString locale = {});

    std::vector<InstalledApp> installedApps() const override;
    std::optional<InstalledApp> app(const QString& id) const override;

    // Rescans the folders (installedApps() does it on every call, as a chooser is opening).
    void reload() const { entries_.reload(); }

    static QStringList xdgDataDirs() { return DesktopEntries::xdgDataDirs(); }

private:
    static InstalledApp toApp(const DesktopEntry& entry);

    DesktopEntries entries_;
};

} // namespace vt
