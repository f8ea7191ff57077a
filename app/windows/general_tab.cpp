#include "app/windows/general_tab.h"
#include "app/app_location.h"
#include "app/app_settings.h"
#include "app/preferences.h"
#include "app/updater_model.h"
#include "app/windows/desktop_services.h"
#include "app/windows/grouped_form.h"
#include "app/windows/window_style.h"
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

namespace vt {
namespace {

QComboBox* picker(const QString& objectName) {
    auto* box = new QComboBox;
    box->setObjectName(objectName);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setMinimumWidth(150);
    return box;
}

// The row with this stored value; -1 (no visible selection) for a value not offered.
int indexOfDelay(const QComboBox* box, double value) {
    for (int i = 0; i < box->count(); ++i) {
        if (std::abs(box->itemData(i).toDouble() - value) < 1e-9) return i;
    }
    return -1;
}

// The path as one shell word: Sway runs `exec` through sh.
QString shellWord(const QString& path) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
    if (plain.match(path).hasMatch()) return path;
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

QString holdBindingLines(const QString& program) {
    const QString p = shellWord(program);
    return QStringLiteral("bindsym --no-repeat Ctrl+v exec %1 --hold press\n"
                          "bindsym --release Ctrl+v exec %1 --hold release")
        .arg(p);
}

QString pickCommand(const QString& program) {
    return shellWord(program) + QStringLiteral(" --pick");
}

QString programForBindings() {
    const QString bundle = AppLocation::bundlePath();
    return bundle.isEmpty() ? QCoreApplication::applicationFilePath() : bundle;
}

GeneralTab::GeneralTab(AppSettings& settings, UpdaterModel& updater, QWidget* parent)
    : QWidget(parent), settings_(settings), updater_(updater) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* form = new GroupedForm;
    outer->addWidget(form);

    // Start at login.
    FormSection* login = form->addSection();
    launchAtLogin_ = new ToggleSwitch;
    launchAtLogin_->setObjectName(QStringLiteral("launchAtLogin"));
    launchAtLogin_->setAccessibleName(QCoreApplication::translate("Vantrel", "ログイン時に起動"));
    login->addRow(QCoreApplication::translate("Vantrel", "ログイン時に起動"), launchAtLogin_);
    QLabel* caption = WindowStyle::label(
        QCoreApplication::translate("Vantrel", "デスクトップの自動起動の設定で許可してください。"),
        WindowStyle::Text::caption, WindowStyle::Tone::secondary, true);
    caption->setObjectName(QStringLiteral("loginCaption"));
    loginCaptionRow_ = login->addCaptionRow(caption);
    connect(launchAtLogin_, &ToggleSwitch::clicked, this,
            [this](bool on) { settings_.setLaunchAtLogin(on); });

    // The picker.
    FormSection* picking =
        form->addSection(QCoreApplication::translate("Vantrel", "Ctrl+V を長押ししたとき"));
    pickerStyle_ = picker(QStringLiteral("pickerStyle"));
    pickerStyle_->addItem(QCoreApplication::translate("Vantrel", "扇（カーソルの右に広がる）"),
                          true);
    pickerStyle_->addItem(QCoreApplication::translate("Vantrel", "リング"), false);
    picking->addRow(QCoreApplication::translate("Vantrel", "表示"), pickerStyle_);
    connect(pickerStyle_, &QComboBox::activated, this,
            [this](int i) { settings_.setUseFan(pickerStyle_->itemData(i).toBool()); });

    fanSlots_ = picker(QStringLiteral("fanSlots"));
    for (std::int64_t n : Preferences::fanSlotOptions())
        fanSlots_->addItem(QString::number(n) + QCoreApplication::translate("Vantrel", " 件"),
                           qint64(n));
    fanSlotsRow_ =
        picking->addRow(QCoreApplication::translate("Vantrel", "扇に一度に出す数"), fanSlots_);
    connect(fanSlots_, &QComboBox::activated, this,
            [this](int i) { settings_.setFanSlots(fanSlots_->itemData(i).toLongLong()); });

    holdDelay_ = picker(QStringLiteral("holdDelay"));
    for (const auto& option : Preferences::holdDelayOptions())
        holdDelay_->addItem(option.label, option.value);
    picking->addRow(QCoreApplication::translate("Vantrel", "長押しの長さ"), holdDelay_);
    connect(holdDelay_, &QComboBox::activated, this,
            [this](int i) { settings_.setHoldDelay(holdDelay_->itemData(i).toDouble()); });

