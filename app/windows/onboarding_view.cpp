#include "app/windows/onboarding_view.h"
#include "app/trust_texts.h"
#include "app/windows/onboarding_model.h"
#include "app/windows/symbols.h"
#include "app/windows/window_style.h"
#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt {
namespace {

constexpr int kWidth = 480;

using WindowStyle::Text;
using WindowStyle::Tone;

QWidget* step(StepBadge* badge, const QString& title, QWidget* content) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(12);
    h->addWidget(badge, 0, Qt::AlignTop);
    auto* v = new QVBoxLayout;
    v->setSpacing(8);
    v->addWidget(WindowStyle::label(title, Text::headline));
    v->addWidget(content);
    h->addLayout(v, 1);
    return row;
}

// A filled, accent-coloured button in the desktop's own button style.
void makeProminent(QPushButton* button) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::Button, WindowStyle::accent());
    pal.setColor(QPalette::ButtonText, Qt::white);
    button->setPalette(pal);
    button->setAutoDefault(false);
}

} // namespace

StepBadge::StepBadge(int number, QWidget* parent) : QWidget(parent), number_(number) {
    setFixedSize(24, 24);
}

void StepBadge::setDone(bool done) {
    if (done_ == done) return;
    done_ = done;
    QWidget::update();
}

void StepBadge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(done_ ? WindowStyle::green() : WindowStyle::accent());
    p.drawEllipse(QRectF(0, 0, 24, 24));
    if (done_) {
        symbolIcon(Symbol::checkmark, Qt::white, 12).paint(&p, QRect(6, 6, 12, 12));
        return;
    }
    QFont f = WindowStyle::baseFont();
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QString::number(number_));
}

OnboardingView::OnboardingView(OnboardingModel& model, std::function<void()> close, QWidget* parent)
    : QWidget(parent), model_(model), close_(std::move(close)) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(24, 24, 24, 24);
    root->setSpacing(18);

    // Header.
    auto* header = new QHBoxLayout;
    header->setSpacing(14);
    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("appIcon"));
    icon->setFixedSize(56, 56);
    icon->setPixmap(WindowStyle::appIcon().pixmap(QSize(56, 56)));
    header->addWidget(icon, 0, Qt::AlignVCenter);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(WindowStyle::label(
        QCoreApplication::translate("Vantrel", "Ctrl+V を長押しすると、履歴から選んで貼れます"),
        Text::title3, Tone::primary, true));
    titles->addWidget(WindowStyle::label(
        QCoreApplication::translate("Vantrel", "短く押せばいつもどおりの貼り付けです。"),
        Text::body, Tone::secondary, true));
    header->addLayout(titles, 1);
    root->addLayout(header);

    // Step 1: the keyboard watch.
    step1Content_ = new QWidget;
    auto* content = new QVBoxLayout(step1Content_);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(8);
    granted_ = WindowStyle::label(QCoreApplication::translate("Vantrel", "準備ができました。"),
                                  Text::body, Tone::green);
    granted_->setObjectName(QStringLiteral("grantedText"));
    content->addWidget(granted_);
    pending_ = new QWidget;
    pending_->setObjectName(QStringLiteral("pendingContent"));
    auto* pend = new QVBoxLayout(pending_);
    pend->setContentsMargins(0, 0, 0, 0);
    pend->setSpacing(8);
    problem_ = WindowStyle::label(QString(), Text::body, Tone::primary, true);
    problem_->setObjectName(QStringLiteral("problemText"));
    pend->addWidget(problem_);
    auto* again = new QPushButton(QCoreApplication::translate("Vantrel", "もう一度確かめる"));
    again->setObjectName(QStringLiteral("checkAgain"));
    makeProminent(again);
    connect(again, &QPushButton::clicked, this, [this] { model_.recheck(); });
    pend->addWidget(again, 0, Qt::AlignLeft);
    pend->addWidget(WindowStyle::label(
        QCoreApplication::translate("Vantrel",
                                    "直ると、この画面は自動で切り替わります。キーの内容を保存"
                                    "したり送ったりはしません。"),
        Text::caption, Tone::secondary, true));
    content->addWidget(pending_);
    badge1_ = new StepBadge(1);
    badge1_->setObjectName(QStringLiteral("step1Badge"));
    root->addWidget(step(badge1_,
                         QCoreApplication::translate("Vantrel", "Ctrl+V の長押しを受け取る"),
                         step1Content_));

    // Step 2: trying it out.
    auto* badge2 = new StepBadge(2);
    badge2->setObjectName(QStringLiteral("step2Badge"));
    root->addWidget(
        step(badge2, QCoreApplication::translate("Vantrel", "試してみる"),
             WindowStyle::label(
                 QCoreApplication::translate(
                     "Vantrel", "何かをいくつかコピーしてから、文字を入力できる所で Ctrl+V "
                                "を長押し。マウスを向けた項目を、Ctrl を離すと貼ります。カーソルの"
                                "左へマウスを出して離すと、貼らずにやめます。"),
                 Text::body, Tone::primary, true)));

    // Footer.
    auto* footer = new QHBoxLayout;
    auto* hint = WindowStyle::label(
        QCoreApplication::translate("Vantrel",
                                    "あとで設定（トレイのアイコン → 設定…）からも確かめられます。"),
        Text::caption, Tone::secondary, true);
    footer->addWidget(hint, 1, Qt::AlignVCenter);
    footer->addSpacing(12);
    footerButton_ = new QPushButton;
    footerButton_->setObjectName(QStringLiteral("footerButton"));
    footerButton_->setDefault(true);
    footerButton_->setMinimumWidth(96);
    connect(footerButton_, &QPushButton::clicked, this, [this] {
        if (close_) close_();
    });
    footer->addWidget(footerButton_, 0, Qt::AlignVCenter);
    root->addLayout(footer);

    setFixedWidth(kWidth);
    connect(&model_, &OnboardingModel::trustedChanged, this, [this] { update(true); });
    connect(&model_, &OnboardingModel::problemChanged, this, [this] {
        if (!model_.trusted()) update(false);
    });
    update(false);
}

