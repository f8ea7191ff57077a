// A clipboard owner for tests: offers several targets at once (which xclip cannot), or never
// answers. Usage: vt_test_clip_owner [--silent | --silent-data] TARGET=FILE...
// Prints "owned" once it holds CLIPBOARD and exits when another program takes it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Offer {
    Atom target;
    std::string bytes;
};

void answer(Display* dpy, const XSelectionRequestEvent& req, Atom property) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = dpy;
    reply.xselection.requestor = req.requestor;
    reply.xselection.selection = req.selection;
    reply.xselection.target = req.target;
    reply.xselection.property = property;
    reply.xselection.time = req.time;
    XSendEvent(dpy, req.requestor, False, 0, &reply);
    XFlush(dpy);
}

} // namespace

int main(int argc, char** argv) {
    bool silent = false, silentData = false;
    std::vector<std::pair<std::string, std::string>> args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--silent") {
            silent = true;
        } else if (arg == "--silent-data") {
            silentData = true;
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            std::string bytes;
            if (FILE* f = std::fopen(arg.substr(eq + 1).c_str(), "rb")) {
                char chunk[65536];
                for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
                    bytes.append(chunk, n);
                std::fclose(f);
            }
            args.emplace_back(arg.substr(0, eq), bytes);
        }
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return 2;
    std::vector<Offer> offers;
    for (const auto& [name, bytes] : args)
        offers.push_back({XInternAtom(dpy, name.c_str(), False), bytes});
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    const Atom targets = XInternAtom(dpy, "TARGETS", False);
    const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, clipboard, w, CurrentTime);
    if (XGetSelectionOwner(dpy, clipboard) != w) return 3;
    std::puts("owned");
    std::fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == SelectionClear) return 0;
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
            if (o.target != req.target) continue;
            XChangeProperty(dpy, req.requestor, property, o.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(o.bytes.data()),
                            static_cast<int>(o.bytes.size()));
            served = property;
        }
        answer(dpy, req, served);
    }
}
