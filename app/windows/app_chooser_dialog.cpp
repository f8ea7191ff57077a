#include "app/windows/app_chooser_dialog.h"
#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include "platform/app_catalog.h"
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt {
namespace {
constexpr int kIdRole = Qt::UserRole + 1;
} // namespace

AppChooserDialog::AppChooserDialog(const AppCatalog& catalog, QWidget* parent)
    : QDialog(parent), filter_(new QLineEdit), list_(new QListWidget) {
    setWindowTitle(QCoreApplication::translate("Vantrel", "記録しないアプリを追加"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    WindowStyle::applyWindowFont(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(QCoreApplication::translate("Vantrel", "名前で絞り込む"));
    filter_->setClearButtonEnabled(true);
    layout->addWidget(filter_);

    list_->setObjectName(QStringLiteral("apps"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setIconSize(QSize(24, 24));
    list_->setUniformItemSizes(true);
    list_->setSpacing(1);
    const QIcon fallback =
        symbolIcon(Symbol::appDashed, WindowStyle::color(WindowStyle::Tone::secondary), 24);
    for (const InstalledApp& app : catalog.installedApps()) {
        if (app.id.isEmpty()) continue;
        auto* item = new QListWidgetItem(app.icon.isNull() ? fallback : app.icon,
                                         WindowStyle::displayName(app.name), list_);
        item->setData(kIdRole, app.id);
        item->setToolTip(app.id);
    }
    layout->addWidget(list_, 1);

    auto* buttons = new QDialogButtonBox;
    confirm_ = buttons->addButton(QCoreApplication::translate("Vantrel", "追加"),
                                  QDialogButtonBox::AcceptRole);
    confirm_->setObjectName(QStringLiteral("confirm"));
    confirm_->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(QCoreApplication::translate("Vantrel", "キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(filter_, &QLineEdit::textChanged, this, &AppChooserDialog::applyFilter);
    filter_->installEventFilter(this);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { confirm_->setEnabled(!chosenIDs().isEmpty()); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    confirm_->setEnabled(false);
    resize(420, 480);
}

void AppChooserDialog::applyFilter(const QString& text) {
    const QString needle = text.trimmed();
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        const bool match = needle.isEmpty() || item->text().contains(needle, Qt::CaseInsensitive) ||
                           item->data(kIdRole).toString().contains(needle, Qt::CaseInsensitive);
        item->setHidden(!match);
        // A hidden row is never added by surprise.
        if (!match) item->setSelected(false);
    }
}

bool AppChooserDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        for (int i = 0; i < list_->count(); ++i) {
            QListWidgetItem* item = list_->item(i);
            if (item->isHidden()) continue;
            list_->setFocus();
            list_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QStringList AppChooserDialog::chosenIDs() const {
    QStringList ids;
    for (int i = 0; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        if (item->isSelected() && !item->isHidden()) ids << item->data(kIdRole).toString();
    }
    return ids;
}

} // namespace vt
