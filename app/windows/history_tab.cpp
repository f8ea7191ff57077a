#include "app/windows/history_tab.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/windows/app_chooser_dialog.h"
#include "app/windows/app_row.h"
#include "app/windows/desktop_services.h"
#include "app/windows/grouped_form.h"
#include "app/windows/paste_keys_section.h"
#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace vt {
namespace {

constexpr int kIdRole = Qt::UserRole + 1;

} // namespace

HistoryTab::HistoryTab(AppSettings& settings, const AppCatalog& catalog,
                       std::function<void()> clearHistory, QWidget* parent)
    : QWidget(parent), settings_(settings), catalog_(catalog),
      clearHistory_(std::move(clearHistory)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* form = new GroupedForm;
    // The tab holds more than the window shows at once: it scrolls.
    auto* scroll = new QScrollArea;
    scroll->setWidget(form);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from control to control; the scrolling follows the focus, not a stop of its own.
    scroll->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(scroll);

    // The history itself.
    FormSection* history = form->addSection(
        {},
        QCoreApplication::translate("Vantrel", "履歴はこのコンピュータの中だけに保存されます。"));
    historyLimit_ = new QComboBox;
    historyLimit_->setObjectName(QStringLiteral("historyLimit"));
    historyLimit_->setMinimumWidth(120);
    for (std::int64_t n : Preferences::historyLimitOptions())
        historyLimit_->addItem(QString::number(n) + QCoreApplication::translate("Vantrel", " 件"),
                               qint64(n));
    history->addRow(QCoreApplication::translate("Vantrel", "覚えておく件数"), historyLimit_);
    connect(historyLimit_, &QComboBox::activated, this,
            [this](int i) { settings_.setHistoryLimit(historyLimit_->itemData(i).toLongLong()); });
    auto* clear = new QPushButton(QCoreApplication::translate("Vantrel", "履歴をすべて消去…"));
    clear->setObjectName(QStringLiteral("clearHistory"));
    clear->setAutoDefault(false);
    QPalette destructive = clear->palette();
    destructive.setColor(QPalette::ButtonText, WindowStyle::color(WindowStyle::Tone::destructive));
    clear->setPalette(destructive);
    auto* clearRow = new QWidget;
    auto* clearLayout = new QHBoxLayout(clearRow);
    clearLayout->setContentsMargins(0, 0, 0, 0);
    clearLayout->addWidget(clear);
    clearLayout->addStretch(1);
    history->addWideRow(clearRow, 6);
    connect(clear, &QPushButton::clicked, this, &HistoryTab::confirmClear);

    // Applications whose copies are not recorded.
    FormSection* apps = form->addSection(
        QCoreApplication::translate("Vantrel", "記録しないアプリ"),
        QCoreApplication::translate(
            "Vantrel", "ここにあるアプリでコピーしたものは履歴に残しません。パスワード管理アプリが"
                       "「記録しないで」と印を付けたコピーも残しません。"),
        1);
    // Where the session does not tell which application is in front, the list cannot apply.
    if (!DesktopServices::knowsFrontmostApplication() && apps->footer())
        apps->footer()->setText(apps->footer()->text() + QLatin1Char('\n') +
                                QCoreApplication::translate(
                                    "Vantrel",
                                    "このセッションでは、どのアプリでコピーしたかがわからないため、"
                                    "このリストは使われません。"));
    auto* listArea = new QWidget;
    auto* listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(4);
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("excludedApps"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumHeight(90);
    list_->setFrameShape(QFrame::NoFrame);
    // A soft selection keeps the rows' own text colours readable.
    QPalette listPalette = list_->palette();
    QColor soft = WindowStyle::accent();
    soft.setAlphaF(0.22F);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        listPalette.setColor(group, QPalette::Highlight, soft);
        listPalette.setColor(group, QPalette::HighlightedText,
                             listPalette.color(group, QPalette::Text));
    }
    list_->setPalette(listPalette);
    listLayout->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    QToolButton* add = symbolButton(Symbol::plus, QStringLiteral("addApp"),
                                    QCoreApplication::translate("Vantrel", "アプリを追加"));
    remove_ = symbolButton(Symbol::minus, QStringLiteral("removeApp"),
                           QCoreApplication::translate("Vantrel", "選んだアプリを外す"));
    auto* restore = new QPushButton(QCoreApplication::translate("Vantrel", "最初の状態に戻す"));
    restore->setObjectName(QStringLiteral("restoreDefaults"));
    restore->setFlat(true);
    restore->setAutoDefault(false);
    QPalette link = restore->palette();
    link.setColor(QPalette::ButtonText, WindowStyle::accent());
    restore->setPalette(link);
    restore->setCursor(Qt::PointingHandCursor);
    buttons->addWidget(add);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    buttons->addWidget(restore);
    listLayout->addLayout(buttons);
    apps->addWideRow(listArea, 6);
    addPasteKeysSection(*form, settings_, catalog_);

    connect(add, &QToolButton::clicked, this, &HistoryTab::addApp);
    connect(remove_, &QToolButton::clicked, this, &HistoryTab::removeSelected);
    connect(restore, &QPushButton::clicked, this, &HistoryTab::restoreDefaults);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const auto items = list_->selectedItems();
        selectedApp_ = items.isEmpty()
                           ? std::nullopt
                           : std::optional<QString>(items.front()->data(kIdRole).toString());
        remove_->setEnabled(selectedApp_.has_value());
    });

    connect(&settings_, &AppSettings::changed, this, &HistoryTab::refresh);
    refresh();
}

