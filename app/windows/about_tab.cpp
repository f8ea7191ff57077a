#include "app/windows/about_tab.h"
#include "app/app_info.h"
#include "app/windows/window_style.h"
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vt {
namespace {

QLabel* link(const QString& text, const QUrl& url, const QString& objectName) {
    auto* l =
        new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:%3; text-decoration:none\">%2</a>")
                       .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), text.toHtmlEscaped(),
                            WindowStyle::accent().name()));
    l->setObjectName(objectName);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::TextBrowserInteraction);
    // The desktop's browser opens it.
    l->setOpenExternalLinks(true);
    l->setFont(WindowStyle::baseFont());
    l->setCursor(Qt::PointingHandCursor);
    l->setToolTip(url.toString());
    return l;
}

} // namespace

AboutTab::AboutTab(QWidget* parent) : QWidget(parent) {
    using WindowStyle::Text;
    using WindowStyle::Tone;
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(20, 20, 20, 20);
    v->setSpacing(10);
    v->addStretch(1);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("appIcon"));
    icon->setFixedSize(72, 72);
    icon->setPixmap(WindowStyle::appIcon().pixmap(QSize(72, 72)));
    v->addWidget(icon, 0, Qt::AlignHCenter);

    QLabel* name = WindowStyle::label(AppInfo::name(), Text::title2);
    name->setObjectName(QStringLiteral("appName"));
    v->addWidget(name, 0, Qt::AlignHCenter);

    QLabel* version =
        WindowStyle::label(QCoreApplication::translate("Vantrel", "バージョン %1（%2）")
                               .arg(AppInfo::version(), AppInfo::build()),
                           Text::body, Tone::secondary);
    version->setObjectName(QStringLiteral("version"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    v->addWidget(version, 0, Qt::AlignHCenter);

    QLabel* callout = WindowStyle::label(
        QCoreApplication::translate("Vantrel",
                                    "Ctrl+V を長押しすると、コピーした履歴から選んで貼れます。"),
        Text::callout);
    callout->setObjectName(QStringLiteral("callout"));
    v->addWidget(callout, 0, Qt::AlignHCenter);

    v->addSpacing(6);
    auto* links = new QHBoxLayout;
    links->setSpacing(16);
    const QUrl site = AppInfo::siteURL();
    links->addStretch(1);
    links->addWidget(link(QCoreApplication::translate("Vantrel", "サポート"),
                          appendingPathComponent(site, QStringLiteral("support/")),
                          QStringLiteral("supportLink")));
    links->addWidget(link(QCoreApplication::translate("Vantrel", "プライバシー"),
                          appendingPathComponent(site, QStringLiteral("privacy/")),
                          QStringLiteral("privacyLink")));
    links->addWidget(link(QCoreApplication::translate("Vantrel", "ウェブサイト"), site,
                          QStringLiteral("websiteLink")));
    links->addStretch(1);
    v->addLayout(links);

    // Present even when empty, so the page keeps its shape.
    QLabel* copyright = WindowStyle::label(AppInfo::copyright(), Text::caption, Tone::tertiary);
    copyright->setObjectName(QStringLiteral("copyright"));
    copyright->setMinimumHeight(copyright->fontMetrics().height());
    v->addWidget(copyright, 0, Qt::AlignHCenter);
    v->addStretch(1);
}

} // namespace vt
