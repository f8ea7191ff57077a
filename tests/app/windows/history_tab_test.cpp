#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/windows/app_chooser_dialog.h"
#include "app/windows/app_row.h"
#include "app/windows/history_tab.h"
#include "tests/app/windows/windows_doubles.h"
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace vt {
namespace {

struct HistoryFixture : ::testing::Test {
    test::InMemoryDefaults defaults;
    test::StubLoginItems loginItems;
    test::FakeCatalog catalog;
    AppSettings settings{defaults, loginItems};
    int clears = 0;
    int onChanges = 0;
    HistoryTab tab{settings, catalog, [this] { ++clears; }};

    HistoryFixture() {
        settings.onChange = [this] { ++onChanges; };
        tab.resize(500, 420);
        tab.show();
    }
    QListWidget* list() { return tab.findChild<QListWidget*>(QStringLiteral("excludedApps")); }
    QToolButton* button(const char* name) {
        return tab.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    AppRow* row(int i) { return qobject_cast<AppRow*>(list()->itemWidget(list()->item(i))); }
};

TEST_F(HistoryFixture, ListsTheStoredApplicationsInOrder) {
    const QStringList defaultsList = Preferences::defaultExcludedApps();
    ASSERT_EQ(list()->count(), defaultsList.size());
    for (int i = 0; i < defaultsList.size(); ++i)
        EXPECT_EQ(row(i)->bundleID(), defaultsList[i]);
    // Not installed here: known name, dashed symbol and the note.
    EXPECT_FALSE(row(0)->installed());
    EXPECT_EQ(row(0)->nameText(), Preferences::knownAppName(defaultsList[0]).value());
    ASSERT_NE(row(0)->findChild<QLabel*>(QStringLiteral("notInstalled")), nullptr);
    EXPECT_EQ(row(0)->findChild<QLabel*>(QStringLiteral("notInstalled"))->text(),
              QStringLiteral("（このコンピュータには無し）"));
}

// An unknown missing application shows its identifier; an installed one its name with every
// ".app" removed and no note.
TEST_F(HistoryFixture, RowsNameInstalledAndUnknownApplications) {
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

TEST_F(HistoryFixture, AddingThreeWithOneDuplicateAppendsTwoInChooserOrder) {
    catalog.apps = {
        {QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), QIcon(), {}},
        {QStringLiteral("bitwarden"), QStringLiteral("Bitwarden"), QIcon(), {}},
        {QStringLiteral("org.example.Gamma"), QStringLiteral("Gamma"), QIcon(), {}},
        {QStringLiteral("org.example.Delta"), QStringLiteral("Delta"), QIcon(), {}},
    };
    const QStringList before = settings.excludedApps();
    ASSERT_TRUE(before.contains(QStringLiteral("bitwarden")));
    button("addApp")->click();
    AppChooserDialog* chooser = tab.chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isModal());
    EXPECT_EQ(chooser->confirmButton()->text(), QStringLiteral("追加"));
    ASSERT_EQ(chooser->list()->count(), 4);
    // Selected in a different order than shown: the chooser's order counts.
    chooser->list()->item(2)->setSelected(true);
    chooser->list()->item(1)->setSelected(true);
    chooser->list()->item(0)->setSelected(true);
    const int changesBefore = onChanges;
    chooser->confirmButton()->click();
    const QStringList expected = before + QStringList{QStringLiteral("org.example.Alpha"),
                                                      QStringLiteral("org.example.Gamma")};
    EXPECT_EQ(settings.excludedApps(), expected);
    EXPECT_EQ(onChanges - changesBefore, 2) << "each identifier is saved on its own";
    EXPECT_EQ(list()->count(), before.size() + 2);
}

TEST_F(HistoryFixture, ChooserFilterNarrowsAndDropsHiddenSelections) {
    catalog.apps = {
        {QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), QIcon(), {}},
        {QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), QIcon(), {}},
    };
    AppChooserDialog chooser(catalog);
    chooser.list()->item(0)->setSelected(true);
    chooser.list()->item(1)->setSelected(true);
    chooser.filterField()->setText(QStringLiteral("bet"));
    EXPECT_TRUE(chooser.list()->item(0)->isHidden());
    EXPECT_FALSE(chooser.list()->item(1)->isHidden());
    EXPECT_EQ(chooser.chosenIDs(), QStringList{QStringLiteral("org.example.Beta")});
}

TEST_F(HistoryFixture, CancellingTheChooserAddsNothing) {
    catalog.apps = {{QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), QIcon(), {}}};
    const QStringList before = settings.excludedApps();
    button("addApp")->click();
    ASSERT_NE(tab.chooser(), nullptr);
    tab.chooser()->list()->item(0)->setSelected(true);
    tab.chooser()->reject();
    EXPECT_EQ(settings.excludedApps(), before);
}

TEST_F(HistoryFixture, RemovingTheSelectedEntryClearsTheSelection) {
    EXPECT_FALSE(button("removeApp")->isEnabled());
    const QStringList before = settings.excludedApps();
    list()->item(1)->setSelected(true);
    EXPECT_EQ(tab.selectedApp(), before[1]);
    EXPECT_TRUE(button("removeApp")->isEnabled());
    button("removeApp")->click();
    QStringList expected = before;
    expected.removeAt(1);
    EXPECT_EQ(settings.excludedApps(), expected);
    EXPECT_FALSE(tab.selectedApp().has_value());
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_FALSE(button("removeApp")->isEnabled());
}

TEST_F(HistoryFixture, RestoreReplacesRatherThanMerges) {
    settings.setExcludedApps({QStringLiteral("org.example.Mine"), QStringLiteral("bitwarden")});
    tab.findChild<QPushButton*>(QStringLiteral("restoreDefaults"))->click();
    EXPECT_EQ(settings.excludedApps(), Preferences::defaultExcludedApps());
    EXPECT_EQ(list()->count(), Preferences::defaultExcludedApps().size());
}

TEST_F(HistoryFixture, HistoryLimitPickerWritesTheStore) {
    auto* limit = tab.findChild<QComboBox*>(QStringLiteral("historyLimit"));
    ASSERT_EQ(limit->count(), 4);
    EXPECT_EQ(limit->currentText(), QStringLiteral("50 件"));
    limit->setCurrentIndex(3);
    emit limit->activated(3);
    EXPECT_EQ(settings.historyLimit(), 200);
}

TEST_F(HistoryFixture, ConfirmingEraseClearsTheHistoryAndCancellingDoesNot) {
    struct Case {
        const char* button;
        int clears;
    };
    for (const Case c : {Case{"cancelClear", 0}, Case{"confirmClear", 1}}) {
        clears = 0;
        tab.findChild<QPushButton*>(QStringLiteral("clearHistory"))->click();
        QMessageBox* box = tab.confirmation();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("履歴をすべて消去しますか？"));
        EXPECT_EQ(box->informativeText(), QStringLiteral("元に戻せません。"));
        EXPECT_EQ(clears, 0) << "nothing happens before the answer";
        auto* answer = box->findChild<QPushButton*>(QString::fromLatin1(c.button));
        ASSERT_NE(answer, nullptr);
        answer->click();
        EXPECT_EQ(clears, c.clears) << c.button;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(tab.confirmation(), nullptr) << "the dialog is dismissed";
    }
}

} // namespace
} // namespace vt
