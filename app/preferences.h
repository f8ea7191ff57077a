#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vt {

enum class PasteAppList;

// The fixed choices offered for each setting, and names for well-known applications.
namespace Preferences {

struct HoldDelayOption {
    QString label;
    double value;
};

const std::vector<HoldDelayOption>& holdDelayOptions();
const std::vector<std::int64_t>& fanSlotOptions();
const std::vector<std::int64_t>& historyLimitOptions();
// Password managers: their copies are not recorded unless the user says otherwise.
const QStringList& defaultExcludedApps();
// The applications each paste list starts with: terminals that paste with Ctrl+Shift+V, the
// xterm family that pastes PRIMARY with Shift+Insert, and none that keep Ctrl+V. Window classes
// and desktop ids, matched without regard to case.
const QStringList& defaultPasteApps(PasteAppList list);
// The default list of early builds (another platform's application ids), replaced when read.
const QStringList& formerDefaultExcludedApps();
// Application id -> display name, in table order.
const std::vector<std::pair<QString, QString>>& knownAppNames();
std::optional<QString> knownAppName(const QString& bundleID);

} // namespace Preferences
} // namespace vt
