#include "platform/linux/session_login_items.h"
#include "platform/config.h"
#include "platform/linux/desktop_entry.h"
#include "platform/private_files.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vt {

namespace {

QString runningProgramPath() {
    // An AppImage mounts itself at a new place on every start; the file itself is what stays.
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    if (!appImage.isEmpty() && QFileInfo(appImage).isAbsolute()) return appImage;
    return QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
}

// Reads one key of the [Desktop Entry] group; the entry is small and written by us or the user.
QString entryValue(const QString& contents, const QString& key) {
    bool inMainGroup = false;
    for (const QString& rawLine : contents.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.startsWith(u'#')) continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) continue;
        if (line.left(equals).trimmed() == key) return line.mid(equals + 1).trimmed();
    }
    return {};
}

// The first argument of an Exec line, undoing the quoting of quotedExecArgument().
QString execProgram(const QString& exec) {
    QString program;
    if (!exec.startsWith(u'"')) return exec.section(u' ', 0, 0).replace(QStringLiteral("%%"), "%");
    for (qsizetype i = 1; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == u'\\' && i + 1 < exec.size()) {
            program.append(exec[++i]);
        } else if (c == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
            program.append(exec[++i]);
        } else if (c == u'"') {
            break;
        } else {
            program.append(c);
        }
    }
    return program;
}

// Desktop-entry string values escape \ first, then line breaks and tabs.
QString escapedValue(const QString& value) {
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    escaped.replace(u'\t', QStringLiteral("\\t"));
    escaped.replace(u'\r', QStringLiteral("\\r"));
    return escaped;
}

} // namespace

XdgAutostartLoginItems::XdgAutostartLoginItems()
    : XdgAutostartLoginItems(defaultEntryPath(), runningProgramPath()) {}

XdgAutostartLoginItems::XdgAutostartLoginItems(QString entryPath, QString programPath)
    : entryPath_(std::move(entryPath)), programPath_(std::move(programPath)) {}

QString XdgAutostartLoginItems::defaultEntryPath() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/autostart/") + QString::fromLatin1(kAppId) +
           QStringLiteral(".desktop");
}

QString XdgAutostartLoginItems::quotedExecArgument(const QString& path) {
    // Inside double quotes the Exec key reserves " ` $ and \; each takes a backslash.
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted.append(u'\\');
        quoted.append(c);
    }
    // Every % in the key is a field code unless doubled.
    quoted.replace(u'%', QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

QString XdgAutostartLoginItems::entryContents() const {
    const QString exec = quotedExecArgument(programPath_);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=Vantrel\n"
                          "Comment=Clipboard history: hold Ctrl+V to pick an earlier clip\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "Terminal=false\n"
                          "Categories=Utility;\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(escapedValue(exec), QString::fromLatin1(kAppId));
}

LoginItemStatus XdgAutostartLoginItems::status() const {
    QFile file(entryPath_);
    if (!file.exists()) return LoginItemStatus::notRegistered;
    if (!file.open(QIODevice::ReadOnly)) return LoginItemStatus::notFound;
    const QString contents = QString::fromUtf8(file.readAll());
    // Desktops switch an autostart entry off by hiding it; some also use their own flag.
    if (entryValue(contents, QStringLiteral("Hidden")).compare(u"true", Qt::CaseInsensitive) == 0)
        return LoginItemStatus::notRegistered;
    if (entryValue(contents, QStringLiteral("X-GNOME-Autostart-enabled"))
            .compare(u"false", Qt::CaseInsensitive) == 0)
        return LoginItemStatus::notRegistered;
    const QString program =
        execProgram(unescapeDesktopValue(entryValue(contents, QStringLiteral("Exec"))));
    const QFileInfo info(program);
    if (program.isEmpty() || (info.isAbsolute() && !(info.isFile() && info.isExecutable())))
        return LoginItemStatus::notFound;
    return LoginItemStatus::enabled;
}

bool XdgAutostartLoginItems::registerItem(QString* error) {
    // Whatever the umask: a folder or entry others could write to would let them run commands
    // at this user's next login.
    if (!PrivateFiles::makeFolders(QFileInfo(entryPath_).absolutePath(), 0700, false, error))
        return false;
    return PrivateFiles::replaceFile(entryPath_, entryContents().toUtf8(), 0644, error);
}

bool XdgAutostartLoginItems::unregisterItem(QString* error) {
    QFile file(entryPath_);
    if (!file.exists()) return true;
    if (!file.remove()) {
        if (error)
            *error = QStringLiteral("cannot remove %1: %2").arg(entryPath_, file.errorString());
        return false;
    }
    return true;
}

} // namespace vt
