#pragma once
#include "platform/trust.h"
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace vt {

// What the onboarding window shows: whether the program may install its event tap, polled
// once a second while the window is in use.
class OnboardingModel : public QObject {
    Q_OBJECT
public:
    explicit OnboardingModel(Trust& trust, QObject* parent = nullptr);

    bool trusted() const { return problem_ == TrustProblem::none; }
    // What stands in the way of the keyboard watch; none once it can run.
    TrustProblem problem() const { return problem_; }
    // (Re)starts the one-second polling; an earlier timer is stopped and replaced.
    void start();
    // Stops the polling.
    void stop();
    // The running polling timer, or nullptr while idle.
    QTimer* timer() const { return timer_; }
    // Checks again at once (the user says they fixed the problem).
    void recheck() { poll(); }

signals:
    // trusted() changed; the view cross-fades step 1 and retitles the footer button.
    void trustedChanged(bool trusted);
    // problem() changed, between two problems or to or from none.
    void problemChanged(TrustProblem problem);

private:
    void poll();

    Trust& trust_;
    TrustProblem problem_;
    QPointer<QTimer> timer_;
};

} // namespace vt
