#include "platform/linux/desktop_app_catalog.h"
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace vt {

DesktopAppCatalog::DesktopAppCatalog(QStringList dataDirs, QString locale)
    : entries_(std::move(dataDirs), std::move(locale)) {}

InstalledApp DesktopAppCatalog::toApp(const DesktopEntry& entry) {
    QIcon icon;
    if (!entry.iconName.isEmpty()) {
        icon = QDir::isAbsolutePath(entry.iconName) ? QIcon(entry.iconName)
                                                    : QIcon::fromTheme(entry.iconName);
    }
    return {entry.id, entry.name.isEmpty() ? entry.id : entry.name, icon, entry.path};
}

std::vector<InstalledApp> DesktopAppCatalog::installedApps() const {
    entries_.reload();
    std::vector<InstalledApp> apps;
    for (const auto& [id, entry] : entries_.all()) {
        if (entry.isApplication && !entry.hidden && !entry.noDisplay && !id.isEmpty())
            apps.push_back(toApp(entry));
    }
    QCollator collator{QLocale(entries_.locale())};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(apps.begin(), apps.end(), [&](const InstalledApp& a, const InstalledApp& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

std::optional<InstalledApp> DesktopAppCatalog::app(const QString& id) const {
    if (const auto entry = entries_.application(id)) return toApp(*entry);
    return std::nullopt;
}

} // namespace vt
