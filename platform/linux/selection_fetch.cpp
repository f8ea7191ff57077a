#include "platform/linux/selection_fetch.h"

#include "platform/linux/clipboard_mime.h"
#include "platform/log.h"
#include "platform/pasteboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cstring>

namespace vt {

namespace {

// Property reads ask for everything at once; Xlib splits huge replies itself.
constexpr long kWholeProperty = 0x1FFFFFFF;

struct Property {
    bool ok = false;
    Atom type = 0;
    int format = 0;
    QByteArray bytes;
    QList<Atom> atoms;
};

Property readProperty(Display* dpy, Window w, Atom property) {
    Property p;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, property, 0, kWholeProperty, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success)
        return p;
    p.ok = true;
    p.type = type;
    p.format = format;
    if (data) {
        if (format == 32) {
            // Xlib hands 32-bit items out as longs.
            const auto* items = reinterpret_cast<const long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                p.atoms.append(static_cast<Atom>(items[i]));
            p.bytes = QByteArray(reinterpret_cast<const char*>(data),
                                 static_cast<qsizetype>(count * sizeof(long)));
        } else {
            p.bytes = QByteArray(reinterpret_cast<const char*>(data),
                                 static_cast<qsizetype>(count * static_cast<unsigned>(format / 8)));
        }
        XFree(data);
    }
    return p;
}

QList<QByteArray> atomNames(Display* dpy, QList<Atom> atoms) {
    QList<QByteArray> names;
    if (atoms.isEmpty()) return names;
    QList<char*> raw(atoms.size(), nullptr);
    if (!XGetAtomNames(dpy, atoms.data(), static_cast<int>(atoms.size()), raw.data())) {
        // Some atom was bogus: fall back to one lookup each so the good ones survive.
        for (qsizetype i = 0; i < atoms.size(); ++i)
            raw[i] = XGetAtomName(dpy, atoms[i]);
    }
    for (char* name : raw) {
        names.append(name ? QByteArray(name) : QByteArray());
        if (name) XFree(name);
    }
    return names;
}

} // namespace

SelectionFetch::SelectionFetch(Display* display, unsigned long requestor, unsigned long selection,
                               unsigned long property, unsigned long time)
    : display_(display), window_(requestor), selection_(selection), property_(property),
      time_(time) {
    incrAtom_ = XInternAtom(display_, "INCR", False);
    steps_.append({Kind::targets, "TARGETS"});
}

void SelectionFetch::begin() {
    // Leftovers of an abandoned read must not pass for this one's answer.
    XDeleteProperty(display_, window_, property_);
    request(steps_.front().target);
}

void SelectionFetch::request(const QByteArray& target) {
    requested_ = XInternAtom(display_, target.constData(), False);
    incremental_ = false;
    incrementBuffer_.clear();
    XConvertSelection(display_, selection_, requested_, property_, window_, time_);
    XFlush(display_);
}

bool SelectionFetch::handle(const XEvent& event) {
    if (state_ != State::running) return false;
    if (event.type == SelectionNotify) {
        const XSelectionEvent& e = event.xselection;
        if (e.requestor != window_ || e.selection != selection_ || e.target != requested_)
            return false;
        if (e.property == 0) {
            refused();
            return true;
        }
        Property p = readProperty(display_, window_, property_);
        if (!p.ok) {
            refused();
        } else if (p.type == incrAtom_) {
            // Deleting the property (done by the read) tells the owner to send the first piece.
            incremental_ = true;
            incrementType_ = 0;
            incrementFormat_ = 0;
        } else if (steps_[step_].kind == Kind::targets) {
            planFromTargets(p.bytes);
        } else {
            received_ += static_cast<std::size_t>(p.bytes.size());
            received(p.bytes, p.type, p.format);
        }
        return true;
    }
    if (event.type == PropertyNotify && incremental_) {
        const XPropertyEvent& e = event.xproperty;
        if (e.window != window_ || e.atom != property_ || e.state != PropertyNewValue) return false;
        Property p = readProperty(display_, window_, property_);
        if (!p.ok) {
            refused();
        } else if (!p.bytes.isEmpty()) {
            received_ += static_cast<std::size_t>(p.bytes.size());
            incrementBuffer_.append(p.bytes);
            if (incrementType_ == 0) {
                incrementType_ = p.type;
                incrementFormat_ = p.format;
            }
        } else {
            incremental_ = false;
            const QByteArray whole = std::move(incrementBuffer_);
            incrementBuffer_.clear();
            if (steps_[step_].kind == Kind::targets)
                planFromTargets(whole);
            else
                received(whole, incrementType_ ? incrementType_ : p.type,
                         incrementFormat_ ? incrementFormat_ : p.format);
        }
        return true;
    }
    return false;
}

