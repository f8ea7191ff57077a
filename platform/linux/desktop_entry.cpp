#include "platform/linux/desktop_entry.h"
#include "platform/log.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

namespace vt {

QString unescapeDesktopValue(const QString& value) {
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

    const QString langCountry = locale.section(u'.', 0, 0).section(u'@', 0, 0);
    const QString lang = langCountry.section(u'_', 0, 0);
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
            entry.iconName = unescapeDesktopValue(value);
        } else if (key == QLatin1String("Exec")) {
            entry.exec = unescapeDesktopValue(value);
        } else if (key == QLatin1String("StartupWMClass")) {
            entry.startupWMClass = unescapeDesktopValue(value);
        } else if (key.startsWith(QLatin1String("Name"))) {
            int rank = -1;
            if (key == QLatin1String("Name"))
                rank = 0;
            else if (!lang.isEmpty() && key == QStringLiteral("Name[%1]").arg(lang))
                rank = 1;
            else if (langCountry.contains(u'_') &&
                     key == QStringLiteral("Name[%1]").arg(langCountry))
                rank = 2;
            if (rank > nameRank) {
                nameRank = rank;
                entry.name = unescapeDesktopValue(value);
            }
        }
    }
    if (!seenMainGroup) return std::nullopt;
    return entry;
}

QString DesktopEntry::execProgram() const {
    // Exec's arguments may be quoted: "a b" keeps its space; env and its VAR=value come first.
    QStringList words;
    QString word;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u'\\' && quoted && i + 1 < exec.size()) {
            word.append(exec.at(++i));
        } else if (c.isSpace() && !quoted) {
            if (any || !word.isEmpty()) words << word;
            word.clear();
            any = false;
        } else {
            word.append(c);
        }
    }
    if (any || !word.isEmpty()) words << word;
    qsizetype i = 0;
    if (i < words.size() && QFileInfo(words[i]).fileName() == QLatin1String("env")) {
        ++i;
        while (i < words.size() && (words[i].contains(u'=') || words[i].startsWith(u'-')))
            ++i;
    }
    return i < words.size() ? QFileInfo(words[i]).fileName() : QString();
}

DesktopEntries::DesktopEntries(QStringList dataDirs, QString locale)
    : dataDirs_(dataDirs.isEmpty() ? xdgDataDirs() : std::move(dataDirs)),
      locale_(locale.isEmpty() ? QLocale().name() : std::move(locale)) {}

QStringList DesktopEntries::xdgDataDirs() {
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

bool DesktopEntries::foldersChanged() const {
    for (const QString& dataDir : dataDirs_) {
        const QString appsDir = dataDir + QStringLiteral("/applications");
        const QFileInfo info(appsDir);
        const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
        const auto it = folderTimes_.find(appsDir);
        if (it == folderTimes_.end() || it->second != stamp) return true;
    }
    return false;
}

void DesktopEntries::reload() const {
    entries_.clear();
    folderTimes_.clear();
    for (const QString& dataDir : dataDirs_) {
        const QString appsDir = dataDir + QStringLiteral("/applications");
        const QFileInfo info(appsDir);
        folderTimes_[appsDir] = info.exists() ? info.lastModified() : QDateTime();
        if (!info.isDir()) continue;
        QDirIterator it(appsDir, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(appsDir).relativeFilePath(path);
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(u'/', u'-');
            if (entries_.count(id) != 0) continue; // an earlier folder already decided
            if (auto entry = DesktopEntry::read(path, id, locale_))
                entries_.emplace(id, std::move(*entry));
        }
    }
    loaded_ = true;
}

const std::map<QString, DesktopEntry>& DesktopEntries::all() const {
    if (!loaded_ || foldersChanged()) reload();
    return entries_;
}

std::optional<DesktopEntry> DesktopEntries::application(const QString& id) const {
    QString key = id;
    if (key.endsWith(QLatin1String(".desktop"))) key.chop(int(sizeof(".desktop") - 1));
    const auto& entries = all();
    const auto it = entries.find(key);
    if (it == entries.end() || !it->second.isApplication || it->second.hidden) return std::nullopt;
    return it->second;
}

std::optional<DesktopEntry> DesktopEntries::forWindow(const QString& wmClass,
                                                      const QString& wmInstance,
                                                      const QString& executable) const {
    const auto same = [](const QString& a, const QString& b) {
        return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
    };
    const DesktopEntry* byId = nullptr;
    const DesktopEntry* byProgram = nullptr;
    for (const auto& [id, entry] : all()) {
        if (!entry.isApplication || entry.hidden) continue;
        if (same(entry.startupWMClass, wmClass) || same(entry.startupWMClass, wmInstance))
            return entry;
        // An entry that names another window class is not this window's.
        if (!entry.startupWMClass.isEmpty()) continue;
        if (!byId && (same(id, wmClass) || same(id, wmInstance))) byId = &entry;
        // Among entries that start the same program, one shown in menus beats a helper entry.
        if (byProgram && !byProgram->noDisplay) continue;
        const QString program = entry.execProgram();
        if (same(program, executable) || same(program, wmInstance) || same(program, wmClass))
            if (!byProgram || !entry.noDisplay) byProgram = &entry;
    }
    if (byId) return *byId;
    if (byProgram) return *byProgram;
    return std::nullopt;
}

} // namespace vt
