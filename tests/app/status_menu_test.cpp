// The tray menu's rows: what the user sees each time the menu opens.
#include "app/status_menu.h"
#include "tests/doubles/watcher_test_support.h"

#include <QActionGroup>
#include <QMenu>
#include <gtest/gtest.h>

namespace vt {
namespace {

std::vector<ClipItem> clips(int n) {
    std::vector<ClipItem> items;
    for (int i = 0; i < n; ++i)
        items.push_back(ClipItem::makeText(QStringLiteral("clip %1").arg(i)));
    return items;
}

StatusMenuState baseState() {
    StatusMenuState s;
    s.tapInstalled = true;
    s.appName = QStringLiteral("Vantrel");
    return s;
}

// The rows' titles joined by "|", a separator as "---".
QString titles(const std::vector<StatusMenuEntry>& rows) {
    QStringList out;
    for (const auto& r : rows)
        out << (r.separator ? QStringLiteral("---") : r.title);
    return out.join(u'|');
}

TEST(StatusMenu, EmptyHistoryWithTapAndNoUpdate) {
    const auto rows = buildStatusMenu(baseState());
    EXPECT_EQ(titles(rows),
              QStringLiteral("Ctrl+V を長押しで履歴を表示|---|まだ履歴がありません|---|"
                             "表示|長押しの長さ|---|ログイン時に起動|設定…|"
                             "アップデートを確認…|---|Vantrel を終了"));
    EXPECT_FALSE(rows[0].enabled());
    EXPECT_FALSE(rows[2].enabled());
    EXPECT_EQ(rows[8].shortcut, QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(rows.back().shortcut, QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST(StatusMenu, WarningAndUpdateRowsFollowTheHint) {
    auto state = baseState();
    state.tapInstalled = false;
    state.tapProblem = TrustProblem::chordTaken;
    state.updateWaiting = true;
    const auto rows = buildStatusMenu(state);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[1].title,
              QStringLiteral("⚠︎ Ctrl+V をほかのプログラムが使っています…"));
    EXPECT_EQ(rows[1].action, StatusMenuAction::showOnboarding);
    EXPECT_EQ(rows[2].title, QStringLiteral("新しい版があります…"));
    EXPECT_EQ(rows[2].action, StatusMenuAction::checkForUpdates);
    EXPECT_TRUE(rows[3].separator);
}

// Titles are shortened to forty characters.
TEST(StatusMenu, ListsTheTenNewestClipsTaggedInOrder) {
    auto state = baseState();
    state.recentClips = clips(25);
    state.recentClips[0] = ClipItem::makeText(QString(60, QLatin1Char('x')));
    const auto rows = buildStatusMenu(state);
    std::vector<int> tags;
    for (const auto& r : rows) {
        if (r.action == StatusMenuAction::copyFromMenu) {
            EXPECT_EQ(r.title, r.tag ? QStringLiteral("clip %1").arg(r.tag)
                                     : QString(39, QLatin1Char('x')) + QStringLiteral("…"));
            tags.push_back(r.tag);
        }
    }
    EXPECT_EQ(tags, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

const StatusMenuEntry& row(const std::vector<StatusMenuEntry>& rows, const char* title) {
    return *std::find_if(rows.begin(), rows.end(), [&](const StatusMenuEntry& r) {
        return r.title == QString::fromUtf8(title);
    });
}

// Only the row matching the delay is checked (a delay no row offers checks none).
TEST(StatusMenu, SubmenusCheckOnlyTheMatchingRow) {
    for (const auto& [delay, checkedIndex] :
         {std::pair{0.3, -1}, {0.2505, 1}, {0.2, 0}, {0.5, 3}, {0.352, -1}}) {
        auto state = baseState();
        state.holdDelay = delay;
        const auto rows = buildStatusMenu(state);
        const auto& delays = row(rows, "長押しの長さ").submenu;
        ASSERT_EQ(delays.size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(delays[std::size_t(i)].checked, i == checkedIndex) << delay << " " << i;
    }
}

TEST(StatusMenu, PopulatedMenuTriggersTheChosenRow) {
    auto state = baseState();
    state.recentClips = clips(3);
    state.recentClips.push_back(ClipItem::makeText(QStringLiteral("Tom & Jerry")));
    state.recentClips.push_back(
        ClipItem::makeImage(test::encoded(test::sampleImage(64, 48), "png")));
    QMenu menu;
    std::vector<StatusMenuEntry> chosen;
    populateMenu(menu, buildStatusMenu(state),
                 [&](const StatusMenuEntry& e) { chosen.push_back(e); });
    const auto actions = menu.actions();
    QAction* second = nullptr;
    for (QAction* a : actions)
        if (a->text() == QStringLiteral("clip 1")) second = a;
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(actions[0]->isEnabled()); // the hint row
    // An "&" is shown, not taken as a shortcut letter; an image row gives its pixel size.
    EXPECT_EQ(actions[5]->text(), QStringLiteral("Tom && Jerry"));
    EXPECT_EQ(actions[6]->text(), QStringLiteral("画像 64×48"));
    // The two one-of-several submenus are radio groups.
    for (QAction* a : actions) {
        if (!a->menu()) continue;
        for (QAction* choice : a->menu()->actions()) {
            ASSERT_NE(choice->actionGroup(), nullptr) << choice->text().toStdString();
            EXPECT_TRUE(choice->actionGroup()->isExclusive());
            EXPECT_EQ(choice->actionGroup(), a->menu()->actions().front()->actionGroup());
        }
    }
    second->trigger();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].tag, 1);
    // Rebuilding replaces every row rather than appending.
    populateMenu(menu, buildStatusMenu(state), [](const StatusMenuEntry&) {});
    EXPECT_EQ(menu.actions().size(), actions.size());
}

} // namespace
} // namespace vt
