#include "platform/linux/x11_pasteboard.h"

#include "platform/linux/clipboard_mime.h"
#include "platform/linux/clipboard_x11_errors.h"
#include "platform/log.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace vt {

namespace {
// A read that keeps trickling (incremental transfer) is still cut off after this long.
constexpr qint64 kLongestReadMs = 30000;
} // namespace

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
    XFixesSelectSelectionInput(dpy, window_, clipboard_, XFixesSetSelectionOwnerNotifyMask);
    XFlush(dpy);

    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &X11Pasteboard::giveUp);
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(dpy), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11Pasteboard::processEvents);
}

X11Pasteboard::~X11Pasteboard() {
    notifier_.reset();
    fetch_.reset();
    if (display_) {
        XDestroyWindow(display_, window_);
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
            if (e.selection == clipboard_) ownerChanged(e.owner, e.selection_timestamp);
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
    // Our own writes moved the counter already.
    if (owner != 0 && owner == ownWindow_) return;
    // A newer change supersedes a read still in progress.
    fetch_.reset();
    silence_.stop();
    if (owner == 0) {
        snapshot_ = {};
        publish();
        return;
    }
    const unsigned long property = properties_[reads_++ % 4];
    fetch_ = std::make_unique<SelectionFetch>(display_, window_, clipboard_, property, time);
    readClock_.start();
    silence_.start(readTimeoutMs_);
    fetch_->begin();
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
    if (!knewTypes) return;
    snapshot_ = std::move(partial);
    snapshot_.fileURLs.clear();
    snapshot_.text.reset();
    snapshot_.png.reset();
    snapshot_.tiff.reset();
    publish();
}

void X11Pasteboard::finishRead() {
    silence_.stop();
    const bool knewTypes = fetch_->knowsTypes();
    ClipboardSnapshot done = fetch_->takeSnapshot();
    fetch_.reset();
    if (!knewTypes) {
        qCInfo(vtLog, "clipboard: owner refused to list its types; change skipped");
        return;
    }
    snapshot_ = std::move(done);
    publish();
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
    ours_ = std::make_unique<QMimeData>();
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
    auto* copy = new QMimeData;
    for (const QString& format : ours_->formats())
        copy->setData(format, ours_->data(format));
    clipboard->setMimeData(copy, QClipboard::Clipboard);
    fetch_.reset();
    silence_.stop();
    ++count_;
    // Qt has set the owner by now; remembering its window tells our own notifications apart.
    ownWindow_ = XGetSelectionOwner(display_, clipboard_);
    if (XQLength(display_) > 0) QTimer::singleShot(0, this, &X11Pasteboard::processEvents);
    return ownWindow_ != 0;
}

} // namespace vt
