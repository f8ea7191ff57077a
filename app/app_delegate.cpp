#include "app/app_delegate.h"
#include "app/app_info.h"
#include "app/app_settings.h"
#include "app/move_to_applications.h"
#include "app/tray_glyph.h"
#include "app/updater_model.h"
#include "app/windows/desktop_services.h"
#include "app/windows/onboarding_window_controller.h"
#include "app/windows/settings_window_controller.h"
#include "core/hold_paste_controller.h"
#include "history/clipboard_watcher.h"
#include "history/history_file.h"
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include "platform/log.h"
#include "platform/platform_services.h"
#include "platform/qt_main_queue.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <malloc.h>

namespace vt {

namespace {
constexpr int kThumbnailWarmCount = 60; // the thumbnail cache's count limit
constexpr int kPermissionPollMs = 2000;

// The shared settings and windows take their services from here: handed over before any is made.
PlatformServices& handedOver(PlatformServices& services) {
    DesktopServices::use(services);
    return services;
}
} // namespace

AppDelegate::AppDelegate(PlatformServices& services, QObject* parent)
    : QObject(parent), services_(handedOver(services)),
      watcher_(*services.pasteboard, *services.workspace),
      ring_(*services.screens, QtMainQueue::shared(), services.makeOverlaySurface),
      fan_(*services.screens, QtMainQueue::shared(),
           FanPanel::SurfaceFactory(services.makeOverlaySurface)),
      holdPaste_(*services.eventTap, QtMainQueue::shared(), ring_, fan_),
      settings_(AppSettings::shared()) {
    thumbnailPool_.setMaxThreadCount(1);
    thumbnailPool_.setThreadPriority(QThread::LowPriority);
}

AppDelegate::~AppDelegate() {
    shutDown();
    thumbnailPool_.waitForDone();
}

bool AppDelegate::applicationDidFinishLaunching() {
    if (MoveToApplications::offerIfNeeded()) return false;

    UpdaterModel::shared();

    // Every callback holds the delegate weakly and does nothing once it is gone.
    QPointer<AppDelegate> self(this);
    settings_.onChange = [self] {
        if (AppDelegate* d = self.data()) d->applySettings();
    };
    applySettings();

    holdPaste_.items = [self] {
        AppDelegate* d = self.data();
        return d ? d->watcher_.history.items : std::vector<ClipItem>{};
    };
    holdPaste_.itemCount = [self] {
        AppDelegate* d = self.data();
        return d ? static_cast<std::int64_t>(d->watcher_.history.items.size()) : std::int64_t{0};
    };
    holdPaste_.onCommit = [self](const ClipItem& item) {
        AppDelegate* d = self.data();
        if (!d) return;
        d->watcher_.put(item);
        // Shift+Insert pastes PRIMARY: the chosen text goes there too.
        if (item.kind == ClipItem::Kind::text && d->pasteKeys().keycode == TapKeyCode::insert)
            QGuiApplication::clipboard()->setText(item.text.value_or(QString()),
                                                  QClipboard::Selection);
    };
    holdPaste_.pasteKeys = [self] {
        AppDelegate* d = self.data();
        return d ? d->pasteKeys() : PasteKeys{};
    };
    holdPaste_.passesChordThrough = [self] {
        AppDelegate* d = self.data();
        // Asked inside the key's verdict: nobody on the list, nothing to look up.
        if (!d || d->settings_.pasteApps(PasteAppList::passThrough).isEmpty()) return false;
        const auto front = d->services_.workspace->frontmostApplication();
        return front && front->answersTo(d->settings_.pasteApps(PasteAppList::passThrough));
    };
    SettingsWindowController::shared().clearHistory = [self] {
        AppDelegate* d = self.data();
        if (!d) return;
        d->watcher_.history.items.clear();
        d->watcher_.save();
        // "Everything" includes the unreadable files kept aside at earlier launches.
        HistoryFile::removeSetAside(d->watcher_.historyPath());
        if (d->watcher_.onChange) d->watcher_.onChange();
    };

    watcher_.start();
    watcher_.onChange = [self] {
        if (AppDelegate* d = self.data()) d->warmThumbnails();
    };
    warmThumbnails();
    // The picker is readied when the chord is first held (the hold delay leaves it time), so a
    // program that is never held stays small. A Wayland picker surface takes the keyboard when
    // it maps, so there it is readied at launch rather than in the middle of a hold.
    if (services_.kind == PlatformKind::wayland) {
        prewarmPicker();
    } else {
        holdPaste_.onHoldStarting = [self] {
            AppDelegate* d = self.data();
            if (d && !d->prewarmed_) d->prewarmPicker();
        };
    }
    setUpMenu();
    syncTapGeometry();
    for (QScreen* screen : QGuiApplication::screens())
        connect(screen, &QScreen::geometryChanged, this, &AppDelegate::syncTapGeometry);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &AppDelegate::syncTapGeometry);
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, this, &AppDelegate::syncTapGeometry);
        syncTapGeometry();
    });
    startWhenTrusted();
    settings_.applyLaunchAtLoginDefaultOnce();
    return true;
}

