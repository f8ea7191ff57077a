#pragma once
#include <QAbstractButton>
#include <QFrame>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace vt {

// An on/off switch, as a form row shows one.
class ToggleSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The rounded box of a section; draws hairlines between its visible rows.
class FormBox : public QFrame {
    Q_OBJECT
public:
    explicit FormBox(QWidget* parent = nullptr);
    QVBoxLayout* rows() const { return rows_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* rows_;
};

// One section of a grouped form: an optional header above the box, an optional footer below.
class FormSection : public QWidget {
    Q_OBJECT
public:
    explicit FormSection(const QString& header = {}, const QString& footer = {},
                         QWidget* parent = nullptr);

    // A row with the label on the left and the control on the right; returns the row.
    QWidget* addRow(const QString& label, QWidget* control);
    // A row holding `content` across the whole width; returns the row.
    QWidget* addWideRow(QWidget* content, int verticalMargin = 7);
    // A row holding a plain text under the previous row (for captions); returns the row.
    QWidget* addCaptionRow(QLabel* caption);

    QLabel* footer() const { return footer_; }

private:
    FormBox* box_;
    QLabel* footer_ = nullptr;
};

// A grouped form: sections stacked with even spacing on the window background.
class GroupedForm : public QWidget {
    Q_OBJECT
public:
    explicit GroupedForm(QWidget* parent = nullptr);
    // stretch > 0 lets the section take the remaining height (lists).
    FormSection* addSection(const QString& header = {}, const QString& footer = {},
                            int stretch = 0);
    // Keeps the sections at the top.
    void addStretch();

private:
    QVBoxLayout* layout_;
};

} // namespace vt
