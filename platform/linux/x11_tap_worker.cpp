// Qt before Xlib: Xlib defines macros (Bool, Status) that break Qt headers.
#include "platform/log.h"

#include "platform/linux/x11_tap_translation.h"
#include "platform/linux/x11_tap_worker.h"
#include <X11/XKBlib.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <array>
#include <cstdlib>
#include <string>
#include <tuple>

namespace vt {
namespace {

using Clock = std::chrono::steady_clock;

} // namespace

X11TapWorker::X11TapWorker(std::uint64_t eventMask, Ask ask, Tell tell, VerdictTimer timer,
                           Drain drain)
    : mask_(eventMask), ask_(std::move(ask)), tell_(std::move(tell)), timer_(std::move(timer)),
      drain_(std::move(drain)) {}

X11TapWorker::~X11TapWorker() {
    if (!display_) return;
    if (xtestKeyboard_) XCloseDevice(display_, static_cast<XDevice*>(xtestKeyboard_));
    releaseActiveGrab();
    XUngrabKeyboard(display_, CurrentTime);
    ungrabChord();
    XSync(display_, False);
    trap_.reset();
    XCloseDisplay(display_);
}

bool X11TapWorker::open() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return false;
    xcb_ = XGetXCBConnection(display_);
    trap_ = std::make_unique<X11ErrorTrap>(display_);
    int event = 0, error = 0, major = 0, minor = 0;
    trusted_ = XTestQueryExtension(display_, &event, &error, &major, &minor);
    root_ = DefaultRootWindow(display_);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display_, True, &supported);
    unsigned int delay = 0, interval = 0;
    if (XkbGetAutoRepeatRate(display_, XkbUseCoreKbd, &delay, &interval) && interval > 0) {
        repeatDelayMs_ = delay;
        repeatIntervalMs_ = interval;
    }
    readKeyboardMapping();
    if (!trusted_ || !grabChord()) {
        trap_.reset();
        XCloseDisplay(display_);
        display_ = nullptr;
        return false;
    }
    return true;
}

int X11TapWorker::connectionFd() const {
    return display_ ? ConnectionNumber(display_) : -1;
}

void X11TapWorker::readKeyboardMapping() {
    vKeycode_ = XKeysymToKeycode(display_, XK_v);
    numLockMask_ = 0;
    std::fill(std::begin(modifierMaskOf_), std::end(modifierMaskOf_), 0u);
    XModifierKeymap* map = XGetModifierMapping(display_);
    if (!map) return;
    const unsigned int numLock = XKeysymToKeycode(display_, XK_Num_Lock);
    for (int mod = 0; mod < 8; ++mod) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            const unsigned int code = map->modifiermap[mod * map->max_keypermod + k];
            if (code == 0) continue;
            modifierMaskOf_[code & 0xFF] |= 1u << mod;
            if (numLock != 0 && code == numLock) numLockMask_ = 1u << mod;
        }
    }
    XFreeModifiermap(map);
}

