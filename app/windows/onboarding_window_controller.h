#pragma once
#include "app/windows/onboarding_view.h"
#include <QObject>
#include <QPointer>

namespace vt {

class AppSettings;
class OnboardingModel;
class Trust;

// Owns the onboarding window: created on the first show(), hidden (never destroyed) on close.
class OnboardingWindowController : public QObject {
    Q_OBJECT
public:
    // The program's controller: the shared settings and the desktop's trust check.
    static OnboardingWindowController& shared();

    OnboardingWindowController(AppSettings& settings, Trust& trust, QObject* parent = nullptr);
    ~OnboardingWindowController() override;

    // (Re)starts the trust polling, creates the window on first use and brings it to the front.
    void show();
    // Marks onboarding as done, stops the polling and hides the window.
    void close();

    OnboardingModel& model() const { return *model_; }
    // The window, or nullptr before the first show().
    OnboardingWindow* window() const { return window_; }

private:
    AppSettings& settings_;
    OnboardingModel* model_;
    QPointer<OnboardingWindow> window_;
};

} // namespace vt
