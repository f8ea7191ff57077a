#include "platform/linux/session_user_defaults.h"
#include "platform/log.h"
#include "platform/private_files.h"
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <cmath>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace vt {

namespace {

// An ini file keeps no types: every scalar comes back as text. Numbers and flags are read from
// their text; lists are written as a JSON array so that a one-element or empty list stays a list.
std::optional<double> numberFrom(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return value.toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double number = value.toString().trimmed().toDouble(&ok);
        if (ok && std::isfinite(number)) return number;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QStringList> listFrom(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) return value.toStringList();
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    const QString text = value.toString().trimmed();
    if (!text.startsWith(u'[')) return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) return std::nullopt;
    QStringList list;
    for (const QJsonValue& element : document.array()) {
        if (!element.isString()) return std::nullopt;
        list.append(element.toString());
    }
    return list;
}

} // namespace

QSettingsUserDefaults::QSettingsUserDefaults() : QSettingsUserDefaults(defaultFilePath()) {}

QSettingsUserDefaults::QSettingsUserDefaults(const QString& filePath)
    : settings_(filePath, QSettings::IniFormat) {}

QString QSettingsUserDefaults::defaultFilePath() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/Vantrel/Vantrel.conf");
}

bool QSettingsUserDefaults::contains(const QString& key) const {
    return settings_.contains(key);
}

double QSettingsUserDefaults::doubleForKey(const QString& key) const {
    return numberFrom(settings_.value(key)).value_or(0.0);
}

std::optional<QString> QSettingsUserDefaults::stringForKey(const QString& key) const {
    const QVariant value = settings_.value(key);
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

std::int64_t QSettingsUserDefaults::integerForKey(const QString& key) const {
    const QVariant value = settings_.value(key);
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const qlonglong whole = value.toString().trimmed().toLongLong(&ok);
        if (ok) return whole;
    }
    const std::optional<double> number = numberFrom(value);
    // Fractions are cut like the platform's integer reads; values beyond the range read as 0.
    if (!number || std::fabs(*number) >= 9.2e18) return 0;
    return static_cast<std::int64_t>(*number);
}

std::optional<QStringList> QSettingsUserDefaults::stringArrayForKey(const QString& key) const {
    return listFrom(settings_.value(key));
}

bool QSettingsUserDefaults::boolForKey(const QString& key) const {
    const QVariant value = settings_.value(key);
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == u"true" || text == u"yes") return true;
        if (text == u"false" || text == u"no") return false;
    }
    const std::optional<double> number = numberFrom(value);
    return number && *number != 0.0;
}

void QSettingsUserDefaults::setDouble(const QString& key, double value) {
    store(key, QString::number(value, 'g', std::numeric_limits<double>::max_digits10));
}

void QSettingsUserDefaults::setString(const QString& key, const QString& value) {
    store(key, value);
}

void QSettingsUserDefaults::setInteger(const QString& key, std::int64_t value) {
    store(key, QString::number(value));
}

void QSettingsUserDefaults::setStringArray(const QString& key, const QStringList& value) {
    const QJsonDocument document(QJsonArray::fromStringList(value));
    store(key, QString::fromUtf8(document.toJson(QJsonDocument::Compact)));
}

void QSettingsUserDefaults::setBool(const QString& key, bool value) {
    store(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

// Before the first write: the folder and the file exist with their modes, and later writes
// (which replace the file) keep the file's mode.
void QSettingsUserDefaults::makePrivate() {
    private_ = true;
    const QString path = settings_.fileName();
    QString error;
    if (!PrivateFiles::makeFolders(QFileInfo(path).path(), 0700, true, &error))
        qCWarning(vtLog) << "settings:" << error;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
}

void QSettingsUserDefaults::store(const QString& key, const QVariant& value) {
    if (!private_) makePrivate();
    settings_.setValue(key, value);
    settings_.sync();
    if (settings_.status() != QSettings::NoError)
        qCWarning(vtLog) << "settings: could not write" << settings_.fileName();
}

} // namespace vt