int OnboardingView::contentHeight() const {
    return layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(kWidth)
                                         : layout()->totalSizeHint().height();
}

void OnboardingView::update(bool animated) {
    const bool trusted = model_.trusted();
    badge1_->setDone(trusted);
    granted_->setVisible(trusted);
    pending_->setVisible(!trusted);
    problem_->setText(TrustTexts::explanation(model_.problem()));
    footerButton_->setText(trusted ? QCoreApplication::translate("Vantrel", "はじめる")
                                   : QCoreApplication::translate("Vantrel", "あとで"));
    if (animated) {
        // Fade the new state of step 1 in, like the desktop's default transition.
        auto* effect = new QGraphicsOpacityEffect(step1Content_);
        step1Content_->setGraphicsEffect(effect);
        auto* fade = new QPropertyAnimation(effect, "opacity", effect);
        fade->setDuration(250);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        fade->setEasingCurve(QEasingCurve::InOutQuad);
        connect(fade, &QPropertyAnimation::finished, step1Content_,
                [content = step1Content_] { content->setGraphicsEffect(nullptr); });
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    }
    emit contentHeightChanged();
}

OnboardingWindow::OnboardingWindow(OnboardingView* view) : view_(view) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    WindowStyle::applyWindowFont(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    connect(view, &OnboardingView::contentHeightChanged, this, &OnboardingWindow::fitContent);
    fitContent();
}

void OnboardingWindow::fitContent() {
    view_->ensurePolished();
    // Visibility changes reach the layouts lazily; drop their cached sizes before measuring.
    for (QWidget* w : view_->findChildren<QWidget*>())
        w->updateGeometry();
    for (QLayout* l : view_->findChildren<QLayout*>())
        l->invalidate();
    setFixedSize(kWidth, view_->contentHeight());
}

void OnboardingWindow::keyPressEvent(QKeyEvent* event) {
    // Only the footer button or the title-bar button leaves this window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vt
