#pragma once
#include <QString>

namespace vt {

// The two modal alerts of the move to an Applications folder; the Qt implementation is
// QtMoveAlerts, tests answer them without a screen.
class MoveAlerts {
public:
    struct Answer {
        bool moveChosen = false;        // the first button, "移動する"
        bool suppressionTicked = false; // "今後は確認しない"
    };
    virtual ~MoveAlerts() = default;
    // Brings the program to the front before an alert (it has no window yet at start).
    virtual void activate() = 0;
    // Asks whether to move, with the buttons "移動する" (default) and "移動しない" and the box.
    virtual Answer askToMove(const QString& message, const QString& informative) = 0;
    // Reports a failed move with one OK button.
    virtual void showMoveFailed(const QString& message, const QString& informative) = 0;
};

// Modal QMessageBox alerts.
class QtMoveAlerts : public MoveAlerts {
public:
    void activate() override;
    Answer askToMove(const QString& message, const QString& informative) override;
    void showMoveFailed(const QString& message, const QString& informative) override;
};

} // namespace vt
