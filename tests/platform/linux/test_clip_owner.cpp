// A clipboard owner for tests: offers several targets at once (which xclip cannot), or never
// answers. Usage: vt_test_clip_owner [--silent | --silent-data] [--save]
//                 TARGET[:TYPE]=FILE... TARGET!...
// TYPE is the property type of the answer (default: the target itself); TARGET! is listed but
// its conversion refused. Prints "owned" once it holds CLIPBOARD and exits when another program
// takes it, or on SIGTERM; with --save it first asks the clipboard manager to keep the contents
// (SAVE_TARGETS) and prints "saved" or "refused".
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void answer(Display* dpy, const XSelectionRequestEvent& req, Atom property) {
    XEvent reply{};
    reply.xselection = {SelectionNotify, 0,          True,     dpy,     req.requestor,
                        req.selection,   req.target, property, req.time};
    XSendEvent(dpy, req.requestor, False, 0, &reply);
    XFlush(dpy);
}

volatile std::sig_atomic_t quitting = 0;

} // namespace

int main(int argc, char** argv) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 2;
    bool silent = false, silentData = false, save = false;
    struct Offer {
        Atom target, type;
        std::string bytes;
        bool refused;
    };
    std::vector<Offer> offers;
    const auto atom = [&](const std::string& name) {
        return XInternAtom(dpy, name.c_str(), False);
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--silent") {
            silent = true;
        } else if (arg == "--silent-data") {
            silentData = true;
        } else if (arg == "--save") {
            save = true;
        } else if (!arg.empty() && arg.back() == '!') {
            offers.push_back({atom(arg.substr(0, arg.size() - 1)), 0, {}, true});
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            std::string bytes;
            if (FILE* f = std::fopen(arg.substr(eq + 1).c_str(), "rb")) {
                char chunk[65536];
                for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
                    bytes.append(chunk, n);
                std::fclose(f);
            }
            const std::string target = arg.substr(0, eq);
            const auto colon = target.find(':');
            const Atom t = atom(target.substr(0, colon));
            offers.push_back(
                {t, colon == std::string::npos ? t : atom(target.substr(colon + 1)), bytes, false});
        }
    }
    const Atom clipboard = atom("CLIPBOARD"), targets = atom("TARGETS");
    const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, clipboard, w, CurrentTime);
    if (XGetSelectionOwner(dpy, clipboard) != w) return 3;
    std::puts("owned");
    std::fflush(stdout);

    std::signal(SIGTERM, [](int) { quitting = 1; });
    bool saving = false;
    for (;;) {
        if (XPending(dpy) == 0) {
            if (quitting && !saving) {
                if (!save) return 0;
                saving = true;
                XConvertSelection(dpy, atom("CLIPBOARD_MANAGER"), atom("SAVE_TARGETS"),
                                  atom("VT_SAVE"), w, CurrentTime);
                XFlush(dpy);
            }
            pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
            ::poll(&fd, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == SelectionNotify && saving) {
            std::puts(event.xselection.property != 0 ? "saved" : "refused");
            std::fflush(stdout);
            return 0;
        }
        if (event.type == SelectionClear) {
            if (saving) continue; // the manager took over; its answer follows
            return 0;
        }
        if (event.type != SelectionRequest || silent) continue;
        const XSelectionRequestEvent& req = event.xselectionrequest;
        const Atom property = req.property ? req.property : req.target;
        if (req.target == targets) {
            std::vector<long> atoms = {static_cast<long>(targets)};
            for (const Offer& o : offers)
                atoms.push_back(static_cast<long>(o.target));
            XChangeProperty(dpy, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(atoms.data()),
                            static_cast<int>(atoms.size()));
            answer(dpy, req, property);
            continue;
        }
        if (silentData) continue;
        Atom served = 0;
        for (const Offer& o : offers) {
            if (o.target != req.target || o.refused) continue;
            XChangeProperty(dpy, req.requestor, property, o.type, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(o.bytes.data()),
                            static_cast<int>(o.bytes.size()));
            served = property;
        }
        answer(dpy, req, served);
    }
}