bool X11TapWorker::grabChord() {
    if (vKeycode_ == 0) return false;
    trap_->reset();
    // The passive grab does not freeze the keyboard: were this program stopped, a Ctrl+V would
    // otherwise stop all typing. Its press comes to us, and the keyboard is grabbed (frozen, so
    // that every later key can still be replayed) from the tap's own thread at once.
    const std::array<unsigned int, 4> locks{0u, LockMask, numLockMask_, LockMask | numLockMask_};
    for (unsigned int lock : locks)
        XGrabKey(display_, static_cast<int>(vKeycode_), ControlMask | lock, root_, False,
                 GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    if (trap_->count() == 0) {
        setChordHeld(true);
        return true;
    }
    setChordHeld(false);
    // Another program holds the chord: leave nothing half-grabbed behind.
    qCWarning(vtLog) << "Ctrl+V is grabbed by another program (X error" << trap_->lastErrorCode()
                     << ")";
    ungrabChord();
    XSync(display_, False);
    trap_->reset();
    return false;
}

void X11TapWorker::ungrabChord() {
    ungrabChord(vKeycode_, numLockMask_);
}

void X11TapWorker::ungrabChord(unsigned int keycode, unsigned int numLockMask) {
    if (keycode == 0) return;
    const std::array<unsigned int, 4> locks{0u, LockMask, numLockMask, LockMask | numLockMask};
    for (unsigned int lock : locks)
        XUngrabKey(display_, static_cast<int>(keycode), ControlMask | lock, root_);
}

bool X11TapWorker::wants(std::uint32_t type) const {
    return enabled_ && type < 64 && (mask_ & tapEventMaskBit(type)) != 0;
}

std::int64_t X11TapWorker::tapKeyCode(unsigned int xKeycode) const {
    const auto code = static_cast<KeyCode>(xKeycode);
    const std::int64_t base = x11tap::keyCodeForKeysym(XkbKeycodeToKeysym(display_, code, 0, 0));
    if (base != TapKeyCode::unknown) return base;
    // Layouts that put the digits on the shifted level (AZERTY) still choose by digit.
    const std::int64_t shifted = x11tap::keyCodeForKeysym(XkbKeycodeToKeysym(display_, code, 0, 1));
    const bool digit = shifted != TapKeyCode::unknown && shifted >= TapKeyCode::digit1 &&
                       shifted <= TapKeyCode::digit0;
    return digit ? shifted : TapKeyCode::unknown;
}

bool X11TapWorker::looksLikeRepeat(unsigned int xKeycode, Time time) const {
    const Time last = lastPress_[xKeycode];
    if (last == 0 || time < last) return false;
    const Time since = time - last;
    // Nobody presses a key again within a repeat interval, or at exactly the repeat delay.
    constexpr Time slack = 30;
    return since <= repeatIntervalMs_ + slack ||
           (since + slack >= repeatDelayMs_ && since <= repeatDelayMs_ + slack);
}

void X11TapWorker::processEvents() {
    // Replies read while grabbing can carry events into Xlib's queue behind the socket's back:
    // loop until the queue is empty, so the caller's poll() does not sleep on queued events.
    do {
        processQueued();
        XFlush(display_);
    } while (XQLength(display_) > 0);
}

void X11TapWorker::processQueued() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        switch (event.type) {
        case KeyPress:
        case KeyRelease:
            handleKey(event.xkey);
            break;
        case MotionNotify:
        case ButtonPress:
        case ButtonRelease:
            handlePointer(event);
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            if (event.xmapping.request != MappingPointer) {
                // Every switch between keyboards (XTest included) announces a mapping; grab
                // again only when the chord's keycode or the NumLock bit really moved, since
                // the chord is unguarded in between.
                const unsigned int oldV = vKeycode_;
                const unsigned int oldNumLock = numLockMask_;
                readKeyboardMapping();
                if (vKeycode_ != oldV || numLockMask_ != oldNumLock) {
                    ungrabChord(oldV, oldNumLock);
                    if (!grabChord()) tell_(TapEventType::tapDisabledByUserInput, TapEvent{});
                }
            }
            break;
        default:
            break;
        }
    }
}

