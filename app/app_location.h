#pragma once
#include <QString>

namespace vt {

namespace AppLocation {

// The folder that counts as the system's Applications folder.
inline constexpr const char* kSystemApplications = "/Applications";

// True when path lies inside "/Applications" or home/Applications (at any depth).
bool isInApplicationsFolder(const QString& path, const QString& home);
// The same with another system Applications folder (tests use a temporary one).
bool isInApplicationsFolder(const QString& path, const QString& home,
                            const QString& systemApplications);
// The movable copy of the program: the AppImage it runs from ($APPIMAGE), else "" (installed by
// a package or run from the build tree: nothing to move).
QString bundlePath();

} // namespace AppLocation
} // namespace vt
