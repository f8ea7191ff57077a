#include "app/update_check_window.h"
#include "app/app_info.h"
#include "platform/log.h"
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vt {

UpdateCheckWindow::UpdateCheckWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      headline_(new QLabel(this)), detail_(new QLabel(this)), notes_(new QTextBrowser(this)),
      primary_(new QPushButton(this)), secondary_(new QPushButton(QStringLiteral("あとで"), this)) {
    QFont bold = headline_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    headline_->setFont(bold);
    headline_->setWordWrap(true);
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->setOpenExternalLinks(true);
    notes_->setMinimumHeight(140);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(secondary_);
    buttons->addWidget(primary_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addWidget(detail_);
    layout->addWidget(notes_, 1);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(primary_, &QPushButton::clicked, this, &UpdateCheckWindow::primaryPressed);
    connect(secondary_, &QPushButton::clicked, this, &QWidget::close);
}

void UpdateCheckWindow::showChecking() {
    downloadURL_.clear();
    present(QStringLiteral("新しい版を確認しています…"), QString(), QString(),
            QStringLiteral("キャンセル"), false);
    primary_->setEnabled(true);
}

void UpdateCheckWindow::showUpdateFound(const AppcastItem& update, const QString& currentVersion) {
    // A feed item without a usable address still leads to the product site.
    downloadURL_ = update.downloadURL.isEmpty() ? AppInfo::siteURL() : update.downloadURL;
    QString notes = update.releaseNotes;
    if (notes.isEmpty() && update.releaseNotesURL.isValid())
        notes = QStringLiteral("<a href=\"%1\">変更点を見る</a>")
                    .arg(update.releaseNotesURL.toString().toHtmlEscaped());
    present(
        QStringLiteral("%1 の新しい版 %2 があります").arg(AppInfo::name(), update.displayVersion()),
        QStringLiteral("いまお使いの版は %1 です。ダウンロードページから新しい版を入手できます。")
            .arg(currentVersion),
        notes, QStringLiteral("ダウンロードページを開く"), true);
}

void UpdateCheckWindow::showUpToDate(const QString& currentVersion) {
    downloadURL_.clear();
    present(QStringLiteral("最新の版です"),
            QStringLiteral("%1 %2 はいま配信されている最新の版です。")
                .arg(AppInfo::name(), currentVersion),
            QString(), QStringLiteral("OK"), false);
}

void UpdateCheckWindow::showFailure(const QString& description) {
    downloadURL_.clear();
    present(QStringLiteral("新しい版を確認できませんでした"),
            QStringLiteral("（%1）\nしばらくしてからもう一度お試しください。").arg(description),
            QString(), QStringLiteral("OK"), false);
}

void UpdateCheckWindow::present(const QString& headline, const QString& detail,
                                const QString& notes, const QString& primary, bool showSecondary) {
    setWindowTitle(QStringLiteral("%1 のアップデート").arg(AppInfo::name()));
    headline_->setText(headline);
    detail_->setText(detail);
    detail_->setVisible(!detail.isEmpty());
    if (Qt::mightBeRichText(notes))
        notes_->setHtml(notes);
    else
        notes_->setPlainText(notes);
    notes_->setVisible(!notes.isEmpty());
    primary_->setText(primary);
    primary_->setDefault(true);
    secondary_->setVisible(showSecondary);
    adjustSize();
    show();
    raise();
    activateWindow();
}

void UpdateCheckWindow::primaryPressed() {
    if (downloadURL_.isValid() && !QDesktopServices::openUrl(downloadURL_))
        qCWarning(vtLog, "updates: could not open %s", qUtf8Printable(downloadURL_.toString()));
    close();
}

void UpdateCheckWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) onClosed();
}

QString UpdateCheckWindow::headline() const {
    return headline_->text();
}
QString UpdateCheckWindow::detail() const {
    return detail_->text();
}
QString UpdateCheckWindow::notes() const {
    return notes_->toPlainText();
}
QString UpdateCheckWindow::primaryButtonText() const {
    return primary_->text();
}

} // namespace vt
