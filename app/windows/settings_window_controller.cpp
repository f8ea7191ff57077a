#include "app/windows/settings_window_controller.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/updater_model.h"
#include "app/windows/desktop_services.h"
#include "app/windows/settings_view.h"
#include "app/windows/window_activation.h"
#include "app/windows/window_style.h"
#include <QCoreApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QVBoxLayout>

namespace vt {

SettingsWindowController& SettingsWindowController::shared() {
    static auto* instance = new SettingsWindowController(
        AppSettings::shared(), UpdaterModel::shared(), DesktopServices::appCatalog());
    return *instance;
}

SettingsWindowController::SettingsWindowController(AppSettings& settings, UpdaterModel& updater,
                                                   const AppCatalog& catalog, QObject* parent)
    : QObject(parent), settings_(settings), updater_(updater), catalog_(catalog) {}

SettingsWindowController::~SettingsWindowController() {
    delete window_.data();
}

void SettingsWindowController::show(Tab tab) {
    selection_.setTab(tab);
    if (!window_) {
        auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setWindowTitle(
            QCoreApplication::translate("Vantrel", "%1 の設定").arg(AppInfo::name()));
        WindowStyle::applyWindowFont(window);
        // The controller deletes the window first, so the view never outlives `this`.
        view_ = new SettingsView(settings_, updater_, selection_, catalog_, [this] {
            if (clearHistory) clearHistory();
        });
        auto* layout = new QVBoxLayout(window);
        // The tab view keeps the desktop's usual distance from the window edges.
        layout->setContentsMargins(10, 6, 10, 10);
        layout->addWidget(view_);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        window->adjustSize();
        // Escape and Ctrl+W close it, as they close any settings window of the desktop.
        for (const QKeySequence& keys :
             {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            auto* shortcut = new QShortcut(keys, window);
            QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
        }
        window_ = window;
        centerOnScreen(window_);
    }
    bringToFront(window_);
}

} // namespace vt
