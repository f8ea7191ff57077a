#pragma once
#include "app/status_menu.h"
#include "core/hold_paste_controller.h"
#include "history/clipboard_watcher.h"
#include "picker/fan/fan_panel.h"
#include "picker/ring/ring_panel.h"
#include <QObject>
#include <QPointer>
#include <QThreadPool>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace vt {

class AppSettings;
struct PlatformServices;

// The program's wiring: owns the clipboard watcher, the hold-paste controller with both pickers,
// the tray icon and its menu, and the wait for the permission to watch the paste keys, all built
// on the platform services it is given (which outlive it).
class AppDelegate final : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(PlatformServices& services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The launch sequence. False when the program is about to relaunch from a new place and
    // nothing was started.
    bool applicationDidFinishLaunching();
    // Copies the settings into the controller, the fan and the watcher.
    void applySettings();
    // The keys that paste into the frontmost application.
    PasteKeys pasteKeys() const;
    void prewarmPicker();
    // Decodes recent image clips into the thumbnail cache on a low-priority thread.
    void warmThumbnails();
    // Creates the tray icon and its (empty) menu.
    void setUpMenu();
    // Starts the event tap when permitted; otherwise shows onboarding and polls every 2 s.
    void startWhenTrusted();
    // Rebuilds the tray menu just before it opens.
    void menuNeedsUpdate();
    // A line handed over by a later start (the user's compositor binding); false when the
    // session has no use for it. The tap starts at once if it was waiting for this.
    bool hearWord(const QByteArray& line);
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

    ClipboardWatcher& watcher() { return watcher_; }
    HoldPasteController& holdPaste() { return holdPaste_; }
    FanPanel& fan() { return fan_; }
    QMenu* statusMenu() const { return menu_; }
    QSystemTrayIcon* statusItem() const { return statusItem_; }
    // Waits until the thumbnail warm-up started so far has finished (tests, shutdown).
    void waitForThumbnails();

protected:
    // A palette change (light to dark) redraws the tray glyph in the new colour.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StatusMenuState menuState() const;
    void perform(const StatusMenuEntry& entry);
    bool tryStartTap();
    void syncTapGeometry();

    // Declared in the order they depend on each other.
    PlatformServices& services_;
    ClipboardWatcher watcher_;
    RingPanel ring_;
    FanPanel fan_;
    HoldPasteController holdPaste_;
    AppSettings& settings_;
    QSystemTrayIcon* statusItem_ = nullptr;
    QMenu* menu_ = nullptr;
    QTimer* permissionTimer_ = nullptr;
    QThreadPool thumbnailPool_;
    bool prewarmed_ = false; // the picker in use was drawn once at launch
};

} // namespace vt
