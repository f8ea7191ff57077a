#include "platform/linux/x11_pasteboard.h"

#include "platform/linux/clipboard_mime.h"
#include "platform/linux/clipboard_x11_errors.h"
#include "platform/log.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>

#include <mutex>
#include <set>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace vt {

namespace {
// A read that keeps trickling (incremental transfer) is still cut off after this long.
constexpr qint64 kLongestReadMs = 30000;
// Live pasteboards, so the application's teardown can release their manager selection first.
std::mutex gLiveMutex;
std::set<X11Pasteboard*> gLive;

constexpr unsigned long kSelectionEvents = XFixesSetSelectionOwnerNotifyMask |
                                           XFixesSelectionWindowDestroyNotifyMask |
                                           XFixesSelectionClientCloseNotifyMask;
} // namespace

// What we offer on the clipboard: plain bytes, plus representations made only when another
// program asks for them (once; copies of the offer share what was made).
class OfferedMimeData final : public QMimeData {
public:
    struct Lazy {
        std::function<std::optional<QByteArray>()> make;
        std::optional<QByteArray> made;
        bool tried = false;
    };
    QHash<QString, std::shared_ptr<Lazy>> lazy;

    QStringList plainFormats() const { return QMimeData::formats(); }
    QStringList formats() const override {
        QStringList out = QMimeData::formats();
        for (auto it = lazy.cbegin(); it != lazy.cend(); ++it)
            if (!out.contains(it.key())) out.append(it.key());
        return out;
    }
    bool hasFormat(const QString& mime) const override {
        return lazy.contains(mime) || QMimeData::hasFormat(mime);
    }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        const auto it = lazy.constFind(mime);
        if (it == lazy.cend()) return QMimeData::retrieveData(mime, type);
        Lazy& l = **it;
        if (!l.tried) {
            l.tried = true;
            l.made = l.make();
            if (!l.made)
                qCInfo(vtLog, "clipboard: %s could not be made; request refused", qPrintable(mime));
        }
        return l.made ? QVariant(*l.made) : QVariant();
    }
};

X11Pasteboard::X11Pasteboard(const QByteArray& displayName, QObject* parent) : QObject(parent) {
    Display* dpy = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!dpy) {
        qCWarning(vtLog, "clipboard: cannot open X display; clipboard changes are not seen");
        return;
    }
    quietX11Errors(dpy);
    int errorBase = 0;
    if (!XFixesQueryExtension(dpy, &xfixesEvent_, &errorBase)) {
        qCWarning(vtLog, "clipboard: the X server lacks XFixes; clipboard changes are not seen");
        forgetQuietX11Display(dpy);
        XCloseDisplay(dpy);
        return;
    }
    display_ = dpy;
    clipboard_ = XInternAtom(dpy, "CLIPBOARD", False);
    for (int i = 0; i < 4; ++i)
        properties_[i] =
            XInternAtom(dpy, QByteArray("VT_CLIPBOARD_" + QByteArray::number(i)), False);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    window_ = XCreateWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, CopyFromParent,
                            InputOnly, nullptr, CWEventMask, &attributes);
    XFixesSelectSelectionInput(dpy, window_, clipboard_, kSelectionEvents);
    manager_ = XInternAtom(dpy, "CLIPBOARD_MANAGER", False);
    XFixesSelectSelectionInput(dpy, window_, manager_, kSelectionEvents);
    takeManagerSelection();
    XFlush(dpy);
    // The application's own clipboard asks the manager to keep what it owns when it is torn
    // down, and would wait on us in vain: we let go before that.
    if (QCoreApplication::instance()) {
        static const bool registered = [] {
            qAddPostRoutine(&X11Pasteboard::releaseAllManagerSelections);
            return true;
        }();
        (void)registered;
        const std::lock_guard lock(gLiveMutex);
        gLive.insert(this);
    }

    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &X11Pasteboard::giveUp);
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11Pasteboard::processEvents);
}

X11Pasteboard::~X11Pasteboard() {
    {
        const std::lock_guard lock(gLiveMutex);
        gLive.erase(this);
    }
    notifier_.reset();
    fetch_.reset();
    if (display_) {
        releaseManagerSelection();
        XDestroyWindow(display_, window_);
        XSync(display_, False);
        forgetQuietX11Display(display_);
        XCloseDisplay(display_);
    }
}

