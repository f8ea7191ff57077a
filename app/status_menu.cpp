#include "app/status_menu.h"
#include "app/preferences.h"
#include <QAction>
#include <QMenu>
#include <cmath>

namespace vt {

namespace {

StatusMenuEntry row(QString title, StatusMenuAction action = StatusMenuAction::none) {
    StatusMenuEntry e;
    e.title = std::move(title);
    e.action = action;
    return e;
}

StatusMenuEntry separator() {
    StatusMenuEntry e;
    e.separator = true;
    return e;
}

StatusMenuEntry choice(QString title, StatusMenuAction action, QVariant value, bool checked) {
    StatusMenuEntry e = row(std::move(title), action);
    e.representedValue = std::move(value);
    e.checkable = true;
    e.checked = checked;
    return e;
}

constexpr std::size_t kMenuClips = 10;
constexpr qsizetype kMenuTitleLength = 40;

} // namespace

std::vector<StatusMenuEntry> buildStatusMenu(const StatusMenuState& state) {
    std::vector<StatusMenuEntry> rows;
    rows.push_back(row(QStringLiteral("⌘V を長押しで履歴を表示")));
    if (!state.tapInstalled)
        rows.push_back(
            row(QStringLiteral("⚠︎ アクセシビリティを許可してください…"),
                StatusMenuAction::showOnboarding));
    if (state.updateWaiting)
        rows.push_back(
            row(QStringLiteral("新しい版があります…"), StatusMenuAction::checkForUpdates));
    rows.push_back(separator());

    if (state.recentClips.empty()) {
        rows.push_back(row(QStringLiteral("まだ履歴がありません")));
    } else {
        const std::size_t n = std::min(state.recentClips.size(), kMenuClips);
        for (std::size_t i = 0; i < n; ++i) {
            StatusMenuEntry e =
                row(state.recentClips[i].snippet(kMenuTitleLength), StatusMenuAction::copyFromMenu);
            e.tag = static_cast<int>(i);
            rows.push_back(std::move(e));
        }
    }
    rows.push_back(separator());

    StatusMenuEntry style = row(QStringLiteral("表示"));
    style.submenu.push_back(choice(QStringLiteral("扇（カーソルの右に広がる）"),
                                   StatusMenuAction::setStyle, true, state.useFan));
    style.submenu.push_back(
        choice(QStringLiteral("リング"), StatusMenuAction::setStyle, false, !state.useFan));
    rows.push_back(std::move(style));

    StatusMenuEntry delay = row(QStringLiteral("長押しの長さ"));
    for (const auto& option : Preferences::holdDelayOptions())
        delay.submenu.push_back(choice(option.label, StatusMenuAction::setDelay, option.value,
                                       std::abs(state.holdDelay - option.value) < 0.001));
    rows.push_back(std::move(delay));
    rows.push_back(separator());

    StatusMenuEntry login =
        row(QStringLiteral("ログイン時に起動"), StatusMenuAction::toggleLaunchAtLogin);
    login.checkable = true;
    login.checked = state.launchAtLoginEnabled;
    rows.push_back(std::move(login));
    StatusMenuEntry settings = row(QStringLiteral("設定…"), StatusMenuAction::showSettings);
    settings.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Comma);
    rows.push_back(std::move(settings));
    rows.push_back(row(QStringLiteral("アップデートを確認…"), StatusMenuAction::checkForUpdates));
    rows.push_back(separator());
    StatusMenuEntry quit = row(state.appName + QStringLiteral(" を終了"), StatusMenuAction::quit);
    quit.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Q);
    rows.push_back(std::move(quit));
    return rows;
}

void populateMenu(QMenu& menu, const std::vector<StatusMenuEntry>& entries,
                  const std::function<void(const StatusMenuEntry&)>& onAction) {
    menu.clear();
    for (const auto& entry : entries) {
        if (entry.separator) {
            menu.addSeparator();
            continue;
        }
        if (!entry.submenu.empty()) {
            QMenu* sub = menu.addMenu(entry.title);
            populateMenu(*sub, entry.submenu, onAction);
            continue;
        }
        QAction* action = menu.addAction(entry.title);
        action->setEnabled(entry.enabled());
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checked);
        if (!entry.shortcut.isEmpty()) {
            action->setShortcut(entry.shortcut);
            action->setShortcutVisibleInContextMenu(true);
        }
        if (entry.tag >= 0)
            action->setData(entry.tag);
        else if (entry.representedValue.isValid())
            action->setData(entry.representedValue);
        if (entry.enabled()) {
            // The entry is copied into the connection: the menu is rebuilt on every opening.
            QObject::connect(action, &QAction::triggered, &menu,
                             [onAction, entry] { onAction(entry); });
        }
    }
}

} // namespace vt
