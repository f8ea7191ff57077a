#pragma once
#include "platform/trust.h"
#include <QByteArray>
#include <QUrl>
#include <functional>

namespace vt {

// Trust on X11: the event tap can be installed when an X display is reachable, it offers XTest
// (for the synthetic paste) and the paste chord Ctrl+V can be grabbed on the root window.
// While our own tap holds that grab a fresh grab fails, so the application tells this check
// through setTapRunning() that a running tap means trusted.
class X11Trust final : public Trust {
public:
    enum class Check { trusted, noDisplay, noXTest, noPasteKey, chordTaken };
    using UrlOpener = std::function<void(const QUrl&)>;

    // supportURL gives the page that explains what to do when the tap cannot be installed;
    // openURL opens it (default: the desktop's browser). displayName empty = $DISPLAY.
    explicit X11Trust(std::function<QUrl()> supportURL, UrlOpener openURL = {},
                      QByteArray displayName = {});

    void setTapRunning(std::function<bool()> tapRunning) { tapRunning_ = std::move(tapRunning); }

    bool isTrusted() const override { return check() == Check::trusted; }
    void openAccessibility() override;

    // The full answer, for logs and for the choice of what openAccessibility() shows.
    Check check() const;

private:
    Check probeDisplay() const;

    std::function<QUrl()> supportURL_;
    UrlOpener openURL_;
    QByteArray displayName_;
    std::function<bool()> tapRunning_;
};

const char* describe(X11Trust::Check check);

} // namespace vt