    // On Wayland the compositor tells of the chord: the lines the user adds to Sway's
    // configuration, and a picker shortcut for desktops that cannot tell.
    if (DesktopServices::learnsChordFromBindings()) {
        FormSection* wayland =
            form->addSection(QCoreApplication::translate("Vantrel", "Wayland での長押し"));
        wayland->addWideRow(
            WindowStyle::label(QCoreApplication::translate(
                                   "Vantrel",
                                   "Sway の設定ファイル（~/.config/sway/config）に次の 2 行を"
                                   "加えて、swaymsg reload で読み込み直してください。Ctrl+V "
                                   "を押したことと離したことが Vantrel に届きます。"),
                               WindowStyle::Text::body, WindowStyle::Tone::secondary, true),
            8);
        const QString program = programForBindings();
        QLabel* lines = WindowStyle::label(holdBindingLines(program), WindowStyle::Text::body,
                                           WindowStyle::Tone::primary, true);
        lines->setObjectName(QStringLiteral("holdBindingLines"));
        lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        lines->setTextInteractionFlags(Qt::TextSelectableByMouse);
        wayland->addWideRow(lines, 8);
        QLabel* pick = WindowStyle::label(
            QCoreApplication::translate("Vantrel",
                                        "押し続けたキーを知らせる仕組みのないデスクトップでは、"
                                        "好きなキーボードショートカットに「%1」を割り当てると、"
                                        "ピッカーが開きます（Return、数字、クリックで貼り付け、"
                                        "Esc で閉じます）。")
                .arg(pickCommand(program)),
            WindowStyle::Text::caption, WindowStyle::Tone::secondary, true);
        pick->setTextInteractionFlags(Qt::TextSelectableByMouse);
        wayland->addWideRow(pick, 8);
    }

    // Updates.
    FormSection* updates = form->addSection(QCoreApplication::translate("Vantrel", "アップデート"));
    automaticallyChecks_ = new ToggleSwitch;
    automaticallyChecks_->setObjectName(QStringLiteral("automaticallyChecks"));
    automaticallyChecks_->setAccessibleName(
        QCoreApplication::translate("Vantrel", "新しい版を自動で確認する"));
    QWidget* automaticRow = updates->addRow(
        QCoreApplication::translate("Vantrel", "新しい版を自動で確認する"), automaticallyChecks_);
    connect(automaticallyChecks_, &ToggleSwitch::clicked, this,
            [this](bool on) { updater_.setAutomaticallyChecks(on); });
    checkNow_ = new QPushButton(QCoreApplication::translate("Vantrel", "今すぐ確認…"));
    checkNow_->setObjectName(QStringLiteral("checkNow"));
    checkNow_->setAutoDefault(false);
    auto* checkRow = new QWidget;
    auto* checkLayout = new QHBoxLayout(checkRow);
    checkLayout->setContentsMargins(0, 0, 0, 0);
    checkLayout->addWidget(checkNow_);
    checkLayout->addStretch(1);
    QWidget* checkNowRow = updates->addWideRow(checkRow, 6);
    // UpdaterModel::checkForUpdates() activates the program before the check window shows.
    connect(checkNow_, &QPushButton::clicked, this, [this] { updater_.checkForUpdates(); });
    if (!updater_.hasFeed()) {
        // Built without an update feed: the package manager brings new versions.
        automaticRow->hide();
        checkNowRow->hide();
        QLabel* byPackage = WindowStyle::label(
            QCoreApplication::translate("Vantrel",
                                        "新しい版は、インストールしたパッケージと一緒に届きます"
                                        "（apt などでシステムを更新してください）。"),
            WindowStyle::Text::body, WindowStyle::Tone::secondary, true);
        byPackage->setObjectName(QStringLiteral("updatesByPackage"));
        updates->addWideRow(byPackage, 8);
    }
    form->addStretch();

    connect(&settings_, &AppSettings::changed, this, &GeneralTab::refresh);
    connect(&updater_, &UpdaterModel::changed, this, &GeneralTab::refresh);
    refresh();
}

void GeneralTab::refresh() {
    // The login-item service is asked anew each time: a failed change springs back.
    const LoginItemStatus status = settings_.loginItemStatus();
    {
        const QSignalBlocker block(launchAtLogin_);
        launchAtLogin_->setChecked(status == LoginItemStatus::enabled);
    }
    launchAtLogin_->update();
    loginCaptionRow_->setVisible(status == LoginItemStatus::requiresApproval);

    pickerStyle_->setCurrentIndex(settings_.useFan() ? 0 : 1);
    fanSlotsRow_->setVisible(settings_.useFan());
    fanSlots_->setCurrentIndex(fanSlots_->findData(qint64(settings_.fanSlots())));
    holdDelay_->setCurrentIndex(indexOfDelay(holdDelay_, settings_.holdDelay()));

    {
        const QSignalBlocker block(automaticallyChecks_);
        automaticallyChecks_->setChecked(updater_.automaticallyChecks());
    }
    automaticallyChecks_->update();
    checkNow_->setEnabled(updater_.canCheck());
}

} // namespace vt
