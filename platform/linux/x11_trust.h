#pragma once
#include "platform/trust.h"
#include <QByteArray>
#include <functional>

namespace vt {

// Trust on X11: the event tap can be installed when an X display is reachable, it offers XTest
// (for the synthetic paste) and the paste chord Ctrl+V can be grabbed on the root window.
// While our own tap holds that grab a fresh grab fails, so the application tells this check
// through setTapRunning() that a running tap means trusted.
class X11Trust final : public Trust {
public:
    enum class Check { trusted, noDisplay, noXTest, noPasteKey, chordTaken };

    // displayName empty = $DISPLAY.
    explicit X11Trust(QByteArray displayName = {});

    void setTapRunning(std::function<bool()> tapRunning) { tapRunning_ = std::move(tapRunning); }

    // A display that cannot be reached in a Wayland session is told apart from one missing
    // elsewhere ($WAYLAND_DISPLAY set).
    TrustProblem problem() const override;

    // The full answer of the X server, for logs.
    Check check() const;

private:
    Check probeDisplay() const;

    QByteArray displayName_;
    std::function<bool()> tapRunning_;
};

const char* describe(X11Trust::Check check);

} // namespace vt