void SelectionFetch::planFromTargets(const QByteArray& raw) {
    QList<Atom> atoms;
    const qsizetype n = raw.size() / static_cast<qsizetype>(sizeof(long));
    for (qsizetype i = 0; i < n; ++i) {
        long value = 0;
        std::memcpy(&value, raw.constData() + i * static_cast<qsizetype>(sizeof(long)),
                    sizeof(long));
        atoms.append(static_cast<Atom>(value));
    }
    knowsTypes_ = true;
    QByteArray textTarget;
    bool hint = false, uris = false, png = false, tiff = false;
    for (const QByteArray& name : atomNames(display_, atoms)) {
        if (const auto type = ClipboardMime::typeForTarget(name)) {
            if (!snapshot_.types.contains(*type)) snapshot_.types.append(*type);
        }
        if (ClipboardMime::textRank(name) > ClipboardMime::textRank(textTarget)) textTarget = name;
        hint = hint || name == ClipboardMime::passwordHint;
        uris = uris || name == "text/uri-list";
        png = png || name == "image/png";
        tiff = tiff || name == "image/tiff";
    }
    // The hint is read first so that nothing of a concealed copy is ever pulled over. Offering it
    // conceals the copy until its value turns out to be plainly something else than "secret".
    if (hint) {
        snapshot_.types.append(PasteboardType::concealed);
        steps_.append({Kind::hint, ClipboardMime::passwordHint});
    }
    if (uris) steps_.append({Kind::files, "text/uri-list"});
    if (!textTarget.isEmpty()) steps_.append({Kind::text, textTarget});
    if (png) steps_.append({Kind::png, "image/png"});
    if (tiff) steps_.append({Kind::tiff, "image/tiff"});
    advance();
}

void SelectionFetch::refused() {
    // An owner that will not say what its hint means is keeping a secret.
    if (step_ < steps_.size() && steps_[step_].kind == Kind::hint) return finish();
    advance();
}

void SelectionFetch::received(const QByteArray& bytes, unsigned long type, int format) {
    switch (steps_[step_].kind) {
    case Kind::targets:
        break;
    case Kind::hint:
        if (format != 8 || ClipboardMime::hintConceals(bytes)) return finish();
        snapshot_.types.removeAll(PasteboardType::concealed);
        break;
    case Kind::files:
        snapshot_.fileURLs = ClipboardMime::fileURLsFromUriList(bytes);
        if (!snapshot_.fileURLs.isEmpty()) return finish();
        // Not a list of local files: the type does not stand.
        snapshot_.types.removeAll(PasteboardType::fileURL);
        break;
    case Kind::text: {
        // Numbers, atoms or anything else answered for a text target are not text.
        const QByteArray typeName = type == requested_ ? steps_[step_].target : atomName(type);
        if (format != 8 || ClipboardMime::textRank(typeName) == 0) {
            qCInfo(vtLog, "clipboard: text target %s answered as %s; not taken as text",
                   steps_[step_].target.constData(), typeName.constData());
            break;
        }
        QString text = ClipboardMime::decodeText(bytes, typeName);
        if (!text.isEmpty()) {
            snapshot_.text = std::move(text);
            return finish();
        }
        break;
    }
    case Kind::png:
        snapshot_.png = bytes;
        return finish();
    case Kind::tiff:
        snapshot_.tiff = bytes;
        return finish();
    }
    advance();
}

QByteArray SelectionFetch::atomName(unsigned long atom) const {
    if (atom == 0) return {};
    char* name = XGetAtomName(display_, atom);
    const QByteArray out = name ? QByteArray(name) : QByteArray();
    if (name) XFree(name);
    return out;
}

void SelectionFetch::advance() {
    ++step_;
    if (step_ >= steps_.size()) return finish();
    request(steps_[step_].target);
}

} // namespace vt
