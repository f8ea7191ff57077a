#include "app/windows/paste_keys_section.h"
#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/windows/app_chooser_dialog.h"
#include "app/windows/app_row.h"
#include "app/windows/grouped_form.h"
#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vt {
namespace {

constexpr int kIdRole = Qt::UserRole + 1;

QString tr(const char* text) {
    return QCoreApplication::translate("Vantrel", text);
}

} // namespace

PasteAppsEditor::PasteAppsEditor(AppSettings& settings, const AppCatalog& catalog,
                                 PasteAppList list, QWidget* parent)
    : QWidget(parent), settings_(settings), catalog_(catalog), which_(list) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    list_ = new QListWidget;
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFixedHeight(72);
    list_->setFrameShape(QFrame::NoFrame);
    layout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    QToolButton* add =
        symbolButton(Symbol::plus, QStringLiteral("addPasteApp"), tr("アプリを追加"));
    remove_ =
        symbolButton(Symbol::minus, QStringLiteral("removePasteApp"), tr("選んだアプリを外す"));
    auto* restore = new QPushButton(tr("最初の状態に戻す"));
    restore->setObjectName(QStringLiteral("restorePasteApps"));
    restore->setFlat(true);
    restore->setAutoDefault(false);
    QPalette link = restore->palette();
    link.setColor(QPalette::ButtonText, WindowStyle::accent());
    restore->setPalette(link);
    buttons->addWidget(add);
    buttons->addWidget(remove_);
    buttons->addStretch(1);
    buttons->addWidget(restore);
    layout->addLayout(buttons);

    connect(add, &QToolButton::clicked, this, &PasteAppsEditor::addApps);
    connect(remove_, &QToolButton::clicked, this, &PasteAppsEditor::removeSelected);
    connect(restore, &QPushButton::clicked, this,
            [this] { settings_.setPasteApps(which_, Preferences::defaultPasteApps(which_)); });
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { remove_->setEnabled(!list_->selectedItems().isEmpty()); });
    connect(&settings_, &AppSettings::changed, this, &PasteAppsEditor::refresh);
    refresh();
}

void PasteAppsEditor::refresh() {
    const QStringList apps = settings_.pasteApps(which_);
    if (apps != shown_) {
        shown_ = apps;
        list_->clear();
        for (const QString& id : shown_) {
            auto* item = new QListWidgetItem(list_);
            item->setData(kIdRole, id);
            item->setSizeHint(QSize(0, 24));
            list_->setItemWidget(item, new AppRow(id, catalog_));
        }
    }
    remove_->setEnabled(!list_->selectedItems().isEmpty());
}

void PasteAppsEditor::addApps() {
    auto* dialog = new AppChooserDialog(catalog_, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        QStringList current = settings_.pasteApps(which_);
        for (const QString& id : dialog->chosenIDs())
            if (!id.isEmpty() && !current.contains(id, Qt::CaseInsensitive)) current << id;
        settings_.setPasteApps(which_, current);
    });
    dialog->open();
}

void PasteAppsEditor::removeSelected() {
    const auto items = list_->selectedItems();
    if (items.isEmpty()) return;
    QStringList current = settings_.pasteApps(which_);
    current.removeAll(items.front()->data(kIdRole).toString());
    settings_.setPasteApps(which_, current);
}

void addPasteKeysSection(GroupedForm& form, AppSettings& settings, const AppCatalog& catalog) {
    FormSection* section = form.addSection(
        tr("貼り付けのキー"),
        tr("長押しで選んだものは Ctrl+V で貼り付けます。端末など Ctrl+V で貼り付けないアプリには、"
           "下のキーを使います。短く押した Ctrl+V は、どのアプリにもそのまま届きます。"));
    const struct {
        PasteAppList list;
        const char* caption;
        const char* objectName;
    } lists[] = {
        {PasteAppList::ctrlShiftV,
         QT_TRANSLATE_NOOP("Vantrel", "Ctrl+Shift+V で貼り付けるアプリ（端末）"), "ctrlShiftVApps"},
        {PasteAppList::shiftInsert,
         QT_TRANSLATE_NOOP(
             "Vantrel", "Shift+Insert で貼り付けるアプリ（xterm など。PRIMARY 選択にも入れます）"),
         "shiftInsertApps"},
        {PasteAppList::passThrough,
         QT_TRANSLATE_NOOP("Vantrel", "長押ししないアプリ（Ctrl+V をいつもそのまま渡します）"),
         "passThroughApps"},
    };
    for (const auto& l : lists) {
        section->addCaptionRow(WindowStyle::label(tr(l.caption), WindowStyle::Text::caption,
                                                  WindowStyle::Tone::secondary, true));
        auto* editor = new PasteAppsEditor(settings, catalog, l.list);
        editor->list()->setObjectName(QString::fromLatin1(l.objectName));
        section->addWideRow(editor, 2);
    }
}

} // namespace vt
