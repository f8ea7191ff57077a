#pragma once
#include "app/status_menu.h"
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace vt {

class AppSettings;
class ClipboardWatcher;
class FanPanel;
class HoldPasteController;
class LinuxScreens;
class RingPanel;
class X11EventTap;
class X11Pasteboard;
class X11Workspace;

// The program's wiring: owns the clipboard watcher, the hold-paste controller with both pickers
// and the platform services behind them, the tray icon and its menu, and the wait for the
// permission to watch the paste keys.
class AppDelegate final : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch sequence. False when the program is about to relaunch from a new place and
    // nothing was started.
    bool applicationDidFinishLaunching();
    // Copies the settings into the controller, the fan and the watcher.
    void applySettings();
    // Decodes recent image clips into the thumbnail cache on a low-priority thread.
    void warmThumbnails();
    // Creates the tray icon and its (empty) menu.
    void setUpMenu();
    // Starts the event tap when permitted; otherwise shows onboarding and polls every 2 s.
    void startWhenTrusted();
    // Rebuilds the tray menu just before it opens.
    void menuNeedsUpdate();
    // Releases the keyboard and pointer grabs; called before the program quits.
    void shutDown();

    // Tray menu actions.
    void copyFromMenu(int tag);
    void setStyle(const QVariant& represented);
    void setDelay(const QVariant& represented);
    void toggleLaunchAtLogin();
    void showSettings();
    void showOnboarding();
    void checkForUpdates();

    ClipboardWatcher& watcher() const { return *watcher_; }
    HoldPasteController& holdPaste() const { return *holdPaste_; }
    FanPanel& fan() const { return *fan_; }
    QMenu* statusMenu() const { return menu_; }
    QSystemTrayIcon* statusItem() const { return statusItem_; }
    // Waits until the thumbnail warm-up started so far has finished (tests, shutdown).
    void waitForThumbnails();

private:
    StatusMenuState menuState() const;
    void perform(const StatusMenuEntry& entry);
    bool tryStartTap();

    std::unique_ptr<X11Pasteboard> pasteboard_;
    std::unique_ptr<X11Workspace> workspace_;
    std::unique_ptr<LinuxScreens> screens_;
    std::unique_ptr<X11EventTap> tap_;
    std::unique_ptr<ClipboardWatcher> watcher_;
    std::unique_ptr<RingPanel> ring_;
    std::unique_ptr<FanPanel> fan_;
    std::unique_ptr<HoldPasteController> holdPaste_;
    AppSettings& settings_;
    QSystemTrayIcon* statusItem_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* permissionTimer_ = nullptr;
    QThreadPool thumbnailPool_;
};

} // namespace vt
