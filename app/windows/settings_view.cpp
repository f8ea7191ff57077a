#include "app/windows/settings_view.h"
#include "app/windows/about_tab.h"
#include "app/windows/desktop_services.h"
#include "app/windows/general_tab.h"
#include "app/windows/history_tab.h"
#include "app/windows/symbols.h"
#include "app/windows/tab_selection.h"
#include "app/windows/window_style.h"
#include <QCoreApplication>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vt {

SettingsView::SettingsView(AppSettings& settings, UpdaterModel& updater, TabSelection& selection,
                           const AppCatalog& catalog, std::function<void()> clearHistory,
                           QWidget* parent)
    : QWidget(parent), tabs_(new QTabWidget) {
    auto* layout = new QVBoxLayout(this);
    // The tab view sits at a fixed size with a little air above it; taller where the general
    // tab also shows the Wayland bindings.
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(tabs_);
    tabs_->setFixedSize(500, DesktopServices::learnsChordFromBindings() ? 600 : 450);
    tabs_->setDocumentMode(false);
    tabs_->setObjectName(QStringLiteral("tabs"));

    const QColor ink = WindowStyle::color(WindowStyle::Tone::primary);
    general_ = new GeneralTab(settings, updater);
    history_ = new HistoryTab(settings, catalog, std::move(clearHistory));
    about_ = new AboutTab;
    tabs_->addTab(general_, symbolIcon(Symbol::gearshape, ink),
                  QCoreApplication::translate("Vantrel", "一般"));
    tabs_->addTab(history_, symbolIcon(Symbol::clockArrowCirclepath, ink),
                  QCoreApplication::translate("Vantrel", "履歴"));
    tabs_->addTab(about_, symbolIcon(Symbol::infoCircle, ink),
                  QCoreApplication::translate("Vantrel", "情報"));

    tabs_->setCurrentIndex(static_cast<int>(selection.tab()));
    connect(&selection, &TabSelection::changed, tabs_,
            [this](Tab tab) { tabs_->setCurrentIndex(static_cast<int>(tab)); });
    connect(tabs_, &QTabWidget::currentChanged, &selection,
            [&selection](int index) { selection.setTab(static_cast<Tab>(index)); });
}

} // namespace vt