void HistoryTab::refresh() {
    historyLimit_->setCurrentIndex(historyLimit_->findData(qint64(settings_.historyLimit())));
    if (settings_.excludedApps() != shownApps_) rebuildList();
    remove_->setEnabled(selectedApp_.has_value());
}

void HistoryTab::rebuildList() {
    shownApps_ = settings_.excludedApps();
    const QSignalBlocker block(list_);
    list_->clear();
    QListWidgetItem* reselect = nullptr;
    for (const QString& id : shownApps_) {
        auto* item = new QListWidgetItem(list_);
        item->setData(kIdRole, id);
        auto* row = new AppRow(id, catalog_);
        item->setSizeHint(QSize(0, 28));
        list_->setItemWidget(item, row);
        if (selectedApp_ == id && !reselect) reselect = item;
    }
    if (reselect)
        reselect->setSelected(true);
    else
        selectedApp_.reset();
}

void HistoryTab::addApp() {
    if (chooser_) {
        chooser_->raise();
        return;
    }
    auto* dialog = new AppChooserDialog(catalog_, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { addApps(dialog->chosenIDs()); });
    chooser_ = dialog;
    dialog->open();
}

void HistoryTab::addApps(const QStringList& ids) {
    for (const QString& id : ids) {
        if (id.isEmpty()) continue;
        QStringList current = settings_.excludedApps();
        if (current.contains(id)) continue;
        current << id;
        settings_.setExcludedApps(current);
    }
}

void HistoryTab::removeSelected() {
    if (!selectedApp_) return;
    const QString gone = *selectedApp_;
    selectedApp_.reset();
    QStringList current = settings_.excludedApps();
    current.removeAll(gone);
    settings_.setExcludedApps(current);
    list_->clearSelection();
    remove_->setEnabled(false);
}

void HistoryTab::restoreDefaults() {
    settings_.setExcludedApps(Preferences::defaultExcludedApps());
}

void HistoryTab::confirmClear() {
    if (confirmation_) {
        confirmation_->raise();
        return;
    }
    auto* box = new QMessageBox(window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(AppInfo::name());
    box->setText(QCoreApplication::translate("Vantrel", "履歴をすべて消去しますか？"));
    box->setInformativeText(QCoreApplication::translate("Vantrel", "元に戻せません。"));
    QPushButton* erase = box->addButton(QCoreApplication::translate("Vantrel", "消去"),
                                        QMessageBox::DestructiveRole);
    erase->setObjectName(QStringLiteral("confirmClear"));
    QPalette destructive = erase->palette();
    destructive.setColor(QPalette::ButtonText, WindowStyle::color(WindowStyle::Tone::destructive));
    erase->setPalette(destructive);
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    cancel->setText(QCoreApplication::translate("Vantrel", "キャンセル"));
    cancel->setObjectName(QStringLiteral("cancelClear"));
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    connect(box, &QMessageBox::buttonClicked, this, [this, erase](QAbstractButton* b) {
        if (b == erase && clearHistory_) clearHistory_();
    });
    confirmation_ = box;
    box->open();
}

} // namespace vt
