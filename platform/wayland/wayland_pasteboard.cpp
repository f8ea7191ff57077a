#include "platform/wayland/wayland_pasteboard.h"

#include "platform/linux/clipboard_mime.h"
#include "platform/log.h"
#include "platform/wayland/data_control.h"

#include <QHash>
#include <QMetaObject>
#include <mutex>
#include <thread>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

namespace vt {

namespace {

// A read that keeps trickling is still cut off after this long, as on X11.
constexpr std::int64_t kLongestReadMs = 30000;
constexpr std::size_t kChunk = 256 * 1024;

using Clock = std::chrono::steady_clock;

std::int64_t msSince(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// The password-manager hint conceals a copy unless its value was read and plainly is not
// "secret": an owner that offers the hint and then fails to say what it means is trusted least.
bool hintConceals(const std::optional<QByteArray>& value) {
    if (!value) return true;
    const QByteArray v = value->trimmed().toLower();
    return v.isEmpty() || v == "secret";
}

// Consumes a SIGPIPE raised (and held, since the reader thread blocks it) by a write to a pipe
// whose reader went away.
void dropPendingSigpipe() {
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    const timespec zero{};
    while (sigtimedwait(&pipeOnly, nullptr, &zero) > 0) {
    }
}

} // namespace

// Everything that talks to the compositor. Runs on its own thread after construction; the only
// state shared with the main thread is the command list (under the mutex) and the atomics.
class WaylandPasteboard::Reader {
public:
    Reader(WaylandPasteboard* owner, const QByteArray& displayName);
    ~Reader();

    bool valid() const { return connected_; }
    QByteArray protocol() const { return protocol_ ? QByteArray(protocol_->managerName) : ""; }
    std::atomic<int> readTimeoutMs{1000};
    std::atomic<std::uint64_t> wakeups{0};
    std::atomic<bool> lost{false};

    // Main thread: offers `offer` as the selection (from the reader thread, soon after).
    void write(Offer offer);

private:
    enum class Kind { hint, files, text, png, tiff };
    struct Step {
        Kind kind;
        QByteArray mime;
    };
    struct Read {
        wl_proxy* offer = nullptr;
        QList<Step> steps;
        qsizetype step = -1;
        int fd = -1;
        QByteArray bytes;
        Clock::time_point started;
        Clock::time_point lastBytes;
        Contents contents;
    };
    struct Sending {
        int fd;
        QByteArray bytes;
        qsizetype done = 0;
    };

    void run();
    void takeCommands();
    void readSome();
    void stepFinished(bool ok);
    void nextStep();
    void finishRead();
    void giveUp();
    void dropRead();
    void publish(const Contents& contents);
    void sendSome(Sending& s);
    int pollTimeout() const;

    // Events.
    void globalAdded(wl_registry* registry, std::uint32_t name, const char* interface,
                     std::uint32_t version);
    void offerArrived(wl_proxy* offer) { offers_.insert(offer, {}); }
    void offerType(wl_proxy* offer, const char* mime);
    void selectionChanged(wl_proxy* offer);
    void sourceSend(wl_proxy* source, const char* mime, int fd);
    void sourceCancelled(wl_proxy* source);
    void deviceFinished();

    static const wl_registry_listener registryListener;
    static const wayland::DeviceListener deviceListener;
    static const wayland::OfferListener offerListener;
    static const wayland::SourceListener sourceListener;

    WaylandPasteboard* owner_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    const wayland::DataControl* protocol_ = nullptr;
    std::uint32_t managerName_ = 0;
    wl_proxy* manager_ = nullptr;
    wl_proxy* device_ = nullptr;
    bool connected_ = false; // set before the thread starts, never changed after
    int wake_ = -1;
    bool baselineTaken_ = false;
    QHash<wl_proxy*, QList<QByteArray>> offers_;
    std::unique_ptr<Read> read_;
    QHash<wl_proxy*, Offer> sources_;
    wl_proxy* ownSource_ = nullptr;
    std::vector<Sending> sending_;

