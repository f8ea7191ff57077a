#include "app/windows/grouped_form.h"
#include "app/windows/window_style.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace vt {
namespace {
constexpr int kRowSide = 12;
} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QSize ToggleSwitch::sizeHint() const {
    return {38, 22};
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 2, -1, -2);
    const double radius = track.height() / 2;
    const QPalette& pal = palette();
    QColor on = WindowStyle::accent();
    QColor off = pal.color(QPalette::Mid);
    off.setAlphaF(0.55F);
    if (!isEnabled()) {
        on.setAlphaF(0.4F);
        off.setAlphaF(0.3F);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(isChecked() ? on : off);
    p.drawRoundedRect(track, radius, radius);
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QRectF(x, track.top() + 2.6, knob, knob));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        QColor ring = WindowStyle::accent();
        ring.setAlphaF(0.5F);
        p.setPen(QPen(ring, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track.adjusted(-0.5, -0.5, 0.5, 0.5), radius, radius);
    }
}

FormBox::FormBox(QWidget* parent) : QFrame(parent), rows_(new QVBoxLayout(this)) {
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(0);
}

void FormBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    QColor border = pal.color(QPalette::Dark);
    border.setAlphaF(0.35F);
    p.setPen(QPen(border, 1));
    p.setBrush(pal.color(QPalette::Base));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);

    // Hairlines between visible rows; a caption row belongs to the row above it.
    QColor line = pal.color(QPalette::Dark);
    line.setAlphaF(0.22F);
    p.setPen(QPen(line, 1));
    QWidget* previous = nullptr;
    for (int i = 0; i < rows_->count(); ++i) {
        QWidget* row = rows_->itemAt(i)->widget();
        if (!row || row->isHidden()) continue;
        if (previous && !row->property("vtCaption").toBool()) {
            const double y = row->geometry().top() + 0.5;
            p.drawLine(QPointF(kRowSide, y), QPointF(width() - kRowSide, y));
        }
        previous = row;
    }
}

FormSection::FormSection(const QString& header, const QString& footer, QWidget* parent)
    : QWidget(parent), box_(new FormBox) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    if (!header.isEmpty()) {
        QLabel* h = WindowStyle::label(header, WindowStyle::Text::headline);
        h->setContentsMargins(kRowSide - 2, 0, 0, 0);
        h->setObjectName(QStringLiteral("sectionHeader"));
        layout->addWidget(h);
    }
    layout->addWidget(box_, 1);
    if (!footer.isEmpty()) {
        footer_ = WindowStyle::label(footer, WindowStyle::Text::caption,
                                     WindowStyle::Tone::secondary, true);
        footer_->setContentsMargins(kRowSide - 2, 0, kRowSide - 2, 0);
        footer_->setObjectName(QStringLiteral("sectionFooter"));
        layout->addWidget(footer_);
    }
}

QWidget* FormSection::addRow(const QString& label, QWidget* control) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(kRowSide, 6, kRowSide, 6);
    h->setSpacing(12);
    QLabel* text = WindowStyle::label(label);
    text->setBuddy(control);
    h->addWidget(text);
    h->addStretch(1);
    h->addWidget(control, 0, Qt::AlignVCenter);
    row->setMinimumHeight(36);
    box_->rows()->addWidget(row);
    return row;
}

QWidget* FormSection::addWideRow(QWidget* content, int verticalMargin) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(kRowSide, verticalMargin, kRowSide, verticalMargin);
    h->addWidget(content);
    box_->rows()->addWidget(row, 1);
    return row;
}

QWidget* FormSection::addCaptionRow(QLabel* caption) {
    auto* row = new QWidget;
    row->setProperty("vtCaption", true);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(kRowSide, 0, kRowSide, 8);
    h->addWidget(caption);
    box_->rows()->addWidget(row);
    return row;
}

GroupedForm::GroupedForm(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(20, 16, 20, 16);
    layout_->setSpacing(16);
}

FormSection* GroupedForm::addSection(const QString& header, const QString& footer, int stretch) {
    auto* section = new FormSection(header, footer);
    layout_->addWidget(section, stretch);
    return section;
}

void GroupedForm::addStretch() {
    layout_->addStretch(1);
}

} // namespace vt
