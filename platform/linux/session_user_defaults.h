#pragma once
#include "platform/user_defaults.h"
#include <QSettings>

namespace vt {

// User defaults in an ini file, by default $XDG_CONFIG_HOME/Vantrel/Vantrel.conf (read when the
// object is made). Every write is flushed at once so a crash loses nothing. The file is the
// user's alone (0600, its folder 0700), whatever the umask.
class QSettingsUserDefaults final : public UserDefaults {
public:
    QSettingsUserDefaults();
    explicit QSettingsUserDefaults(const QString& filePath);

    // The default file: $XDG_CONFIG_HOME (else ~/.config) + /Vantrel/Vantrel.conf.
    static QString defaultFilePath();
    QString filePath() const { return settings_.fileName(); }

    bool contains(const QString& key) const override;
    double doubleForKey(const QString& key) const override;
    std::optional<QString> stringForKey(const QString& key) const override;
    std::int64_t integerForKey(const QString& key) const override;
    std::optional<QStringList> stringArrayForKey(const QString& key) const override;
    bool boolForKey(const QString& key) const override;

    void setDouble(const QString& key, double value) override;
    void setString(const QString& key, const QString& value) override;
    void setInteger(const QString& key, std::int64_t value) override;
    void setStringArray(const QString& key, const QStringList& value) override;
    void setBool(const QString& key, bool value) override;

private:
    void store(const QString& key, const QVariant& value);
    void makePrivate();

    mutable QSettings settings_;
    bool private_ = false;
};

} // namespace vt