void X11TapWorker::handleKey(XKeyEvent& event) {
    const auto arrival = Clock::now();
    const bool pressed = event.type == KeyPress;
    const unsigned int code = event.keycode & 0xFF;
    const bool repeat =
        pressed && (keysDown_.count(code) != 0 || looksLikeRepeat(code, event.time));
    if (pressed) {
        keysDown_.insert(code);
        lastPress_[code] = event.time;
    } else {
        keysDown_.erase(code);
        lastPress_[code] = 0;
    }

    // A paste is on its way: V going on from the hold is ours; any other key waits, with the
    // keyboard frozen behind it, and is handled once the paste has gone out.
    if (pasteOwed_ && activeGrab_) {
        if (code == vKeycode_ && (swallowV_ || !pressed)) {
            if (!pressed) swallowV_ = false;
            XAllowEvents(display_, SyncKeyboard, CurrentTime);
            XFlush(display_);
        } else if (!keptKey_) {
            XEvent kept{};
            kept.xkey = event;
            keptKey_ = kept;
        }
        return;
    }
    // A hold ended while V was still down: its repeats and its release would type "v" into the
    // application. They are ours, with no question asked; any other key still goes through.
    if (swallowV_ && activeGrab_) {
        if (code != vKeycode_) {
            XAllowEvents(display_, ReplayKeyboard, CurrentTime);
            if (!regrabKeyboard()) swallowV_ = false;
        } else if (pressed) {
            XAllowEvents(display_, SyncKeyboard, CurrentTime);
        } else {
            swallowV_ = false;
            releaseActiveGrab();
        }
        XFlush(display_);
        return;
    }
    swallowV_ = false;

    // The chord's press arrives through the passive grab, which leaves the keyboard running:
    // take it at once, before asking, so that what follows waits for the verdict.
    const bool chordPress = pressed && !activeGrab_ && code == vKeycode_;
    // Any other key that reaches us without our grab came through the passive grab while it
    // was active, unfrozen: what passes it on is typing it again.
    const bool unfrozen = !activeGrab_ && !chordPress;
    if (chordPress) requestActiveGrab();

    TapEvent tap;
    tap.location = x11tap::eventSpacePoint(event.x_root, event.y_root, space_);
    tap.keycode = tapKeyCode(code);
    const unsigned int modifier = modifierMaskOf_[code];
    if (modifier != 0) {
        bool otherHolds = false;
        for (unsigned int k : keysDown_)
            if (k != code && (modifierMaskOf_[k] & modifier)) otherHolds = true;
        tap.type = TapEventType::flagsChanged;
        tap.flags = x11tap::flagsForState(
            x11tap::stateAfterModifierKey(event.state, modifier, pressed, otherHolds));
    } else {
        tap.type = pressed ? TapEventType::keyDown : TapEventType::keyUp;
        tap.flags = x11tap::flagsForState(event.state);
        tap.autorepeat = repeat ? 1 : 0;
    }

    std::optional<bool> verdict = false;
    if (wants(tap.type)) verdict = ask_(tap.type, tap);
    const bool swallow = verdict.value_or(false);
    const bool holdGoesOn = tap.type == TapEventType::flagsChanged &&
                            (tap.flags & TapEventFlag::command) != 0 && activeGrab_;
    // Ctrl let go with V still down after a swallowed press: the hold is over, V is not.
    const bool vStillDown = tap.type == TapEventType::flagsChanged &&
                            (tap.flags & TapEventFlag::command) == 0 && activeGrab_ &&
                            keysDown_.count(vKeycode_) != 0;
    if (unfrozen) {
        if (!swallow) repost(event);
        allowIssued_ = Clock::now();
    } else if (chordPress) {
        if (swallow) {
            xcb_allow_events(xcb_, XCB_ALLOW_SYNC_KEYBOARD, XCB_CURRENT_TIME);
            allowIssued_ = Clock::now();
            xcb_flush(xcb_);
        } else {
            // Nothing froze this press: the application gets it typed again.
            finishActiveGrab();
            allowIssued_ = Clock::now();
            repost(event);
        }
    } else if (!swallow && holdGoesOn) {
        replayKeepingGrab();
    } else if (swallow && vStillDown) {
        // The release that chose a clip, kept until the paste: V's repeats stay ours too.
        applyVerdict(true);
        swallowV_ = true;
    } else if (!swallow && vStillDown) {
        XAllowEvents(display_, ReplayKeyboard, CurrentTime);
        allowIssued_ = Clock::now();
        XUngrabPointer(display_, CurrentTime);
        swallowV_ = regrabKeyboard();
    } else {
        applyVerdict(verdict);
    }
    if (timer_) {
        auto since = [&](Clock::time_point t) {
            return std::chrono::duration_cast<std::chrono::nanoseconds>(t - arrival).count();
        };
        timer_({since(allowIssued_), since(Clock::now())});
    }
    finishActiveGrab();
    if (!verdict) tell_(TapEventType::tapDisabledByTimeout, TapEvent{});
    // What the verdict decided (a paste) goes out before the next key is looked at.
    if (drain_) drain_();
}

void X11TapWorker::applyVerdict(std::optional<bool> verdict) {
    if (verdict.value_or(false)) {
        XAllowEvents(display_, SyncKeyboard, CurrentTime);
        allowIssued_ = Clock::now();
    } else {
        // Replaying ends the keyboard grab and hands this event to the focused window as if no
        // grab existed.
        // The replay itself ends the keyboard grab; an XUngrabKeyboard after it could end a grab
        // that the next queued key press has activated meanwhile.
        if (activeGrab_) XUngrabPointer(display_, CurrentTime);
        activeGrab_ = false;
        XAllowEvents(display_, ReplayKeyboard, CurrentTime);
        allowIssued_ = Clock::now();
        // From here on key events go past us unseen: what we knew of held keys is stale.
        keysDown_.clear();
    }
    XFlush(display_);
}