PasteKeys AppDelegate::pasteKeys() const {
    const auto front = services_.workspace->frontmostApplication();
    if (front && front->answersTo(settings_.pasteApps(PasteAppList::shiftInsert)))
        return {TapKeyCode::insert, TapEventFlag::shift};
    if (front && front->answersTo(settings_.pasteApps(PasteAppList::ctrlShiftV)))
        return {TapKeyCode::v, TapEventFlag::command | TapEventFlag::shift};
    return {};
}

void AppDelegate::applySettings() {
    const bool styleChanged = holdPaste_.useFan != settings_.useFan();
    holdPaste_.holdDelay = settings_.holdDelay();
    holdPaste_.useFan = settings_.useFan();
    fan_.setVisibleSlots(settings_.fanSlots());
    fan_.setMaxItems(settings_.historyLimit());
    watcher_.setLimit(settings_.historyLimit());
    watcher_.excludedApps = settings_.excludedApps();
    if (styleChanged && prewarmed_) prewarmPicker();
}

// The picker in use is drawn once, unseen, when the first hold starts (at launch on Wayland) and
// again when the style changes, so the first picker shows without the cost of a first window.
void AppDelegate::prewarmPicker() {
    prewarmed_ = true;
    QPointer<AppDelegate> self(this);
    QtMainQueue::shared().asyncAfter(0, [self] {
        AppDelegate* d = self.data();
        if (!d) return;
        if (d->holdPaste_.useFan)
            d->fan_.prewarm();
        else
            d->ring_.prewarm();
        // What starting and drawing freed goes back to the system rather than idling in the heap.
        ::malloc_trim(0);
        qCDebug(vtLog, "picker prewarmed");
    });
}

void AppDelegate::warmThumbnails() {
    std::vector<ClipItem> images;
    const auto& items = watcher_.history.items;
    const std::size_t n = std::min<std::size_t>(items.size(), kThumbnailWarmCount);
    for (std::size_t i = 0; i < n; ++i) {
        if (items[i].kind == ClipItem::Kind::image) images.push_back(items[i]);
    }
    if (images.empty()) return;
    // The job works on its own copy; the cache is the only thing it shares with the main thread.
    thumbnailPool_.start([images = std::move(images)] {
        for (const ClipItem& item : images) {
            if (item.imageData) item.thumbnail(); // decodes and caches on a miss
        }
    });
}

void AppDelegate::waitForThumbnails() {
    thumbnailPool_.waitForDone();
}

