#include "platform/wayland/wayland_workspace.h"

#include "platform/log.h"
#include "platform/wayland/wlr-foreign-toplevel-management-unstable-v1-client.h"

#include <QFile>
#include <QStandardPaths>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

namespace vt {

class WaylandWorkspace::Watcher {
public:
    explicit Watcher(const QByteArray& displayName);
    ~Watcher();

    bool valid() const { return manager_ != nullptr; }
    // The app id of the activated window; empty when none is.
    QString activeAppId() const {
        std::lock_guard lock(mutex_);
        return active_;
    }

private:
    struct Window {
        QString appId;
        bool activated = false;
        // Changes arrive in a batch closed by "done".
        QString pendingAppId;
        bool pendingActivated = false;
    };

    void run();
    void done(zwlr_foreign_toplevel_handle_v1* handle);
    void closed(zwlr_foreign_toplevel_handle_v1* handle);

    static const wl_registry_listener registryListener;
    static const zwlr_foreign_toplevel_manager_v1_listener managerListener;
    static const zwlr_foreign_toplevel_handle_v1_listener handleListener;

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    QHash<zwlr_foreign_toplevel_handle_v1*, Window> windows_;
    // The most recently activated window: the compositor may report the old one's loss of focus
    // after the new one's gain.
    zwlr_foreign_toplevel_handle_v1* front_ = nullptr;
    int wake_ = -1;
    std::thread thread_;
    mutable std::mutex mutex_;
    QString active_;
};

const wl_registry_listener WaylandWorkspace::Watcher::registryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
       std::uint32_t version) {
        auto* self = static_cast<Watcher*>(data);
        if (self->manager_ ||
            std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
            return;
        self->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, 3u)));
        zwlr_foreign_toplevel_manager_v1_add_listener(self->manager_, &managerListener, self);
    },
    [](void*, wl_registry*, std::uint32_t) {}};

const zwlr_foreign_toplevel_manager_v1_listener WaylandWorkspace::Watcher::managerListener = {
    [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
        auto* self = static_cast<Watcher*>(data);
        self->windows_.insert(handle, {});
        zwlr_foreign_toplevel_handle_v1_add_listener(handle, &handleListener, self);
    },
    [](void*, zwlr_foreign_toplevel_manager_v1*) {}};

const zwlr_foreign_toplevel_handle_v1_listener WaylandWorkspace::Watcher::handleListener = {
    [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}, // title
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId) {
        auto* self = static_cast<Watcher*>(data);
        if (auto it = self->windows_.find(handle); it != self->windows_.end())
            it->pendingAppId = QString::fromUtf8(appId);
    },
    [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}, // output_enter
    [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}, // output_leave
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
        auto* self = static_cast<Watcher*>(data);
        auto it = self->windows_.find(handle);
        if (it == self->windows_.end()) return;
        bool activated = false;
        const auto* state = static_cast<const std::uint32_t*>(states->data);
        for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i)
            activated = activated || state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
        it->pendingActivated = activated;
    },
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        static_cast<Watcher*>(data)->done(handle);
    },
    [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
        static_cast<Watcher*>(data)->closed(handle);
    },
    [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}, // parent
};

WaylandWorkspace::Watcher::Watcher(const QByteArray& displayName) {
    display_ = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display_) {
        qCWarning(vtLog, "workspace: cannot connect to the Wayland compositor; no frontmost "
                         "application");
        return;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    wl_display_roundtrip(display_);
    if (!manager_) return;
    // The windows that exist already, so the first question after start has an answer.
    wl_display_roundtrip(display_);
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { run(); });
}

