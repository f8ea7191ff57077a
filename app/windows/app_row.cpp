#include "app/windows/app_row.h"
#include "app/preferences.h"
#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include "platform/app_catalog.h"
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

namespace vt {

AppRow::AppRow(const QString& bundleID, const AppCatalog& catalog, QWidget* parent)
    : QWidget(parent), bundleID_(bundleID) {
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(6, 3, 6, 3);
    h->setSpacing(8);
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("appRowIcon"));
    icon->setFixedSize(18, 18);
    h->addWidget(icon, 0, Qt::AlignVCenter);

    if (const auto app = catalog.app(bundleID)) {
        installed_ = true;
        const QIcon appIcon = app->icon.isNull()
                                  ? symbolIcon(Symbol::appDashed,
                                               WindowStyle::color(WindowStyle::Tone::secondary), 18)
                                  : app->icon;
        icon->setPixmap(appIcon.pixmap(QSize(18, 18)));
        name_ = WindowStyle::label(WindowStyle::displayName(app->name));
        h->addWidget(name_, 1);
    } else {
        icon->setPixmap(
            symbolIcon(Symbol::appDashed, WindowStyle::color(WindowStyle::Tone::secondary), 18)
                .pixmap(QSize(18, 18)));
        name_ = WindowStyle::label(Preferences::knownAppName(bundleID).value_or(bundleID),
                                   WindowStyle::Text::body, WindowStyle::Tone::secondary);
        h->addWidget(name_);
        QLabel* missing = WindowStyle::label(
            QCoreApplication::translate("Vantrel", "（このコンピュータには無し）"),
            WindowStyle::Text::caption, WindowStyle::Tone::tertiary);
        missing->setObjectName(QStringLiteral("notInstalled"));
        h->addWidget(missing);
        h->addStretch(1);
    }
    name_->setObjectName(QStringLiteral("appRowName"));
    // Clicks select the list row underneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString AppRow::nameText() const {
    return name_->text();
}

} // namespace vt