void X11Pasteboard::processEvents() {
    // XPending also reads what arrived while we were waiting on a reply elsewhere.
    while (display_ && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == xfixesEvent_ + XFixesSelectionNotify) {
            const auto& e = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
            if (e.selection == manager_) {
                if (e.owner != window_) managing_ = false;
                if (e.owner == 0) takeManagerSelection();
            } else if (e.selection == clipboard_) {
                if (e.subtype == XFixesSetSelectionOwnerNotify)
                    ownerChanged(e.owner, e.selection_timestamp);
                else
                    ownerLeft();
            }
            continue;
        }
        if (event.type == SelectionRequest && event.xselectionrequest.selection == manager_) {
            managerRequest(event);
            continue;
        }
        if (event.type == SelectionClear && event.xselectionclear.selection == manager_) {
            managing_ = false;
            continue;
        }
        if (fetch_ && fetch_->handle(event)) {
            if (fetch_->state() == SelectionFetch::State::done)
                finishRead();
            else if (readClock_.elapsed() > kLongestReadMs)
                giveUp();
            else
                silence_.start(readTimeoutMs_);
        }
    }
}

void X11Pasteboard::ownerChanged(unsigned long owner, unsigned long time) {
    owner_ = owner;
    // Our own writes moved the counter already.
    if (owner != 0 && owner == ownWindow_) return;
    // A newer change supersedes a read still in progress.
    fetch_.reset();
    silence_.stop();
    if (owner == 0) {
        // Cleared on purpose (password managers do so): nothing is offered again.
        snapshot_ = {};
        publish();
        answerSaves();
        return;
    }
    const unsigned long property = properties_[reads_++ % 4];
    fetch_ = std::make_unique<SelectionFetch>(display_, window_, clipboard_, property, time);
    readClock_.start();
    silence_.start(readTimeoutMs_);
    fetch_->begin();
}

// The owner quit or closed its connection, and the clipboard is empty. Contents we read whole
// may be offered again; a change still being read when its owner vanished never is.
void X11Pasteboard::ownerLeft() {
    const bool unread = fetch_ != nullptr;
    const bool ours = owner_ != 0 && owner_ == ownWindow_;
    fetch_.reset();
    silence_.stop();
    owner_ = 0;
    if (!unread && !ours && !snapshot_.types.contains(PasteboardType::concealed) &&
        onOwnerLeaving_ && onOwnerLeaving_()) {
        qCInfo(vtLog, "clipboard: its owner quit; the newest clip is offered again");
    } else {
        snapshot_ = {};
        publish();
    }
    answerSaves();
}

void X11Pasteboard::releaseManagerSelection() {
    closing_ = true;
    if (!display_ || !managing_) return;
    managing_ = false;
    XSetSelectionOwner(display_, manager_, None, managerTime_);
    XSync(display_, False);
}

void X11Pasteboard::releaseAllManagerSelections() {
    const std::lock_guard lock(gLiveMutex);
    for (X11Pasteboard* pasteboard : gLive)
        pasteboard->releaseManagerSelection();
}

