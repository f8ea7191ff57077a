#pragma once
#include "platform/event_tap.h"
#include "platform/screens.h"
#include "ui/overlay_surface.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace vt {

class PaintedView;

// What an overlay surface receives while it is shown, in the event tap's vocabulary.
using OverlayInput = std::function<void(std::uint32_t type, const TapEvent& event)>;

// The pickers' own connection to a wlroots compositor (Sway and others offering
// zwlr_layer_shell_v1), dispatched on the main thread. It holds the seat's pointer and keyboard
// and the one "stage": a layer surface on the overlay layer covering an output, made when a
// picker is shown (or the pointer is asked for) and destroyed when it is ordered out, so the
// keyboard goes back to the application that had it.
class LayerShell {
public:
    // Connects to `displayName` (empty: $WAYLAND_DISPLAY).
    explicit LayerShell(const QByteArray& displayName = {});
    ~LayerShell();
    LayerShell(const LayerShell&) = delete;
    LayerShell& operator=(const LayerShell&) = delete;

    // False when the compositor is unreachable or offers no layer shell.
    bool isValid() const;
    // The pointer in the compositor's global layout (layout points, y down). Wayland tells a
    // client where the pointer is only once it enters one of its surfaces, so this maps the
    // stage (fully transparent until a surface draws on it) on the output the compositor
    // chooses and waits up to `waitMs` for the pointer to enter it, then on each other output
    // in turn. Nothing when it entered none (no pointer device, or the stage was in use).
    std::optional<PointD> pointer(int waitMs = 40);
    // The top-left corner of the output the stage is on, in the global layout.
    PointD outputOrigin() const;
    // Receives input while no shown surface has its own handler. Keys the compositor asks to
    // repeat (wl_keyboard.repeat_info) come again as key-downs with autorepeat = 1.
    OverlayInput onInput;

private:
    friend class LayerShellSurface;
    class Connection;
    std::unique_ptr<Connection> c_;
};

// An OverlaySurface on the compositor's overlay layer: the hosted view is painted with QPainter
// into shared-memory buffers (two, or a third while both are held) at the output's scale,
// placed on the stage where the frame lies, and committed with only the changed part damaged.
// While shown it takes the keyboard exclusively and reports keys, modifiers, pointer motion,
// clicks and the wheel through `onInput` (locations in event space, as the pickers' show()
// returns them).
class LayerShellSurface final : public OverlaySurface {
public:
    // The view and the screens must outlive the surface.
    LayerShellSurface(std::shared_ptr<LayerShell> shell, const Screens& screens, PaintedView& view);
    ~LayerShellSurface() override;
    LayerShellSurface(const LayerShellSurface&) = delete;
    LayerShellSurface& operator=(const LayerShellSurface&) = delete;

    void setFrame(RectD frame) override;
    RectD frame() const override { return frame_; }
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override { return shown_; }
    void resignInput() override;
    void setAlpha(double alpha) override;
    void displayNow() override;

    OverlayInput onInput;
    // Runs after every committed frame (tests and benchmarks wait for frames with it).
    std::function<void()> onPainted;

private:
    friend class LayerShell::Connection;
    void viewChanged();
    void placeCanvas();

    std::shared_ptr<LayerShell> shell_;
    const Screens& screens_;
    PaintedView& view_;
    RectD frame_;
    double alpha_ = 1;
    bool shown_ = false;
    bool takesInput_ = false; // shown and not yet resigned
    bool fresh_ = false;      // all of the view painted, nothing changed since
};

} // namespace vt
