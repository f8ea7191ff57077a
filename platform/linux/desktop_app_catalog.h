#pragma once
#include "platform/app_catalog.h"
#include <QStringList>
#include <map>

namespace vt {

// A parsed desktop entry (the [Desktop Entry] group of a .desktop file).
struct DesktopEntry {
    QString id;       // desktop-file id without ".desktop"
    QString path;     // the file
    QString name;     // Name, localised where the entry offers it
    QString iconName; // Icon: a theme icon name or an absolute path
    bool isApplication = false;
    bool hidden = false;    // Hidden=true: the entry counts as deleted
    bool noDisplay = false; // NoDisplay=true: installed, but not offered in choosers

    // Reads `path` as the entry with desktop-file id `id`; nothing when unreadable.
    static std::optional<DesktopEntry> read(const QString& path, const QString& id,
                                            const QString& locale);
};

// The installed applications: the desktop entries under applications/ in $XDG_DATA_HOME and
// $XDG_DATA_DIRS; an entry in an earlier folder hides one with the same id in a later folder.
class DesktopAppCatalog final : public AppCatalog {
public:
    // dataDirs empty: the XDG data folders of the environment, most important first.
    explicit DesktopAppCatalog(QStringList dataDirs = {}, QString locale = {});

    std::vector<InstalledApp> installedApps() const override;
    std::optional<InstalledApp> app(const QString& id) const override;

    // Rescans the folders (installedApps() does it on every call, as a chooser is opening).
    void reload() const;

    static QStringList xdgDataDirs();

private:
    void ensureLoaded() const;
    static InstalledApp toApp(const DesktopEntry& entry);

    QStringList dataDirs_;
    QString locale_;
    mutable bool loaded_ = false;
    mutable std::map<QString, DesktopEntry> entries_;
};

} // namespace vt
