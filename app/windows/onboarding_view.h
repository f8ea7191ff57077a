#pragma once
#include <QDialog>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace vt {

class OnboardingModel;

// The round badge of a step: a number on the accent colour, or a check mark on green when done.
class StepBadge : public QWidget {
    Q_OBJECT
public:
    StepBadge(int number, QWidget* parent = nullptr);
    void setDone(bool done);
    bool done() const { return done_; }
    int number() const { return number_; }
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int number_;
    bool done_ = false;
};

// The onboarding content: header, the two steps and the footer; a function of the model.
class OnboardingView : public QWidget {
    Q_OBJECT
public:
    OnboardingView(OnboardingModel& model, std::function<void()> close, QWidget* parent = nullptr);

    QPushButton* footerButton() const { return footerButton_; }
    // The height the content needs at its fixed width.
    int contentHeight() const;

signals:
    // The content's height changed (step 1 switched between its two states).
    void contentHeightChanged();

private:
    void update(bool animated);

    OnboardingModel& model_;
    std::function<void()> close_;
    StepBadge* badge1_;
    QWidget* step1Content_;
    QLabel* granted_;
    QWidget* pending_;
    QLabel* problem_;
    QPushButton* footerButton_;
};

// The onboarding window: fixed width, titled and closable; Escape does not close it.
class OnboardingWindow : public QDialog {
    Q_OBJECT
public:
    explicit OnboardingWindow(OnboardingView* view);
    OnboardingView* view() const { return view_; }
    void fitContent();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    OnboardingView* view_;
};

} // namespace vt