    std::mutex mutex_;
    std::vector<Offer> pendingWrites_;
    bool stop_ = false;
    std::thread thread_;
};

const wl_registry_listener WaylandPasteboard::Reader::registryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
       std::uint32_t version) {
        static_cast<Reader*>(data)->globalAdded(registry, name, interface, version);
    },
    [](void* data, wl_registry*, std::uint32_t name) {
        auto* self = static_cast<Reader*>(data);
        if (name == self->managerName_ && self->device_)
            qCWarning(vtLog,
                      "clipboard: the compositor withdrew %s; clipboard changes are no "
                      "longer seen",
                      self->protocol_->managerName);
    }};

const wayland::DeviceListener WaylandPasteboard::Reader::deviceListener = {
    [](void* data, wl_proxy*, wl_proxy* offer) {
        auto* self = static_cast<Reader*>(data);
        wl_proxy_add_listener(
            offer,
            reinterpret_cast<void (**)()>(const_cast<wayland::OfferListener*>(&offerListener)),
            self);
        self->offerArrived(offer);
    },
    [](void* data, wl_proxy*, wl_proxy* offer) {
        static_cast<Reader*>(data)->selectionChanged(offer);
    },
    [](void* data, wl_proxy*) { static_cast<Reader*>(data)->deviceFinished(); },
    // The primary selection (select-to-paste) is not the clipboard.
    [](void* data, wl_proxy*, wl_proxy* offer) {
        if (!offer) return;
        static_cast<Reader*>(data)->offers_.remove(offer);
        wayland::DataControl::destroyOffer(offer);
    }};

const wayland::OfferListener WaylandPasteboard::Reader::offerListener = {
    [](void* data, wl_proxy* offer, const char* mime) {
        static_cast<Reader*>(data)->offerType(offer, mime);
    }};

const wayland::SourceListener WaylandPasteboard::Reader::sourceListener = {
    [](void* data, wl_proxy* source, const char* mime, std::int32_t fd) {
        static_cast<Reader*>(data)->sourceSend(source, mime, fd);
    },
    [](void* data, wl_proxy* source) { static_cast<Reader*>(data)->sourceCancelled(source); }};

WaylandPasteboard::Reader::Reader(WaylandPasteboard* owner, const QByteArray& displayName)
    : owner_(owner) {
    display_ = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!display_) {
        qCWarning(vtLog, "clipboard: cannot connect to the Wayland compositor; clipboard changes "
                         "are not seen");
        return;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    wl_display_roundtrip(display_);
    if (!protocol_ || !seat_) {
        qCWarning(vtLog, "clipboard: the compositor offers no clipboard-manager protocol "
                         "(ext or wlr data-control); clipboard changes are not seen");
        return;
    }
    manager_ = protocol_->bindManager(registry_, managerName_);
    device_ = protocol_->getDevice(manager_, seat_);
    wl_proxy_add_listener(
        device_,
        reinterpret_cast<void (**)()>(const_cast<wayland::DeviceListener*>(&deviceListener)), this);
    // The device announces what is on the clipboard now; that is the baseline, not a change.
    wl_display_roundtrip(display_);
    baselineTaken_ = true;
    connected_ = true;
    qCInfo(vtLog, "clipboard: watching the Wayland clipboard through %s", protocol_->managerName);
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { run(); });
}

WaylandPasteboard::Reader::~Reader() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        const std::uint64_t one = 1;
        (void)!::write(wake_, &one, sizeof one);
        thread_.join();
    }
    if (wake_ >= 0) ::close(wake_);
    if (!display_) return;
    dropRead();
    for (Sending& s : sending_)
        ::close(s.fd);
    for (auto it = offers_.cbegin(); it != offers_.cend(); ++it)
        wayland::DataControl::destroyOffer(it.key());
    for (auto it = sources_.cbegin(); it != sources_.cend(); ++it)
        wayland::DataControl::destroySource(it.key());
    if (device_) wayland::DataControl::destroyDevice(device_);
    if (manager_) wayland::DataControl::destroyManager(manager_);
    if (seat_) wl_seat_destroy(seat_);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
}