// Another modifier changed while Ctrl is still held during a hold: the application sees the
// change, and the keyboard is taken again at once, since the hold is not over.
void X11TapWorker::replayKeepingGrab() {
    XAllowEvents(display_, ReplayKeyboard, CurrentTime);
    allowIssued_ = Clock::now();
    if (!regrabKeyboard()) {
        tell_(TapEventType::tapDisabledByUserInput, TapEvent{});
        return;
    }
    // A Ctrl release that slipped through between the replay and the new grab went to the
    // application; report it, or the hold would wait for a release it never sees.
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    for (unsigned int code = 8; code < 256; ++code) {
        const bool down = (keys[code / 8] >> (code % 8)) & 1;
        if (down && (modifierMaskOf_[code] & ControlMask)) return;
    }
    TapEvent released;
    released.type = TapEventType::flagsChanged;
    if (wants(released.type)) tell_(released.type, released);
}

bool X11TapWorker::regrabKeyboard() {
    const int keyboard =
        XGrabKeyboard(display_, root_, False, GrabModeAsync, GrabModeSync, CurrentTime);
    if (keyboard != GrabSuccess) {
        releaseActiveGrab();
        return false;
    }
    XAllowEvents(display_, SyncKeyboard, CurrentTime);
    return true;
}

void X11TapWorker::requestActiveGrab() {
    // Synchronous keyboard mode, so that every later key event can still be either swallowed or
    // replayed to the application.
    pendingKeyboardGrab_ =
        xcb_grab_keyboard(xcb_, 0, root_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC)
            .sequence;
    const std::uint16_t pointerMask =
        XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
    pendingPointerGrab_ =
        xcb_grab_pointer(xcb_, 0, root_, pointerMask, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                         XCB_NONE, XCB_NONE, XCB_CURRENT_TIME)
            .sequence;
    grabPending_ = true;
    activeGrab_ = true;
}

void X11TapWorker::finishActiveGrab() {
    if (!grabPending_) return;
    grabPending_ = false;
    std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> keyboard(
        xcb_grab_keyboard_reply(xcb_, {pendingKeyboardGrab_}, nullptr), &std::free);
    std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> pointer(
        xcb_grab_pointer_reply(xcb_, {pendingPointerGrab_}, nullptr), &std::free);
    if (!pointer || pointer->status != XCB_GRAB_STATUS_SUCCESS)
        qCWarning(vtLog) << "pointer grab failed:" << (pointer ? pointer->status : -1);
    if (!keyboard || keyboard->status != XCB_GRAB_STATUS_SUCCESS) {
        qCWarning(vtLog) << "keyboard grab failed:" << (keyboard ? keyboard->status : -1);
        // Without the keyboard the hold cannot go on: let go of the pointer too.
        releaseActiveGrab();
        tell_(TapEventType::tapDisabledByUserInput, TapEvent{});
    }
}

void X11TapWorker::releaseActiveGrab() {
    if (!activeGrab_) return;
    activeGrab_ = false;
    XUngrabPointer(display_, CurrentTime);
    XUngrabKeyboard(display_, CurrentTime);
}

void X11TapWorker::handlePointer(const XEvent& event) {
    TapEvent tap;
    if (event.type == MotionNotify) {
        tap.type = (event.xmotion.state & Button1Mask) ? TapEventType::leftMouseDragged
                                                       : TapEventType::mouseMoved;
        tap.location = x11tap::eventSpacePoint(event.xmotion.x_root, event.xmotion.y_root, space_);
        tap.flags = x11tap::flagsForState(event.xmotion.state);
    } else {
        const XButtonEvent& b = event.xbutton;
        tap.location = x11tap::eventSpacePoint(b.x_root, b.y_root, space_);
        tap.flags = x11tap::flagsForState(b.state);
        if (b.button == Button1) {
            tap.type =
                event.type == ButtonPress ? TapEventType::leftMouseDown : TapEventType::leftMouseUp;
        } else if (const auto steps = x11tap::wheelStepsForButton(b.button);
                   steps && event.type == ButtonPress) {
            tap.type = TapEventType::scrollWheel;
            tap.scrollDeltaAxis1 = *steps;
        } else {
            return;
        }
    }
    if (wants(tap.type)) tell_(tap.type, tap);
}

void X11TapWorker::perform(const TapCommand& command) {
    switch (command.kind) {
    case TapCommand::Kind::enable:
        enabled_ = true;
        break;
    case TapCommand::Kind::disable:
        enabled_ = false;
        handBackKeptKey();
        releaseActiveGrab();
        break;
    case TapCommand::Kind::post:
        post(command);
        break;
    case TapCommand::Kind::rootSpace:
        space_ = command.space;
        break;
    case TapCommand::Kind::holdForPaste:
        pasteOwed_ = activeGrab_;
        break;
    }
    XFlush(display_);
}

