#include "platform/linux/x11_workspace.h"

#include "platform/linux/clipboard_x11_errors.h"
#include "platform/log.h"

#include <QFileInfo>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vt {

namespace {

QByteArray textProperty(Display* dpy, Window w, const char* name) {
    const Atom atom = XInternAtom(dpy, name, True);
    if (atom == 0) return {};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QByteArray out;
    if (XGetWindowProperty(dpy, w, atom, 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (format == 8)
            out = QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count));
        XFree(data);
    }
    return out;
}

// WM_CLASS holds instance and class, each NUL-terminated; the class names the application.
struct WmClass {
    QString instance;
    QString cls;
};

WmClass wmClass(Display* dpy, Window w) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, w, &hint)) return {};
    WmClass out{QString::fromLocal8Bit(hint.res_name ? hint.res_name : ""),
                QString::fromLocal8Bit(hint.res_class ? hint.res_class : "")};
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return out;
}

bool hasWmClass(Display* dpy, Window w) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, w, &hint)) return false;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return true;
}

// The process behind a window, from _NET_WM_PID; 0 when the window does not say.
long windowPid(Display* dpy, Window w) {
    const Atom atom = XInternAtom(dpy, "_NET_WM_PID", True);
    if (atom == 0) return 0;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(dpy, w, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (format == 32 && count == 1) pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// The program file a process runs, without folders; empty when it cannot be seen (another
// user's process, or a window from another machine).
QString executableOf(long pid) {
    if (pid <= 0) return {};
    const QString target = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return QFileInfo(target).fileName();
}

QString stripDesktop(QString id) {
    if (id.endsWith(QLatin1String(".desktop"))) id.chop(8);
    return id;
}

} // namespace

X11Workspace::X11Workspace(const QByteArray& displayName) {
    display_ = XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData());
    if (display_)
        quietX11Errors(display_);
    else
        qCWarning(vtLog, "workspace: cannot open X display; no frontmost application");
}

X11Workspace::~X11Workspace() {
    if (!display_) return;
    forgetQuietX11Display(display_);
    XCloseDisplay(display_);
}

unsigned long X11Workspace::activeWindow() const {
    Display* dpy = display_;
    const Window root = DefaultRootWindow(dpy);
    Window w = 0;
    const Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", True);
    if (active != 0) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, root, active, 0, 1, False, XA_WINDOW, &type, &format, &count,
                               &after, &data) == Success &&
            data) {
            if (format == 32 && count == 1) w = static_cast<Window>(*reinterpret_cast<long*>(data));
            XFree(data);
        }
    }
    if (w == 0) {
        int revert = 0;
        XGetInputFocus(dpy, &w, &revert);
        if (w == PointerRoot) w = 0;
    }
    // Focus often sits on a child of the application's top-level window.
    for (int depth = 0; w != 0 && w != root && depth < 64; ++depth) {
        if (hasWmClass(dpy, w)) return w;
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(dpy, w, &rootReturn, &parent, &children, &n)) return 0;
        if (children) XFree(children);
        w = parent;
    }
    return 0;
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() const {
    if (!display_) return std::nullopt;
    const Window w = activeWindow();
    if (w == 0) return std::nullopt;
    // A window id can be given again to a window of another process: the process must match too.
    const long pid = windowPid(display_, w);
    if (last_ && last_->window == w && last_->pid == pid) return last_->app;
    RunningApplication app;
    const WmClass wm = wmClass(display_, w);
    // The ids a window declares for its desktop entry: KDE and Qt set the desktop-file name,
    // GTK its application id (reverse-DNS, which is also its desktop-file id).
    const QString kdeId =
        stripDesktop(QString::fromUtf8(textProperty(display_, w, "_KDE_NET_WM_DESKTOP_FILE")));
    const QString gtkId = QString::fromUtf8(textProperty(display_, w, "_GTK_APPLICATION_ID"));
    const QString executable = executableOf(pid);

    std::optional<DesktopEntry> entry;
    for (const QString& id : {kdeId, gtkId}) {
        if (!entry && !id.isEmpty()) entry = entries_.application(id);
    }
    if (!entry) entry = entries_.forWindow(wm.cls, wm.instance, executable);
    // Most programs name their desktop file after their window's instance or class.
    for (const QString& id : {wm.instance, wm.cls.toLower()}) {
        if (!entry && !id.isEmpty()) entry = entries_.application(id);
    }

    QString id = entry ? entry->id : !kdeId.isEmpty() ? kdeId : !gtkId.isEmpty() ? gtkId : wm.cls;
    if (!id.isEmpty()) app.bundleIdentifier = id;
    for (const QString& n : {id, kdeId, gtkId, wm.instance, wm.cls, executable}) {
        if (!n.isEmpty() && !app.names.contains(n, Qt::CaseInsensitive)) app.names.append(n);
    }
    const QString name = entry && !entry->name.isEmpty() ? entry->name : wm.cls;
    if (!name.isEmpty()) app.localizedName = name;
    last_ = Looked{w, pid, app};
    return app;
}

void X11Workspace::setDataDirs(const QStringList& dirs) {
    entries_ = DesktopEntries(dirs);
    last_.reset();
}

} // namespace vt
