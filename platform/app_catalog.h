#pragma once
#include <QIcon>
#include <QString>
#include <optional>
#include <vector>

namespace vt {

// One installed application as the desktop knows it.
struct InstalledApp {
    QString id;   // the identifier the frontmost-application lookup yields (desktop-file id)
    QString name; // the name the desktop shows for it
    QIcon icon;   // its icon; may be null
    QString path; // where it is described (the desktop entry file)
};

// The applications installed for this user.
class AppCatalog {
public:
    virtual ~AppCatalog() = default;
    // Applications a user may pick from, sorted by name; hidden entries left out.
    virtual std::vector<InstalledApp> installedApps() const = 0;
    // The installed application with this identifier, or nothing when it is not installed.
    virtual std::optional<InstalledApp> app(const QString& id) const = 0;
};

} // namespace vt