bool X11TapWorker::keyIsDown(unsigned int key) const {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    return key < 256 && ((keys[key / 8] >> (key % 8)) & 1);
}

void X11TapWorker::postKey(unsigned int key, bool down) {
    XTestFakeKeyEvent(display_, key, down ? True : False, CurrentTime);
}

// Whether the XTest keyboard (ours, and every program that types through XTest) holds key.
bool X11TapWorker::xtestHolds(unsigned int key) {
    if (!xtestKeyboard_) {
        int count = 0;
        XDeviceInfo* devices = XListInputDevices(display_, &count);
        for (int i = 0; devices && i < count; ++i) {
            const std::string name = devices[i].name ? devices[i].name : "";
            if (name.find("XTEST keyboard") != std::string::npos) {
                xtestKeyboard_ = XOpenDevice(display_, devices[i].id);
                break;
            }
        }
        if (devices) XFreeDeviceList(devices);
        if (!xtestKeyboard_) return false;
    }
    XDeviceState* state = XQueryDeviceState(display_, static_cast<XDevice*>(xtestKeyboard_));
    if (!state) return false;
    bool held = false;
    const XInputClass* c = state->data;
    for (int i = 0; i < state->num_classes; ++i) {
        if (c->c_class == KeyClass) {
            const auto* keys = reinterpret_cast<const XKeyState*>(c);
            held = key < 256 && ((keys->keys[key / 8] >> (key % 8)) & 1);
        }
        c = reinterpret_cast<const XInputClass*>(reinterpret_cast<const char*>(c) + c->length);
    }
    XFreeDeviceState(state);
    return held;
}

// The chord's press the application should have had, typed again with the chord out of the
// way. The chord stays ungrabbed until V is up, so its auto-repeat reaches the application as
// it would without us.
void X11TapWorker::repost(const XKeyEvent& event) {
    const unsigned int key = event.keycode & 0xFF;
    // The chord first, then the keyboard: keys queued behind a frozen keyboard must not start
    // the chord's grab again as it thaws.
    if (!steppedAside_) ungrabChord();
    steppedAside_ = true;
    awaitVUp_ = true;
    releaseActiveGrab();
    // A key the XTest keyboard already holds is pressed again as a repeat; any other is pressed
    // and let go, or it would stay down after the real key's release, which we do not see. A
    // release is only ours to type when the XTest keyboard holds the key.
    const bool held = xtestHolds(key);
    if (event.type == KeyPress) {
        postKey(key, true);
        if (!held) postKey(key, false);
    } else if (held) {
        postKey(key, false);
    }
    keysDown_.clear();
}

void X11TapWorker::poll() {
    if (!awaitVUp_ || keyIsDown(vKeycode_)) return;
    awaitVUp_ = false;
    steppedAside_ = false;
    if (!grabChord()) tell_(TapEventType::tapDisabledByUserInput, TapEvent{});
}