void X11Pasteboard::takeManagerSelection() {
    if (closing_ || managing_ || XGetSelectionOwner(display_, manager_) != None) return;
    // The selection wants a real timestamp: a zero-length append to our own window yields one.
    const Atom stamp = XInternAtom(display_, "VT_TIMESTAMP", False);
    XChangeProperty(display_, window_, stamp, XA_INTEGER, 32, PropModeAppend, nullptr, 0);
    XEvent event;
    struct Match {
        Window window;
        Atom atom;
    } match{window_, stamp};
    XIfEvent(
        display_, &event,
        [](Display*, XEvent* e, XPointer arg) -> Bool {
            const auto* m = reinterpret_cast<const Match*>(arg);
            return e->type == PropertyNotify && e->xproperty.window == m->window &&
                   e->xproperty.atom == m->atom;
        },
        reinterpret_cast<XPointer>(&match));
    const Time time = event.xproperty.time;
    XSetSelectionOwner(display_, manager_, window_, time);
    if (XGetSelectionOwner(display_, manager_) != window_) return;
    managing_ = true;
    managerTime_ = time;
    // Announced as every manager selection is (ICCCM 2.8).
    const Window root = DefaultRootWindow(display_);
    XEvent announce{};
    announce.xclient.type = ClientMessage;
    announce.xclient.window = root;
    announce.xclient.message_type = XInternAtom(display_, "MANAGER", False);
    announce.xclient.format = 32;
    announce.xclient.data.l[0] = static_cast<long>(time);
    announce.xclient.data.l[1] = static_cast<long>(manager_);
    announce.xclient.data.l[2] = static_cast<long>(window_);
    XSendEvent(display_, root, False, StructureNotifyMask, &announce);
    XFlush(display_);
    // XIfEvent may have read further events into Xlib's queue, which the socket will not
    // announce again.
    if (XQLength(display_) > 0) QTimer::singleShot(0, this, &X11Pasteboard::processEvents);
}

void X11Pasteboard::managerRequest(const XEvent& event) {
    const XSelectionRequestEvent& req = event.xselectionrequest;
    const SaveRequest request{req.requestor, req.property ? req.property : req.target, req.target,
                              req.time};
    const Atom targets = XInternAtom(display_, "TARGETS", False);
    const Atom timestamp = XInternAtom(display_, "TIMESTAMP", False);
    const Atom save = XInternAtom(display_, "SAVE_TARGETS", False);
    if (!managing_) return reply(request, None);
    if (req.target == targets) {
        const long list[] = {static_cast<long>(targets), static_cast<long>(save),
                             static_cast<long>(timestamp)};
        XChangeProperty(display_, req.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list), 3);
        return reply(request, request.property);
    }
    if (req.target == timestamp) {
        const long time = static_cast<long>(managerTime_);
        XChangeProperty(display_, req.requestor, request.property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
        return reply(request, request.property);
    }
    if (req.target != save) return reply(request, None);
    // Answered once the change in hand is read whole (incremental transfers included).
    pendingSaves_.push_back(request);
    if (!fetch_) answerSaves();
}

void X11Pasteboard::answerSaves() {
    if (pendingSaves_.empty()) return;
    bool kept = owner_ != 0 && owner_ == ownWindow_; // ours already: nothing to lose
    if (!kept && snapshot_.types.contains(PasteboardType::concealed))
        qCInfo(vtLog, "clipboard: hinted contents are not kept for a program that quits");
    else if (!kept)
        kept = onOwnerLeaving_ && onOwnerLeaving_();
    const Atom null = XInternAtom(display_, "NULL", False);
    for (const SaveRequest& request : pendingSaves_) {
        if (kept)
            XChangeProperty(display_, request.requestor, request.property, null, 32,
                            PropModeReplace, nullptr, 0);
        reply(request, kept ? request.property : None);
    }
    pendingSaves_.clear();
}

void X11Pasteboard::reply(const SaveRequest& request, unsigned long property) {
    XEvent notify{};
    notify.xselection.type = SelectionNotify;
    notify.xselection.requestor = request.requestor;
    notify.xselection.selection = manager_;
    notify.xselection.target = request.target;
    notify.xselection.property = property;
    notify.xselection.time = request.time;
    XSendEvent(display_, request.requestor, False, NoEventMask, &notify);
    XFlush(display_);
}

void X11Pasteboard::giveUp() {
    if (!fetch_) return;
    qCWarning(vtLog, "clipboard: owner did not answer for %s within %d ms; change skipped",
              fetch_->awaitedTarget().constData(), readTimeoutMs_);
    // What was learnt so far (types, no contents) is published, so the change counts as seen
    // and nothing of it is recorded.
    const bool knewTypes = fetch_->knowsTypes();
    ClipboardSnapshot partial = fetch_->takeSnapshot();
    fetch_.reset();
    if (knewTypes) {
        snapshot_ = std::move(partial);
        snapshot_.fileURLs.clear();
        snapshot_.text.reset();
        snapshot_.png.reset();
        snapshot_.tiff.reset();
        publish();
    }
    answerSaves();
}

