#include "platform/linux/desktop_app_catalog.h"
#include "platform/log.h"
#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <algorithm>

namespace vt {
namespace {

// Values of string keys may carry the escapes \s \n \t \r \\ .
QString unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar n = value.at(++i);
        if (n == u's')
            out.append(u' ');
        else if (n == u'n')
            out.append(u'\n');
        else if (n == u't')
            out.append(u'\t');
        else if (n == u'r')
            out.append(u'\r');
        else
            out.append(n);
    }
    return out;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QString& id,
                                               const QString& locale) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    // A desktop entry is small; a file far larger than any real one is not read.
    if (file.size() > 1024 * 1024) {
        qCWarning(vtLog) << "desktop entry too large, skipped:" << path;
        return std::nullopt;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);

    const QString lang = locale.section(u'_', 0, 0);
    const QString langCountry = locale.section(u'.', 0, 0).section(u'@', 0, 0);
    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    bool inMainGroup = false;
    bool seenMainGroup = false;
    int nameRank = -1; // 2: Name[ll_CC], 1: Name[ll], 0: Name
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            if (seenMainGroup && inMainGroup) break; // later groups are actions and such
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            seenMainGroup = seenMainGroup || inMainGroup;
            continue;
        }
        if (!inMainGroup) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Type")) {
            entry.isApplication = value == QLatin1String("Application");
        } else if (key == QLatin1String("Hidden")) {
            entry.hidden = value == QLatin1String("true");
        } else if (key == QLatin1String("NoDisplay")) {
            entry.noDisplay = value == QLatin1String("true");
        } else if (key == QLatin1String("Icon")) {
            entry.iconName = unescape(value);
        } else if (key.startsWith(QLatin1String("Name"))) {
            int rank = -1;
            if (key == QLatin1String("Name"))
                rank = 0;
            else if (!lang.isEmpty() && key == QStringLiteral("Name[%1]").arg(lang))
                rank = 1;
            else if (!langCountry.isEmpty() && key == QStringLiteral("Name[%1]").arg(langCountry))
                rank = 2;
            if (rank > nameRank) {
                nameRank = rank;
                entry.name = unescape(value);
            }
        }
    }
    if (!seenMainGroup) return std::nullopt;
    return entry;
}

DesktopAppCatalog::DesktopAppCatalog(QStringList dataDirs, QString locale)
    : dataDirs_(dataDirs.isEmpty() ? xdgDataDirs() : std::move(dataDirs)),
      locale_(locale.isEmpty() ? QLocale().name() : std::move(locale)) {}

QStringList DesktopAppCatalog::xdgDataDirs() {
    QStringList dirs;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty() || QDir::isRelativePath(home))
        home = QDir::homePath() + QStringLiteral("/.local/share");
    dirs << home;
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty()) system = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : system.split(u':', Qt::SkipEmptyParts)) {
        if (!QDir::isRelativePath(dir) && !dirs.contains(dir)) dirs << dir;
    }
    return dirs;
}

void DesktopAppCatalog::reload() const {
    entries_.clear();
    for (const QString& dataDir : dataDirs_) {
        const QString appsDir = dataDir + QStringLiteral("/applications");
        if (!QFileInfo(appsDir).isDir()) continue;
        QDirIterator it(appsDir, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(appsDir).relativeFilePath(path);
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(u'/', u'-');
            if (entries_.count(id) != 0) continue; // an earlier folder already decided
            if (auto entry = DesktopEntry::read(path, id, locale_)) {
                entries_.emplace(id, std::move(*entry));
            }
        }
    }
    loaded_ = true;
}

void DesktopAppCatalog::ensureLoaded() const {
    if (!loaded_) reload();
}

InstalledApp DesktopAppCatalog::toApp(const DesktopEntry& entry) {
    QIcon icon;
    if (!entry.iconName.isEmpty()) {
        icon = QDir::isAbsolutePath(entry.iconName) ? QIcon(entry.iconName)
                                                    : QIcon::fromTheme(entry.iconName);
    }
    return {entry.id, entry.name.isEmpty() ? entry.id : entry.name, icon, entry.path};
}

std::vector<InstalledApp> DesktopAppCatalog::installedApps() const {
    reload();
    std::vector<InstalledApp> apps;
    for (const auto& [id, entry] : entries_) {
        if (entry.isApplication && !entry.hidden && !entry.noDisplay && !id.isEmpty())
            apps.push_back(toApp(entry));
    }
    QCollator collator{QLocale(locale_)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(apps.begin(), apps.end(), [&](const InstalledApp& a, const InstalledApp& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

std::optional<InstalledApp> DesktopAppCatalog::app(const QString& id) const {
    ensureLoaded();
    QString key = id;
    if (key.endsWith(QLatin1String(".desktop"))) key.chop(int(sizeof(".desktop") - 1));
    const auto it = entries_.find(key);
    if (it == entries_.end() || !it->second.isApplication || it->second.hidden) return std::nullopt;
    return toApp(it->second);
}

} // namespace vt