void X11TapWorker::post(const TapCommand& command) {
    const unsigned long keysym = x11tap::keysymForKeyCode(command.keycode);
    const unsigned int key = keysym ? XKeysymToKeycode(display_, keysym) : 0;
    if (key == 0) {
        qCWarning(vtLog) << "cannot post key code" << command.keycode;
        return;
    }
    if (command.keyDown) {
        // Step aside while our own keystroke goes by. XTest input is processed in request order,
        // so with neither the chord nor the keyboard grabbed the press goes straight to the
        // focused application, whatever real key events are queued around it.
        resumeSwallowV_ = swallowV_;
        swallowV_ = false;
        // Keys typed after the one that decided this paste are waiting behind the frozen
        // keyboard: let them come to us (still grabbed) so the key state below is the user's,
        // and so they reach the application after the paste, typed again in order.
        if (activeGrab_) {
            XAllowEvents(display_, AsyncKeyboard, CurrentTime);
            XSync(display_, False);
        }
        // The keystroke carries exactly the modifiers in its flags. Only what is not already so
        // is changed, and changed back afterwards: a Ctrl the user still holds stays held (the
        // X server would otherwise count it released), a held Shift or Alt does not leak in.
        // The state is read before the keyboard is let go, so that letting go and the keystroke
        // reach the server together and no repeat of a held key slips in between.
        char keys[32] = {};
        XQueryKeymap(display_, keys);
        releaseActiveGrab();
        keysDown_.clear();
        if (!steppedAside_) ungrabChord();
        steppedAside_ = true;
        auto down = [&](unsigned int k) { return (keys[k / 8] >> (k % 8)) & 1; };
        const std::array<std::tuple<std::uint64_t, unsigned int, KeySym>, 4> modifiers{{
            {TapEventFlag::command, ControlMask, XK_Control_L},
            {TapEventFlag::shift, ShiftMask, XK_Shift_L},
            {TapEventFlag::option, Mod1Mask, XK_Alt_L},
            {TapEventFlag::control, Mod4Mask, XK_Super_L},
        }};
        postedModifiers_.clear();
        for (const auto& [flag, mask, sym] : modifiers) {
            std::vector<unsigned int> held;
            for (unsigned int k = 8; k < 256; ++k)
                if (down(k) && (modifierMaskOf_[k] & mask)) held.push_back(k);
            if ((command.flags & flag) && held.empty()) {
                if (const unsigned int mk = XKeysymToKeycode(display_, sym)) {
                    postKey(mk, true);
                    postedModifiers_.push_back({mk, true});
                }
            } else if (!(command.flags & flag)) {
                for (unsigned int k : held) {
                    postKey(k, false);
                    postedModifiers_.push_back({k, false});
                }
            }
        }
        // A press of a key that is still held (V, when Ctrl went up first) would only repeat it:
        // release it first so the posted press is a press.
        if (down(key)) postKey(key, false);
        postKey(key, true);
    } else {
        postKey(key, false);
        for (auto it = postedModifiers_.rbegin(); it != postedModifiers_.rend(); ++it)
            postKey(it->first, !it->second);
        postedModifiers_.clear();
        if (steppedAside_ && !grabChord()) tell_(TapEventType::tapDisabledByUserInput, TapEvent{});
        steppedAside_ = false;
        awaitVUp_ = false;
        // V still down after the paste (a real keyboard's V, not ours): keep its repeats and
        // release from the application.
        if (resumeSwallowV_ && keyIsDown(vKeycode_) && regrabKeyboard()) {
            activeGrab_ = true;
            swallowV_ = true;
        }
        retypeWaitingKeys(resumeSwallowV_);
        resumeSwallowV_ = false;
    }
}

// The key kept while a paste was owed goes back to the head of the queue, to be handled as a key
// that came unfrozen (typed again, in order).
void X11TapWorker::handBackKeptKey() {
    pasteOwed_ = false;
    if (!keptKey_) return;
    XPutBackEvent(display_, &*keptKey_);
    keptKey_.reset();
}

// Right after our paste, the keys the user typed while it was owed are typed again at once, before
// any key still on its way can overtake them. A new chord press among them is left to be handled
// as usual, and so is everything after it; V still going on from the hold is not typed at all.
void X11TapWorker::retypeWaitingKeys(bool vIsTheHolds) {
    handBackKeptKey();
    const unsigned int chordMask = ControlMask;
    XEvent event;
    while (XCheckIfEvent(
        display_, &event,
        [](Display*, XEvent* e, XPointer) -> Bool {
            return e->type == KeyPress || e->type == KeyRelease;
        },
        nullptr)) {
        const XKeyEvent& key = event.xkey;
        const unsigned int code = key.keycode & 0xFF;
        if (vIsTheHolds && code == vKeycode_) continue; // V going on from the hold
        if (key.type == KeyPress && code == vKeycode_ && (key.state & chordMask)) {
            XPutBackEvent(display_, &event);
            break;
        }
        // A key the XTest keyboard still holds is let go first, so the press is a press; its
        // owner's release follows. Any other is pressed and let go.
        const bool held = xtestHolds(code);
        if (key.type == KeyPress) {
            if (held) postKey(code, false);
            postKey(code, true);
            if (!held) postKey(code, false);
        } else if (held) {
            postKey(code, false);
        }
    }
    keysDown_.clear();
}

void X11TapWorker::letGo() {
    swallowV_ = false;
    handBackKeptKey();
    releaseActiveGrab();
    keysDown_.clear();
    XFlush(display_);
}

void X11TapWorker::setChordHeld(bool held) {
    chordHeld_ = held;
}

void X11TapWorker::retryChord() {
    if (chordHeld_ || steppedAside_ || !display_) return;
    readKeyboardMapping();
    if (grabChord()) qCInfo(vtLog, "Ctrl+V is grabbed again");
}

} // namespace vt