void WaylandPasteboard::Reader::globalAdded(wl_registry* registry, std::uint32_t name,
                                            const char* interface, std::uint32_t) {
    if (const auto* p = wayland::DataControl::forGlobal(interface)) {
        // Prefer the standard protocol where a compositor offers both.
        if (!protocol_ || std::strcmp(p->managerName, "ext_data_control_manager_v1") == 0) {
            protocol_ = p;
            managerName_ = name;
        }
    } else if (!seat_ && std::strcmp(interface, wl_seat_interface.name) == 0) {
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
}

void WaylandPasteboard::Reader::write(Offer offer) {
    {
        std::lock_guard lock(mutex_);
        pendingWrites_.push_back(std::move(offer));
    }
    const std::uint64_t one = 1;
    (void)!::write(wake_, &one, sizeof one);
}

void WaylandPasteboard::Reader::run() {
    // A program that stops reading what we send must not kill us with SIGPIPE.
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, nullptr);

    const int displayFd = wl_display_get_fd(display_);
    std::vector<pollfd> fds;
    for (;;) {
        while (wl_display_prepare_read(display_) != 0)
            wl_display_dispatch_pending(display_);
        bool flushPending = false;
        if (wl_display_flush(display_) < 0) {
            if (errno != EAGAIN) {
                wl_display_cancel_read(display_);
                break;
            }
            flushPending = true;
        }
        fds.clear();
        fds.push_back({displayFd, static_cast<short>(POLLIN | (flushPending ? POLLOUT : 0)), 0});
        fds.push_back({wake_, POLLIN, 0});
        fds.push_back({read_ && read_->fd >= 0 ? read_->fd : -1, POLLIN, 0});
        for (const Sending& s : sending_)
            fds.push_back({s.fd, POLLOUT, 0});
        // Blocks without a timeout unless a read is under way: an idle clipboard costs nothing.
        const int ready = ::poll(fds.data(), fds.size(), pollTimeout());
        wakeups.fetch_add(1, std::memory_order_relaxed);
        if (ready < 0 && errno != EINTR) {
            wl_display_cancel_read(display_);
            break;
        }
        if (ready > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
            if (wl_display_read_events(display_) < 0) break;
        } else {
            wl_display_cancel_read(display_);
        }
        if (wl_display_dispatch_pending(display_) < 0) break;
        if (ready > 0 && fds[1].revents) {
            std::uint64_t n = 0;
            (void)!::read(wake_, &n, sizeof n);
            {
                std::lock_guard lock(mutex_);
                if (stop_) return;
            }
            takeCommands();
        }
        if (ready > 0 && fds[2].fd >= 0 && fds[2].revents && read_ && read_->fd == fds[2].fd)
            readSome();
        for (std::size_t i = 3; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            for (Sending& s : sending_)
                if (s.fd == fds[i].fd) sendSome(s);
        }
        std::erase_if(sending_, [](const Sending& s) { return s.fd < 0; });
        if (read_ && read_->fd >= 0) {
            if (msSince(read_->lastBytes) > readTimeoutMs.load() ||
                msSince(read_->started) > kLongestReadMs)
                giveUp();
        }
    }
    lost.store(true);
    qCWarning(vtLog,
              "clipboard: lost the connection to the Wayland compositor (%s); clipboard "
              "changes are no longer seen",
              std::strerror(wl_display_get_error(display_)));
    // Idle until the owner goes; writes are refused from now on.
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
            pendingWrites_.clear();
        }
        pollfd wake{wake_, POLLIN, 0};
        ::poll(&wake, 1, -1);
        std::uint64_t n = 0;
        (void)!::read(wake_, &n, sizeof n);
    }
}

int WaylandPasteboard::Reader::pollTimeout() const {
    if (!read_ || read_->fd < 0) return -1;
    const std::int64_t silence = readTimeoutMs.load() - msSince(read_->lastBytes);
    const std::int64_t longest = kLongestReadMs - msSince(read_->started);
    return static_cast<int>(std::clamp<std::int64_t>(std::min(silence, longest) + 1, 0, 60000));
}

