#pragma once
#include "history/clip_item.h"
#include "platform/trust.h"
#include <QKeySequence>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

class QMenu;

namespace vt {

// What the tray menu shows, read fresh every time it opens.
struct StatusMenuState {
    bool tapInstalled = false;
    TrustProblem tapProblem = TrustProblem::none; // why the tap is not installed
    bool updateWaiting = false;
    std::vector<ClipItem> recentClips; // newest first; only the first ten are listed
    bool useFan = true;
    double holdDelay = 0.25;
    bool launchAtLoginEnabled = false;
    QString appName;
};

enum class StatusMenuAction {
    none,
    showOnboarding,
    checkForUpdates,
    copyFromMenu,
    setStyle,
    setDelay,
    toggleLaunchAtLogin,
    showSettings,
    quit,
};

struct StatusMenuEntry {
    bool separator = false;
    QString title;
    StatusMenuAction action = StatusMenuAction::none;
    bool checkable = false;
    bool checked = false;
    bool exclusive = false; // one of several: a radio mark, siblings form one group
    int tag = -1;
    QVariant representedValue;
    QKeySequence shortcut;
    std::vector<StatusMenuEntry> submenu;

    // Rows without an action are shown disabled (submenu titles excepted).
    bool enabled() const { return action != StatusMenuAction::none || !submenu.empty(); }
};

// The rows of the tray menu, in order.
std::vector<StatusMenuEntry> buildStatusMenu(const StatusMenuState& state);

// Replaces the menu's contents with the rows; choosing a row calls onAction with it.
void populateMenu(QMenu& menu, const std::vector<StatusMenuEntry>& entries,
                  const std::function<void(const StatusMenuEntry&)>& onAction);

} // namespace vt
