#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace vt {

// One desktop entry (the [Desktop Entry] group of a .desktop file), in freedesktop.org's
// desktop-entry format.
struct DesktopEntry {
    QString id;             // desktop-file id without ".desktop"
    QString path;           // the file
    QString name;           // Name, localised where the entry offers it
    QString iconName;       // Icon: a theme icon name or an absolute path
    QString exec;           // Exec, unescaped
    QString startupWMClass; // StartupWMClass: the WM_CLASS its windows carry
    bool isApplication = false;
    bool hidden = false;    // Hidden=true: the entry counts as deleted
    bool noDisplay = false; // NoDisplay=true: installed, but not offered in choosers

    // Reads `path` as the entry with desktop-file id `id`; nothing when unreadable. `locale`
    // (e.g. "ja_JP.UTF-8") picks Name[ll_CC] over Name[ll] over Name.
    static std::optional<DesktopEntry> read(const QString& path, const QString& id,
                                            const QString& locale);
    // The program Exec starts, without folders ("keepassxc" for "env A=1 /usr/bin/keepassxc %f").
    QString execProgram() const;
};

// A string value with the escapes \s \n \t \r \\ resolved.
QString unescapeDesktopValue(const QString& value);

// The desktop entries under applications/ in a list of data folders; an entry in an earlier
// folder hides one with the same id in a later folder. Read on first use and again whenever one
// of the folders changed.
class DesktopEntries {
public:
    // dataDirs empty: $XDG_DATA_HOME then $XDG_DATA_DIRS. locale empty: the program's locale.
    explicit DesktopEntries(QStringList dataDirs = {}, QString locale = {});

    // Every entry by id, current as of this call.
    const std::map<QString, DesktopEntry>& all() const;
    // The application entry with this id (".desktop" may be given); not for deleted entries.
    std::optional<DesktopEntry> application(const QString& id) const;
    // The application entry whose windows carry this WM_CLASS (StartupWMClass), or, failing
    // that, whose id is the class or instance, or whose Exec starts this program or a program
    // named like the class or instance; compared case-insensitively. Entries hidden from
    // choosers count too.
    std::optional<DesktopEntry> forWindow(const QString& wmClass, const QString& wmInstance,
                                          const QString& executable) const;
    // Reads every folder again.
    void reload() const;

    const QString& locale() const { return locale_; }
    static QStringList xdgDataDirs();

private:
    bool foldersChanged() const;

    QStringList dataDirs_;
    QString locale_;
    mutable bool loaded_ = false;
    mutable std::map<QString, DesktopEntry> entries_;
    mutable std::map<QString, QDateTime> folderTimes_;
};

} // namespace vt