void WaylandPasteboard::Reader::takeCommands() {
    std::vector<Offer> writes;
    {
        std::lock_guard lock(mutex_);
        writes.swap(pendingWrites_);
    }
    if (writes.empty() || !device_) return;
    // Only the newest contents matter; the ones before were replaced at once.
    Offer offer = std::move(writes.back());
    wl_proxy* source = protocol_->createSource(manager_);
    wl_proxy_add_listener(
        source,
        reinterpret_cast<void (**)()>(const_cast<wayland::SourceListener*>(&sourceListener)), this);
    for (const auto& [mime, bytes] : offer)
        wayland::DataControl::offerType(source, mime.constData());
    sources_.insert(source, std::move(offer));
    wayland::DataControl::setSelection(device_, source);
    ownSource_ = source;
    // A read of what we replaced is moot now.
    dropRead();
}

void WaylandPasteboard::Reader::offerType(wl_proxy* offer, const char* mime) {
    const auto it = offers_.find(offer);
    if (it != offers_.end() && !it->contains(mime)) it->append(QByteArray(mime));
}

void WaylandPasteboard::Reader::selectionChanged(wl_proxy* offer) {
    const QList<QByteArray> mimes = offer ? offers_.take(offer) : QList<QByteArray>();
    if (!baselineTaken_ || (ownSource_ && sources_.contains(ownSource_))) {
        // What was there before we started, or our own selection: nothing to record.
        if (offer) wayland::DataControl::destroyOffer(offer);
        return;
    }
    // A newer change supersedes a read still in progress.
    dropRead();
    if (!offer) {
        publish({});
        return;
    }
    read_ = std::make_unique<Read>();
    read_->offer = offer;
    read_->started = Clock::now();
    QByteArray textMime;
    bool hint = false, uris = false, png = false, tiff = false;
    for (const QByteArray& mime : mimes) {
        if (const auto type = ClipboardMime::typeForTarget(mime))
            if (!read_->contents.types.contains(*type)) read_->contents.types.append(*type);
        if (ClipboardMime::textRank(mime) > ClipboardMime::textRank(textMime)) textMime = mime;
        hint = hint || mime == ClipboardMime::passwordHint;
        uris = uris || mime == "text/uri-list";
        png = png || mime == "image/png";
        tiff = tiff || mime == "image/tiff";
    }
    // The hint is read first so that nothing of a concealed copy is ever pulled over.
    if (hint) read_->steps.append({Kind::hint, ClipboardMime::passwordHint});
    if (uris) read_->steps.append({Kind::files, "text/uri-list"});
    if (!textMime.isEmpty()) read_->steps.append({Kind::text, textMime});
    if (png) read_->steps.append({Kind::png, "image/png"});
    if (tiff) read_->steps.append({Kind::tiff, "image/tiff"});
    nextStep();
}

void WaylandPasteboard::Reader::nextStep() {
    Read& r = *read_;
    if (r.fd >= 0) ::close(r.fd);
    r.fd = -1;
    r.bytes.clear();
    if (++r.step >= r.steps.size()) return finishRead();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(vtLog, "clipboard: cannot make a pipe (%s); change skipped",
                  std::strerror(errno));
        return giveUp();
    }
    // A larger pipe moves images in fewer turns of both programs' loops (best effort).
    ::fcntl(fds[0], F_SETPIPE_SZ, 1024 * 1024);
    // The request carries a duplicate of the write end; ours is closed so that the owner's
    // close ends the transfer.
    wayland::DataControl::receive(r.offer, r.steps[r.step].mime.constData(), fds[1]);
    ::close(fds[1]);
    r.fd = fds[0];
    r.lastBytes = Clock::now();
}