void X11Pasteboard::finishRead() {
    silence_.stop();
    const bool knewTypes = fetch_->knowsTypes();
    ClipboardSnapshot done = fetch_->takeSnapshot();
    fetch_.reset();
    if (!knewTypes) {
        qCInfo(vtLog, "clipboard: owner refused to list its types; change skipped");
    } else {
        snapshot_ = std::move(done);
        publish();
    }
    answerSaves();
}

void X11Pasteboard::publish() {
    ++count_;
    if (onChange_) onChange_();
}

std::optional<QString> X11Pasteboard::string(const QString& type) const {
    if (type == PasteboardType::plainText) return snapshot_.text;
    return std::nullopt;
}

std::optional<QByteArray> X11Pasteboard::data(const QString& type) const {
    if (type == PasteboardType::png) return snapshot_.png;
    if (type == PasteboardType::tiff) return snapshot_.tiff;
    if (type == PasteboardType::plainText && snapshot_.text) return snapshot_.text->toUtf8();
    return std::nullopt;
}

void X11Pasteboard::clearContents() {
    ours_ = std::make_unique<OfferedMimeData>();
    snapshot_ = {};
}

bool X11Pasteboard::setString(const QString& text, const QString& type) {
    if (!ours_) clearContents();
    if (type == PasteboardType::plainText) {
        ours_->setText(text);
        snapshot_.text = text;
    } else {
        ours_->setData(ClipboardMime::mimeForType(type), text.toUtf8());
    }
    if (!snapshot_.types.contains(type)) snapshot_.types.append(type);
    return commit();
}

bool X11Pasteboard::setData(const QByteArray& bytes, const QString& type) {
    if (!ours_) clearContents();
    ours_->setData(ClipboardMime::mimeForType(type), bytes);
    if (type == PasteboardType::png) snapshot_.png = bytes;
    if (type == PasteboardType::tiff) snapshot_.tiff = bytes;
    if (!snapshot_.types.contains(type)) snapshot_.types.append(type);
    return commit();
}

bool X11Pasteboard::setLazyData(const QString& type,
                                std::function<std::optional<QByteArray>()> make) {
    if (!ours_) clearContents();
    ours_->lazy.insert(ClipboardMime::mimeForType(type),
                       std::make_shared<OfferedMimeData::Lazy>(
                           OfferedMimeData::Lazy{std::move(make), std::nullopt, false}));
    if (!snapshot_.types.contains(type)) snapshot_.types.append(type);
    return commit();
}

bool X11Pasteboard::writeFileURLs(const QList<QUrl>& urls) {
    if (!ours_) clearContents();
    ours_->setData(QStringLiteral("text/uri-list"), ClipboardMime::uriList(urls));
    ours_->setData(QStringLiteral("x-special/gnome-copied-files"),
                   ClipboardMime::gnomeCopiedFiles(urls));
    const QString paths = ClipboardMime::pathsText(urls);
    ours_->setText(paths);
    snapshot_.fileURLs = urls;
    snapshot_.text = paths;
    for (const QString& type :
         {PasteboardType::fileURL, QStringLiteral("x-special/gnome-copied-files"),
          PasteboardType::plainText})
        if (!snapshot_.types.contains(type)) snapshot_.types.append(type);
    return commit();
}

bool X11Pasteboard::commit() {
    auto* clipboard = qGuiApp ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard || !display_) {
        qCWarning(vtLog, "clipboard: cannot write without a GUI application and an X display");
        return false;
    }
    // QClipboard takes the object it is given; ours keeps collecting until the next clear.
    auto* copy = new OfferedMimeData;
    for (const QString& format : ours_->plainFormats())
        copy->setData(format, ours_->data(format));
    copy->lazy = ours_->lazy;
    clipboard->setMimeData(copy, QClipboard::Clipboard);
    fetch_.reset();
    silence_.stop();
    ++count_;
    // Qt has set the owner by now; remembering its window tells our own notifications apart.
    ownWindow_ = XGetSelectionOwner(display_, clipboard_);
    owner_ = ownWindow_;
    if (XQLength(display_) > 0) QTimer::singleShot(0, this, &X11Pasteboard::processEvents);
    return ownWindow_ != 0;
}

} // namespace vt
