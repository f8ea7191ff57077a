#pragma once
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>
#include <vector>

namespace vt {

// One release offered by the update feed (an RSS item).
struct AppcastItem {
    QString title;
    QString version;      // machine version (build number), compared numerically
    QString shortVersion; // the version the user sees; falls back to version
    QUrl downloadURL;     // the page or file the user is sent to
    QString releaseNotes; // plain text or simple HTML, may be empty
    QUrl releaseNotesURL; // optional page with the notes

    QString displayVersion() const { return shortVersion.isEmpty() ? version : shortVersion; }
};

namespace Appcast {

// Parses an RSS appcast. Returns nullopt (and a description in *error) when the document is not
// XML or not RSS; items whose version is not a dotted number are left out.
std::optional<std::vector<AppcastItem>> parse(const QByteArray& document, QString* error);
// True for dotted numbers such as "1", "1.2", "0.10.3" (an optional leading "v" is allowed).
bool isValidVersion(const QString& version);
// Numeric component-wise comparison; missing components count as 0 ("1.2" == "1.2.0").
// Both versions must be valid. Returns <0, 0, >0.
int compareVersions(const QString& a, const QString& b);
// The newest item whose shortVersion (else version) is newer than currentVersion (the version the
// user sees, AppInfo::version()), if any.
std::optional<AppcastItem> bestUpdate(const std::vector<AppcastItem>& items,
                                      const QString& currentVersion);

} // namespace Appcast
} // namespace vt