void AppDelegate::setUpMenu() {
    QIcon icon = TrayGlyph::icon(TrayGlyph::colorFor(services_.trayForegroundColor()));
    if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("edit-paste"));
    statusItem_ = new QSystemTrayIcon(icon, this);
    qApp->installEventFilter(this);
    statusItem_->setToolTip(AppInfo::name());
    menu_ = new QMenu();
    menu_->setAccessibleName(AppInfo::name());
    connect(menu_, &QMenu::aboutToShow, this, &AppDelegate::menuNeedsUpdate);
    statusItem_->setContextMenu(menu_);
    // A left click (or the tray's activate action) opens the same menu as a right click.
    connect(statusItem_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    menu_->popup(QCursor::pos());
            });
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        qCInfo(vtLog, "tray: no system tray is running; the icon appears when one starts");
    statusItem_->show();
    qCDebug(vtLog, "tray: icon shown");
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange && statusItem_) {
        const QIcon icon = TrayGlyph::icon(TrayGlyph::colorFor(services_.trayForegroundColor()));
        if (!icon.isNull()) statusItem_->setIcon(icon);
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::syncTapGeometry() {
    // The backend follows the screens (the tap measures the pointer from the primary screen).
    services_.screensChanged();
}

bool AppDelegate::tryStartTap() {
    Trust& trust = *services_.trust;
    if (!trust.isTrusted() || !holdPaste_.start()) return false;
    qCDebug(vtLog, "launch: keyboard watch ready");
    return true;
}

void AppDelegate::startWhenTrusted() {
    Trust& trust = *services_.trust;
    const bool trusted = trust.isTrusted();
    qCInfo(vtLog, "launch: trusted=%s", trusted ? "true" : "false");
    if (trusted && holdPaste_.start()) {
        qCDebug(vtLog, "launch: keyboard watch ready");
        // A new user learns hold-to-paste once, until "はじめる".
        if (!settings_.onboardingDone()) OnboardingWindowController::shared().show();
        return;
    }
    OnboardingWindowController::shared().show();
    // A session without hold-to-paste does not grant it later: nothing to wait for.
    if (!services_.holdToPaste) return;
    delete permissionTimer_;
    permissionTimer_ = new QTimer(this);
    permissionTimer_->setInterval(kPermissionPollMs);
    connect(permissionTimer_, &QTimer::timeout, this, [this] {
        if (!tryStartTap()) return;
        permissionTimer_->stop();
        permissionTimer_->deleteLater();
        permissionTimer_ = nullptr;
    });
    permissionTimer_->start();
}

bool AppDelegate::hearWord(const QByteArray& line) {
    if (!services_.relayWord(line)) return false;
    // The first word is what the tap waited for: start it now rather than at the next poll.
    if (permissionTimer_ && tryStartTap()) {
        permissionTimer_->stop();
        permissionTimer_->deleteLater();
        permissionTimer_ = nullptr;
    }
    return true;
}

StatusMenuState AppDelegate::menuState() const {
    StatusMenuState state;
    // A tap that lost the chord (another program took it) is as good as none: warn.
    state.tapInstalled = holdPaste_.tap() != nullptr && services_.eventTap->holdsChord();
    if (!state.tapInstalled) state.tapProblem = services_.trust->problem();
    state.updateWaiting = UpdaterModel::shared().updateWaiting();
    const auto& items = watcher_.history.items;
    state.recentClips.assign(items.begin(),
                             items.begin() + std::min<std::ptrdiff_t>(std::ssize(items), 10));
    state.useFan = settings_.useFan();
    state.holdDelay = settings_.holdDelay();
    state.launchAtLoginEnabled = settings_.loginItemStatus() == LoginItemStatus::enabled;
    state.appName = AppInfo::name();
    return state;
}

void AppDelegate::menuNeedsUpdate() {
    populateMenu(*menu_, buildStatusMenu(menuState()),
                 [this](const StatusMenuEntry& entry) { perform(entry); });
}

void AppDelegate::perform(const StatusMenuEntry& entry) {
    switch (entry.action) {
    case StatusMenuAction::none:
        break;
    case StatusMenuAction::showOnboarding:
        showOnboarding();
        break;
    case StatusMenuAction::checkForUpdates:
        checkForUpdates();
        break;
    case StatusMenuAction::copyFromMenu:
        copyFromMenu(entry.tag);
        break;
    case StatusMenuAction::setStyle:
        setStyle(entry.representedValue);
        break;
    case StatusMenuAction::setDelay:
        setDelay(entry.representedValue);
        break;
    case StatusMenuAction::toggleLaunchAtLogin:
        toggleLaunchAtLogin();
        break;
    case StatusMenuAction::showSettings:
        showSettings();
        break;
    case StatusMenuAction::quit:
        QCoreApplication::quit();
        break;
    }
}

void AppDelegate::copyFromMenu(int tag) {
    const auto& items = watcher_.history.items;
    // The history may have changed while the menu was open.
    if (tag < 0 || static_cast<std::size_t>(tag) >= items.size()) return;
    const ClipItem item = items[static_cast<std::size_t>(tag)];
    watcher_.put(item);
}

void AppDelegate::setStyle(const QVariant& represented) {
    if (represented.typeId() == QMetaType::Bool) settings_.setUseFan(represented.toBool());
}

void AppDelegate::setDelay(const QVariant& represented) {
    if (represented.typeId() == QMetaType::Double || represented.typeId() == QMetaType::Float)
        settings_.setHoldDelay(represented.toDouble());
}

void AppDelegate::toggleLaunchAtLogin() {
    settings_.setLaunchAtLogin(settings_.loginItemStatus() != LoginItemStatus::enabled);
}

void AppDelegate::showSettings() {
    SettingsWindowController::shared().show(Tab::general);
}

void AppDelegate::showOnboarding() {
    OnboardingWindowController::shared().show();
}

void AppDelegate::checkForUpdates() {
    UpdaterModel::shared().checkForUpdates();
}

void AppDelegate::shutDown() {
    holdPaste_.stop();
}

} // namespace vt