void WaylandPasteboard::Reader::readSome() {
    Read& r = *read_;
    for (;;) {
        const qsizetype at = r.bytes.size();
        r.bytes.resize(at + static_cast<qsizetype>(kChunk));
        const ssize_t n = ::read(r.fd, r.bytes.data() + at, kChunk);
        r.bytes.resize(at + std::max<qsizetype>(n, 0));
        if (n > 0) {
            r.lastBytes = Clock::now();
            continue;
        }
        if (n == 0) return stepFinished(true);
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return;
        return stepFinished(false);
    }
}

void WaylandPasteboard::Reader::stepFinished(bool ok) {
    Read& r = *read_;
    const Step& step = r.steps[r.step];
    const QByteArray bytes = ok ? r.bytes : QByteArray();
    switch (step.kind) {
    case Kind::hint:
        if (hintConceals(ok ? std::optional<QByteArray>(bytes) : std::nullopt)) {
            r.contents.types.append(PasteboardType::concealed);
            return finishRead();
        }
        break;
    case Kind::files:
        r.contents.fileURLs = ok ? ClipboardMime::fileURLsFromUriList(bytes) : QList<QUrl>();
        if (!r.contents.fileURLs.isEmpty()) return finishRead();
        // Not a list of local files: the type does not stand.
        r.contents.types.removeAll(PasteboardType::fileURL);
        break;
    case Kind::text:
        if (ok) {
            QString text = ClipboardMime::decodeText(bytes, step.mime);
            if (!text.isEmpty()) {
                r.contents.text = std::move(text);
                return finishRead();
            }
        }
        break;
    case Kind::png:
        if (ok && !bytes.isEmpty()) {
            r.contents.png = bytes;
            return finishRead();
        }
        break;
    case Kind::tiff:
        if (ok && !bytes.isEmpty()) {
            r.contents.tiff = bytes;
            return finishRead();
        }
        break;
    }
    nextStep();
}

void WaylandPasteboard::Reader::finishRead() {
    const Contents contents = std::move(read_->contents);
    dropRead();
    publish(contents);
}

void WaylandPasteboard::Reader::giveUp() {
    Read& r = *read_;
    const Step& step = r.steps[r.step];
    qCWarning(vtLog, "clipboard: owner did not answer for %s within %d ms; change skipped",
              step.mime.constData(), readTimeoutMs.load());
    // What was learnt so far (the types, no contents) is published, so the change counts as
    // seen and nothing of it is recorded; a hint that never came conceals the copy.
    Contents partial;
    partial.types = r.contents.types;
    if (step.kind == Kind::hint) partial.types.append(PasteboardType::concealed);
    dropRead();
    publish(partial);
}

void WaylandPasteboard::Reader::dropRead() {
    if (!read_) return;
    if (read_->fd >= 0) ::close(read_->fd);
    if (read_->offer) wayland::DataControl::destroyOffer(read_->offer);
    read_.reset();
}

void WaylandPasteboard::Reader::publish(const Contents& contents) {
    // Dropped with the owner if it is destroyed before the main thread gets to it.
    QMetaObject::invokeMethod(
        owner_, [owner = owner_, contents] { owner->deliver(contents); }, Qt::QueuedConnection);
}

void WaylandPasteboard::Reader::sourceSend(wl_proxy* source, const char* mime, int fd) {
    const auto it = sources_.constFind(source);
    QByteArray bytes;
    bool found = false;
    if (it != sources_.constEnd())
        for (const auto& [offered, b] : *it)
            if (offered == mime) {
                bytes = b;
                found = true;
                break;
            }
    if (!found) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    sending_.push_back({fd, bytes});
    sendSome(sending_.back());
}

