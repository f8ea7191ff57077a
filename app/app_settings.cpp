#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/windows/desktop_services.h"
#include "platform/log.h"
#include <algorithm>
#include <cmath>

namespace vt {

namespace {

const QString kHoldDelay = QStringLiteral("holdDelay");
const QString kPickerStyle = QStringLiteral("pickerStyle");
const QString kFanSlots = QStringLiteral("fanSlots");
const QString kHistoryLimit = QStringLiteral("historyLimit");
const QString kExcludedApps = QStringLiteral("excludedApps");
const QString kOnboardingDone = QStringLiteral("onboardingDone");
const QString kPasteApps[3] = {QStringLiteral("ctrlShiftVApps"), QStringLiteral("shiftInsertApps"),
                               QStringLiteral("passThroughApps")};
const QString kLoginItemDefaultApplied = QStringLiteral("loginItemDefaultApplied");

double validHoldDelay(double stored) {
    for (const auto& option : Preferences::holdDelayOptions())
        if (std::fabs(stored - option.value) <= 0.001) return stored;
    return 0.25;
}

std::int64_t oneOf(std::int64_t stored, const std::vector<std::int64_t>& choices,
                   std::int64_t fallback) {
    return std::find(choices.begin(), choices.end(), stored) != choices.end() ? stored : fallback;
}

} // namespace

AppSettings& AppSettings::shared() {
    static AppSettings* settings =
        new AppSettings(DesktopServices::userDefaults(), DesktopServices::loginItems());
    return *settings;
}

AppSettings::AppSettings(UserDefaults& defaults, LoginItemService& loginItems, QObject* parent)
    : QObject(parent), defaults_(defaults), loginItems_(loginItems) {
    // Rejected stored values stay stored until the setting is next changed.
    holdDelay_ = validHoldDelay(defaults_.doubleForKey(kHoldDelay));
    useFan_ = defaults_.stringForKey(kPickerStyle) != QStringLiteral("ring");
    fanSlots_ = oneOf(defaults_.integerForKey(kFanSlots), Preferences::fanSlotOptions(), 12);
    historyLimit_ =
        oneOf(defaults_.integerForKey(kHistoryLimit), Preferences::historyLimitOptions(), 50);
    excludedApps_ =
        defaults_.stringArrayForKey(kExcludedApps).value_or(Preferences::defaultExcludedApps());
    for (auto list :
         {PasteAppList::ctrlShiftV, PasteAppList::shiftInsert, PasteAppList::passThrough})
        pasteApps_[int(list)] = defaults_.stringArrayForKey(kPasteApps[int(list)])
                                    .value_or(Preferences::defaultPasteApps(list));
    // Early builds stored another platform's application ids as the default list; a list the
    // user never edited follows the default, an edited one stays as it is.
    if (excludedApps_ == Preferences::formerDefaultExcludedApps())
        excludedApps_ = Preferences::defaultExcludedApps();
    onboardingDone_ = defaults_.boolForKey(kOnboardingDone);
}

void AppSettings::setPasteApps(PasteAppList list, const QStringList& value) {
    pasteApps_[int(list)] = value;
    defaults_.setStringArray(kPasteApps[int(list)], value);
    notify(true);
}

void AppSettings::setHoldDelay(double value) {
    holdDelay_ = value;
    defaults_.setDouble(kHoldDelay, value);
    notify(true);
}

void AppSettings::setUseFan(bool value) {
    useFan_ = value;
    defaults_.setString(kPickerStyle, value ? QStringLiteral("fan") : QStringLiteral("ring"));
    notify(true);
}

void AppSettings::setFanSlots(std::int64_t value) {
    fanSlots_ = value;
    defaults_.setInteger(kFanSlots, value);
    notify(true);
}

void AppSettings::setHistoryLimit(std::int64_t value) {
    historyLimit_ = value;
    defaults_.setInteger(kHistoryLimit, value);
    notify(true);
}

void AppSettings::setExcludedApps(const QStringList& value) {
    excludedApps_ = value;
    defaults_.setStringArray(kExcludedApps, value);
    notify(true);
}

void AppSettings::setOnboardingDone(bool value) {
    onboardingDone_ = value;
    defaults_.setBool(kOnboardingDone, value);
    notify(false);
}

bool AppSettings::launchAtLogin() const {
    return loginItems_.status() == LoginItemStatus::enabled;
}

LoginItemStatus AppSettings::loginItemStatus() const {
    return loginItems_.status();
}

void AppSettings::setLaunchAtLogin(bool value) {
    QString error;
    const bool ok = value ? loginItems_.registerItem(&error) : loginItems_.unregisterItem(&error);
    if (!ok) qCCritical(vtLog, "login item: %s", qUtf8Printable(error));
    // Views re-read the status, so a switch whose change failed springs back.
    emit changed();
}

void AppSettings::applyLaunchAtLoginDefaultOnce() {
    if (defaults_.boolForKey(kLoginItemDefaultApplied)) return;
    defaults_.setBool(kLoginItemDefaultApplied, true);
    if (loginItems_.status() == LoginItemStatus::enabled) return;
    setLaunchAtLogin(true);
}

void AppSettings::notify(bool callOnChange) {
    emit changed();
    if (callOnChange && onChange) onChange();
}

} // namespace vt
