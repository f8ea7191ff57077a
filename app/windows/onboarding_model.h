#pragma once
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace vt {

class Trust;

// What the onboarding window shows: whether the program may install its event tap, polled
// once a second while the window is in use.
class OnboardingModel : public QObject {
    Q_OBJECT
public:
    explicit OnboardingModel(Trust& trust, QObject* parent = nullptr);

    bool trusted() const { return trusted_; }
    // (Re)starts the one-second polling; an earlier timer is stopped and replaced.
    void start();
    // Stops the polling.
    void stop();
    // The running polling timer, or nullptr while idle.
    QTimer* timer() const { return timer_; }
    // Shows the user where to grant the permission.
    void openAccessibility();

signals:
    // trusted() changed; the view cross-fades step 1 and retitles the footer button.
    void trustedChanged(bool trusted);

private:
    void poll();

    Trust& trust_;
    bool trusted_;
    QPointer<QTimer> timer_;
};

} // namespace vt