WaylandWorkspace::Watcher::~Watcher() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        (void)!::write(wake_, &one, sizeof one);
        thread_.join();
    }
    if (wake_ >= 0) ::close(wake_);
    if (!display_) return;
    for (auto it = windows_.cbegin(); it != windows_.cend(); ++it)
        zwlr_foreign_toplevel_handle_v1_destroy(it.key());
    if (manager_) zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void WaylandWorkspace::Watcher::run() {
    pollfd fds[2] = {{wl_display_get_fd(display_), POLLIN, 0}, {wake_, POLLIN, 0}};
    for (;;) {
        while (wl_display_prepare_read(display_) != 0)
            wl_display_dispatch_pending(display_);
        wl_display_flush(display_);
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            wl_display_cancel_read(display_);
            break;
        }
        if (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) {
            if (wl_display_read_events(display_) < 0) break;
        } else {
            wl_display_cancel_read(display_);
        }
        if (wl_display_dispatch_pending(display_) < 0) break;
        if (fds[1].revents) return;
    }
    qCWarning(vtLog, "workspace: lost the connection to the Wayland compositor; no frontmost "
                     "application from now on");
    {
        std::lock_guard lock(mutex_);
        active_.clear();
    }
    pollfd wake{wake_, POLLIN, 0};
    ::poll(&wake, 1, -1);
}

void WaylandWorkspace::Watcher::done(zwlr_foreign_toplevel_handle_v1* handle) {
    auto it = windows_.find(handle);
    if (it == windows_.end()) return;
    const bool gained = it->pendingActivated && !it->activated;
    it->appId = it->pendingAppId;
    it->activated = it->pendingActivated;
    if (gained) front_ = handle;
    if (front_ == handle && !it->activated) front_ = nullptr;
    if (!front_) {
        // Focus may also have moved to a window we heard of earlier.
        for (auto w = windows_.cbegin(); w != windows_.cend(); ++w)
            if (w->activated) front_ = w.key();
    }
    std::lock_guard lock(mutex_);
    active_ = front_ ? windows_.value(front_).appId : QString();
}

void WaylandWorkspace::Watcher::closed(zwlr_foreign_toplevel_handle_v1* handle) {
    windows_.remove(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    if (front_ != handle) return;
    front_ = nullptr;
    std::lock_guard lock(mutex_);
    active_.clear();
}

WaylandWorkspace::WaylandWorkspace(const QByteArray& displayName)
    : watcher_(std::make_unique<Watcher>(displayName)) {
    dataDirs_ = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

WaylandWorkspace::~WaylandWorkspace() = default;

bool WaylandWorkspace::knowsFrontmost() const {
    return watcher_->valid();
}

std::optional<RunningApplication> WaylandWorkspace::frontmostApplication() const {
    if (!watcher_->valid()) {
        if (!toldUnknown_)
            qCInfo(vtLog, "workspace: this compositor does not tell which application is active "
                          "(no zwlr_foreign_toplevel_manager_v1); excluded applications cannot "
                          "be recognised");
        toldUnknown_ = true;
        return std::nullopt;
    }
    const QString id = watcher_->activeAppId();
    if (id.isEmpty()) return std::nullopt;
    RunningApplication app;
    app.bundleIdentifier = id;
    app.names.append(id);
    QString name = desktopEntryName(id);
    if (name.isEmpty()) name = desktopEntryName(id.toLower());
    app.localizedName = name.isEmpty() ? id : name;
    return app;
}

QString WaylandWorkspace::desktopEntryName(const QString& id) const {
    if (const auto it = names_.constFind(id); it != names_.constEnd()) return *it;
    QString name;
    for (const QString& dir : dataDirs_) {
        QFile file(dir + QLatin1String("/applications/") + id + QLatin1String(".desktop"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        bool inEntry = false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('['))) {
                if (inEntry) break;
                inEntry = line == QLatin1String("[Desktop Entry]");
            } else if (inEntry && line.startsWith(QLatin1String("Name="))) {
                name = line.mid(5).trimmed();
                break;
            }
        }
        if (!name.isEmpty()) break;
    }
    names_.insert(id, name);
    return name;
}

} // namespace vt