void WaylandPasteboard::Reader::sendSome(Sending& s) {
    while (s.done < s.bytes.size()) {
        const ssize_t n = ::write(s.fd, s.bytes.constData() + s.done,
                                  static_cast<std::size_t>(s.bytes.size() - s.done));
        if (n > 0) {
            s.done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        // The reader went away (EPIPE) or the pipe broke: nothing more to send.
        dropPendingSigpipe();
        break;
    }
    ::close(s.fd);
    s.fd = -1;
}

void WaylandPasteboard::Reader::sourceCancelled(wl_proxy* source) {
    sources_.remove(source);
    wayland::DataControl::destroySource(source);
    if (source == ownSource_) ownSource_ = nullptr;
}

void WaylandPasteboard::Reader::deviceFinished() {
    qCWarning(vtLog, "clipboard: the compositor ended our clipboard device; clipboard changes "
                     "are no longer seen");
    dropRead();
    wayland::DataControl::destroyDevice(device_);
    device_ = nullptr;
    lost.store(true);
}

WaylandPasteboard::WaylandPasteboard(const QByteArray& displayName, QObject* parent)
    : QObject(parent), reader_(std::make_unique<Reader>(this, displayName)) {}

WaylandPasteboard::~WaylandPasteboard() = default;

bool WaylandPasteboard::isValid() const {
    return reader_->valid();
}

QByteArray WaylandPasteboard::protocol() const {
    return reader_->protocol();
}

void WaylandPasteboard::setReadTimeout(int milliseconds) {
    reader_->readTimeoutMs = milliseconds;
}

std::uint64_t WaylandPasteboard::readerWakeups() const {
    return reader_->wakeups.load();
}

void WaylandPasteboard::deliver(const Contents& contents) {
    contents_ = contents;
    ++count_;
    if (onChange_) onChange_();
}

std::optional<QString> WaylandPasteboard::string(const QString& type) const {
    if (type == PasteboardType::plainText) return contents_.text;
    return std::nullopt;
}

std::optional<QByteArray> WaylandPasteboard::data(const QString& type) const {
    if (type == PasteboardType::png) return contents_.png;
    if (type == PasteboardType::tiff) return contents_.tiff;
    if (type == PasteboardType::plainText && contents_.text) return contents_.text->toUtf8();
    return std::nullopt;
}

void WaylandPasteboard::clearContents() {
    ours_.clear();
    contents_ = {};
}

void WaylandPasteboard::add(const QByteArray& mime, const QByteArray& bytes) {
    for (auto& [offered, b] : ours_)
        if (offered == mime) {
            b = bytes;
            return;
        }
    ours_.append({mime, bytes});
}

bool WaylandPasteboard::setString(const QString& text, const QString& type) {
    if (type == PasteboardType::plainText) {
        const QByteArray utf8 = text.toUtf8();
        for (const char* mime : {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain"})
            add(mime, utf8);
        contents_.text = text;
    } else {
        add(ClipboardMime::mimeForType(type).toUtf8(), text.toUtf8());
    }
    if (!contents_.types.contains(type)) contents_.types.append(type);
    return commit();
}

bool WaylandPasteboard::setData(const QByteArray& bytes, const QString& type) {
    add(ClipboardMime::mimeForType(type).toUtf8(), bytes);
    if (type == PasteboardType::png) contents_.png = bytes;
    if (type == PasteboardType::tiff) contents_.tiff = bytes;
    if (!contents_.types.contains(type)) contents_.types.append(type);
    return commit();
}

bool WaylandPasteboard::writeFileURLs(const QList<QUrl>& urls) {
    add("text/uri-list", ClipboardMime::uriList(urls));
    add("x-special/gnome-copied-files", ClipboardMime::gnomeCopiedFiles(urls));
    const QString paths = ClipboardMime::pathsText(urls);
    for (const char* mime : {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain"})
        add(mime, paths.toUtf8());
    contents_.fileURLs = urls;
    contents_.text = paths;
    for (const QString& type :
         {PasteboardType::fileURL, QStringLiteral("x-special/gnome-copied-files"),
          PasteboardType::plainText})
        if (!contents_.types.contains(type)) contents_.types.append(type);
    return commit();
}

bool WaylandPasteboard::commit() {
    if (!reader_->valid() || reader_->lost.load()) {
        qCWarning(vtLog, "clipboard: cannot write without a Wayland clipboard-manager protocol");
        return false;
    }
    reader_->write(ours_);
    ++count_;
    return true;
}

} // namespace vt
