#include "app/update_check_window.h"
#include "app/app_info.h"
#include "platform/log.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vt {

namespace {

bool isWebLink(const QUrl& url) {
    return url.scheme() == u"https" || url.scheme() == u"http";
}

// Release notes come from the network: they may link only to web pages, and they load nothing
// (no images, no style sheets, no local files).
class ReleaseNotesView final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

} // namespace

UpdateCheckWindow::UpdateCheckWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      headline_(new QLabel(this)), detail_(new QLabel(this)), notes_(new ReleaseNotesView(this)),
      primary_(new QPushButton(this)),
      secondary_(new QPushButton(QCoreApplication::translate("Vantrel", "あとで"), this)) {
    QFont bold = headline_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    headline_->setFont(bold);
    headline_->setWordWrap(true);
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_->setOpenLinks(false);
    notes_->setOpenExternalLinks(false);
    connect(notes_, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        if (isWebLink(url))
            QDesktopServices::openUrl(url);
        else
            qCInfo(vtLog, "updates: not opening %s from the release notes",
                   qUtf8Printable(url.toString()));
    });
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
    // Without notes the window shrinks to its texts instead of keeping an empty gap.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget* text : {static_cast<QWidget*>(headline_), static_cast<QWidget*>(detail_),
                          static_cast<QWidget*>(notes_)})
        text->setMinimumWidth(400);

    connect(primary_, &QPushButton::clicked, this, &UpdateCheckWindow::primaryPressed);
    connect(secondary_, &QPushButton::clicked, this, &QWidget::close);
}

void UpdateCheckWindow::showChecking() {
    downloadURL_.clear();
    present(QCoreApplication::translate("Vantrel", "新しい版を確認しています…"), QString(),
            QString(), QCoreApplication::translate("Vantrel", "キャンセル"), false);
    primary_->setEnabled(true);
}

void UpdateCheckWindow::showUpdateFound(const AppcastItem& update, const QString& currentVersion) {
    // A feed item without a usable address still leads to the product site.
    downloadURL_ = isWebLink(update.downloadURL) ? update.downloadURL : AppInfo::siteURL();
    QString notes = update.releaseNotes;
    if (notes.isEmpty() && isWebLink(update.releaseNotesURL))
        notes = QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(update.releaseNotesURL.toString().toHtmlEscaped(),
                         QCoreApplication::translate("Vantrel", "変更点を見る").toHtmlEscaped());
    present(
        QCoreApplication::translate("Vantrel", "%1 の新しい版 %2 があります")
            .arg(AppInfo::name(), update.displayVersion()),
        QCoreApplication::translate(
            "Vantrel", "いまお使いの版は %1 です。ダウンロードページから新しい版を入手できます。")
            .arg(currentVersion),
        notes, QCoreApplication::translate("Vantrel", "ダウンロードページを開く"), true);
}

void UpdateCheckWindow::showUpToDate(const QString& currentVersion) {
    downloadURL_.clear();
    present(QCoreApplication::translate("Vantrel", "最新の版です"),
            QCoreApplication::translate("Vantrel", "%1 %2 はいま配信されている最新の版です。")
                .arg(AppInfo::name(), currentVersion),
            QString(), QCoreApplication::translate("Vantrel", "OK"), false);
}

void UpdateCheckWindow::showUpdatedByPackage() {
    downloadURL_.clear();
    present(QCoreApplication::translate("Vantrel", "新しい版はパッケージで届きます"),
            QCoreApplication::translate(
                "Vantrel", "%1 はインストールしたパッケージと一緒に更新されます。新しい版は、apt "
                           "などのパッケージマネージャーでシステムを更新すると届きます。")
                .arg(AppInfo::name()),
            QString(), QCoreApplication::translate("Vantrel", "OK"), false);
}

void UpdateCheckWindow::showFailure(const QString& description) {
    downloadURL_.clear();
    present(QCoreApplication::translate("Vantrel", "新しい版を確認できませんでした"),
            QCoreApplication::translate("Vantrel", "%1。\nしばらくしてからもう一度お試しください。")
                .arg(description),
            QString(), QCoreApplication::translate("Vantrel", "OK"), false);
}

void UpdateCheckWindow::present(const QString& headline, const QString& detail,
                                const QString& notes, const QString& primary, bool showSecondary) {
    setWindowTitle(
        QCoreApplication::translate("Vantrel", "%1 のアップデート").arg(AppInfo::name()));
    headline_->setText(headline);
    detail_->setText(detail);
    detail_->setVisible(!detail.isEmpty());
    // Rich text is shown as formatted text only: no scripts run in a text view, links go
    // through anchorClicked, and resources are never loaded.
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
