#include "app/preferences.h"
#include "app/windows/app_chooser_dialog.h"
#include "app/windows/app_row.h"
#include "app/windows/history_tab.h"
#include "tests/app/windows/windows_doubles.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace vt {
namespace {

InstalledApp app(const char* id, const char* name) {
    return {QString::fromLatin1(id), QString::fromLatin1(name), QIcon(), {}};
}

struct HistoryFixture : test::WindowsFixture {
    int clears = 0;
    int onChanges = 0;
    HistoryTab tab{settings, catalog, [this] { ++clears; }};

    HistoryFixture() {
        settings.onChange = [this] { ++onChanges; };
        tab.resize(500, 420);
        tab.show();
    }
    QListWidget* list() { return find<QListWidget>(&tab, "excludedApps"); }
    QToolButton* button(const char* name) { return find<QToolButton>(&tab, name); }
    AppRow* row(int i) { return qobject_cast<AppRow*>(list()->itemWidget(list()->item(i))); }
};

// The stored applications in their order: one not installed here shows its known name (or its
// identifier when unknown) and the note; an installed one its name with every ".app" removed.
TEST_F(HistoryFixture, RowsNameInstalledAndMissingApplications) {
    const QStringList defaultsList = Preferences::defaultExcludedApps();
    ASSERT_EQ(list()->count(), defaultsList.size());
    for (int i = 0; i < defaultsList.size(); ++i)
        EXPECT_EQ(row(i)->bundleID(), defaultsList[i]);
    EXPECT_FALSE(row(0)->installed());
    EXPECT_EQ(row(0)->nameText(), Preferences::knownAppName(defaultsList[0]).value());
    EXPECT_EQ(find<QLabel>(row(0), "notInstalled")->text(),
              QStringLiteral("（このコンピュータには無し）"));

    catalog.apps = {{QStringLiteral("org.example.Vault"), QStringLiteral("Vault.app Keeper.app"),
                     QIcon(), QStringLiteral("/x/org.example.Vault.desktop")}};
    settings.setExcludedApps(
        {QStringLiteral("org.example.Vault"), QStringLiteral("org.example.Gone")});
    ASSERT_EQ(list()->count(), 2);
    EXPECT_TRUE(row(0)->installed());
    EXPECT_EQ(row(0)->nameText(), QStringLiteral("Vault Keeper"));
    EXPECT_EQ(row(0)->findChild<QLabel*>(QStringLiteral("notInstalled")), nullptr);
    EXPECT_EQ(row(1)->nameText(), QStringLiteral("org.example.Gone"));
}

// The chooser's order counts, a duplicate is skipped, each identifier is saved on its own;
// cancelling adds nothing.
TEST_F(HistoryFixture, AddingThreeWithOneDuplicateAppendsTwoInChooserOrder) {
    catalog.apps = {app("org.example.Alpha", "Alpha"), app("bitwarden", "Bitwarden"),
                    app("org.example.Gamma", "Gamma"), app("org.example.Delta", "Delta")};
    const QStringList before = settings.excludedApps();
    ASSERT_TRUE(before.contains(QStringLiteral("bitwarden")));
    button("addApp")->click();
    ASSERT_NE(tab.chooser(), nullptr);
    tab.chooser()->list()->item(0)->setSelected(true);
    tab.chooser()->reject();
    EXPECT_EQ(settings.excludedApps(), before);

    button("addApp")->click();
    AppChooserDialog* chooser = tab.chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isModal());
    EXPECT_EQ(chooser->confirmButton()->text(), QStringLiteral("追加"));
    ASSERT_EQ(chooser->list()->count(), 4);
    for (const int i : {2, 1, 0})
        chooser->list()->item(i)->setSelected(true);
    const int changesBefore = onChanges;
    chooser->confirmButton()->click();
    const QStringList added{QStringLiteral("org.example.Alpha"),
                            QStringLiteral("org.example.Gamma")};
    EXPECT_EQ(settings.excludedApps(), before + added);
    EXPECT_EQ(onChanges - changesBefore, 2);
    EXPECT_EQ(list()->count(), before.size() + 2);
}

TEST_F(HistoryFixture, ChooserFilterNarrowsAndDropsHiddenSelections) {
    catalog.apps = {app("org.example.Alpha", "Alpha"), app("org.example.Beta", "Beta")};
    AppChooserDialog chooser(catalog);
    chooser.list()->item(0)->setSelected(true);
    chooser.list()->item(1)->setSelected(true);
    chooser.filterField()->setText(QStringLiteral("bet"));
    EXPECT_TRUE(chooser.list()->item(0)->isHidden());
    EXPECT_FALSE(chooser.list()->item(1)->isHidden());
    EXPECT_EQ(chooser.chosenIDs(), QStringList{QStringLiteral("org.example.Beta")});
}

// Removing takes the selected entry and clears the selection; restoring replaces the list.
TEST_F(HistoryFixture, RemoveAndRestoreDefaults) {
    EXPECT_FALSE(button("removeApp")->isEnabled());
    QStringList expected = settings.excludedApps();
    list()->item(1)->setSelected(true);
    EXPECT_EQ(tab.selectedApp(), expected[1]);
    button("removeApp")->click();
    expected.removeAt(1);
    EXPECT_EQ(settings.excludedApps(), expected);
    EXPECT_FALSE(tab.selectedApp().has_value());
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_FALSE(button("removeApp")->isEnabled());

    settings.setExcludedApps({QStringLiteral("org.example.Mine"), QStringLiteral("bitwarden")});
    find<QPushButton>(&tab, "restoreDefaults")->click();
    EXPECT_EQ(settings.excludedApps(), Preferences::defaultExcludedApps());
    EXPECT_EQ(list()->count(), Preferences::defaultExcludedApps().size());
}

TEST_F(HistoryFixture, HistoryLimitPickerWritesTheStore) {
    auto* limit = find<QComboBox>(&tab, "historyLimit");
    ASSERT_EQ(limit->count(), 4);
    EXPECT_EQ(limit->currentText(), QStringLiteral("50 件"));
    limit->setCurrentIndex(3);
    emit limit->activated(3);
    EXPECT_EQ(settings.historyLimit(), 200);
}

TEST_F(HistoryFixture, ConfirmingEraseClearsTheHistoryAndCancellingDoesNot) {
    for (const auto& [answer, expected] : {std::pair{"cancelClear", 0}, {"confirmClear", 1}}) {
        clears = 0;
        find<QPushButton>(&tab, "clearHistory")->click();
        QMessageBox* box = tab.confirmation();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("履歴をすべて消去しますか？"));
        EXPECT_EQ(box->informativeText(), QStringLiteral("元に戻せません。"));
        EXPECT_EQ(clears, 0) << "nothing happens before the answer";
        find<QPushButton>(box, answer)->click();
        EXPECT_EQ(clears, expected) << answer;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(tab.confirmation(), nullptr) << "the dialog is dismissed";
    }
}

} // namespace
} // namespace vt
