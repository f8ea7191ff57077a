#include "app/app_location.h"
#include <QDir>
#include <QFileInfo>

namespace vt::AppLocation {

bool isInApplicationsFolder(const QString& path, const QString& home) {
    return isInApplicationsFolder(path, home, QString::fromLatin1(kSystemApplications));
}

bool isInApplicationsFolder(const QString& path, const QString& home,
                            const QString& systemApplications) {
    const QString standardised = QDir::cleanPath(path);
    const QStringList candidates{QDir::cleanPath(systemApplications),
                                 QDir::cleanPath(home + QStringLiteral("/Applications"))};
    // The separator keeps "Applications.old" from counting as inside.
    for (const QString& folder : candidates)
        if (standardised.startsWith(folder + u'/')) return true;
    return false;
}

QString bundlePath() {
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    if (appImage.isEmpty() || !QFileInfo(appImage).isAbsolute()) return {};
    return appImage;
}

} // namespace vt::AppLocation
