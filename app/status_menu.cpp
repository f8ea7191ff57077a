#include "app/status_menu.h"
#include "app/preferences.h"
#include "app/trust_texts.h"
#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
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
    e.exclusive = true;
    return e;
}

// The row of a clip: its title, and for an image its size in pixels (read from the header).
QString clipTitle(const ClipItem& clip, qsizetype maxLength) {
    QString title = clip.snippet(maxLength);
    if (clip.kind == ClipItem::Kind::image && clip.imageData) {
        QByteArray bytes = *clip.imageData;
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (size.isValid()) title += QStringLiteral(" %1×%2").arg(size.width()).arg(size.height());
    }
    return title;
}

constexpr std::size_t kMenuClips = 10;
constexpr qsizetype kMenuTitleLength = 40;

} // namespace

std::vector<StatusMenuEntry> buildStatusMenu(const StatusMenuState& state) {
    std::vector<StatusMenuEntry> rows;
    rows.push_back(row(QCoreApplication::translate("Vantrel", "Ctrl+V を長押しで履歴を表示")));
    if (!state.tapInstalled)
        rows.push_back(
            row(TrustTexts::menuTitle(state.tapProblem), StatusMenuAction::showOnboarding));
    if (state.updateWaiting)
        rows.push_back(row(QCoreApplication::translate("Vantrel", "新しい版があります…"),
                           StatusMenuAction::checkForUpdates));
    rows.push_back(separator());

    if (state.recentClips.empty()) {
        rows.push_back(row(QCoreApplication::translate("Vantrel", "まだ履歴がありません")));
    } else {
        const std::size_t n = std::min(state.recentClips.size(), kMenuClips);
        for (std::size_t i = 0; i < n; ++i) {
            StatusMenuEntry e = row(clipTitle(state.recentClips[i], kMenuTitleLength),
                                    StatusMenuAction::copyFromMenu);
            e.tag = static_cast<int>(i);
            rows.push_back(std::move(e));
        }
    }
    rows.push_back(separator());

    StatusMenuEntry style = row(QCoreApplication::translate("Vantrel", "表示"));
    style.submenu.push_back(
        choice(QCoreApplication::translate("Vantrel", "扇（カーソルの右に広がる）"),
               StatusMenuAction::setStyle, true, state.useFan));
    style.submenu.push_back(choice(QCoreApplication::translate("Vantrel", "リング"),
                                   StatusMenuAction::setStyle, false, !state.useFan));
    rows.push_back(std::move(style));

    StatusMenuEntry delay = row(QCoreApplication::translate("Vantrel", "長押しの長さ"));
    for (const auto& option : Preferences::holdDelayOptions())
        delay.submenu.push_back(choice(option.label, StatusMenuAction::setDelay, option.value,
                                       std::abs(state.holdDelay - option.value) < 0.001));
    rows.push_back(std::move(delay));
    rows.push_back(separator());

    StatusMenuEntry login = row(QCoreApplication::translate("Vantrel", "ログイン時に起動"),
                                StatusMenuAction::toggleLaunchAtLogin);
    login.checkable = true;
    login.checked = state.launchAtLoginEnabled;
    rows.push_back(std::move(login));
    StatusMenuEntry settings =
        row(QCoreApplication::translate("Vantrel", "設定…"), StatusMenuAction::showSettings);
    settings.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Comma);
    rows.push_back(std::move(settings));
    rows.push_back(row(QCoreApplication::translate("Vantrel", "アップデートを確認…"),
                       StatusMenuAction::checkForUpdates));
    rows.push_back(separator());
    StatusMenuEntry quit =
        row(QCoreApplication::translate("Vantrel", "%1 を終了").arg(state.appName),
            StatusMenuAction::quit);
    quit.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Q);
    rows.push_back(std::move(quit));
    return rows;
}

void populateMenu(QMenu& menu, const std::vector<StatusMenuEntry>& entries,
                  const std::function<void(const StatusMenuEntry&)>& onAction) {
    menu.clear();
    // Groups from an earlier opening go with the menu's old actions.
    for (QActionGroup* old : menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly))
        delete old;
    QActionGroup* group = nullptr;
    for (const auto& entry : entries) {
        if (!entry.exclusive) group = nullptr;
        if (entry.separator) {
            menu.addSeparator();
            continue;
        }
        // "&" marks a shortcut letter in a menu; a title shows every "&" it has as is.
        QString shown = entry.title;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (!entry.submenu.empty()) {
            QMenu* sub = menu.addMenu(shown);
            populateMenu(*sub, entry.submenu, onAction);
            continue;
        }
        QAction* action = menu.addAction(shown);
        if (entry.exclusive) {
            if (!group) group = new QActionGroup(&menu);
            group->addAction(action);
        }
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
