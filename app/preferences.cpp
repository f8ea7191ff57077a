#include "app/preferences.h"
#include "app/app_settings.h"
#include "platform/password_managers.h"
#include <QCoreApplication>

namespace vt::Preferences {

const std::vector<HoldDelayOption>& holdDelayOptions() {
    static const std::vector<HoldDelayOption> options{
        {QCoreApplication::translate("Vantrel", "速い（0.2秒）"), 0.2},
        {QCoreApplication::translate("Vantrel", "ふつう（0.25秒）"), 0.25},
        {QCoreApplication::translate("Vantrel", "ゆっくり（0.35秒）"), 0.35},
        {QCoreApplication::translate("Vantrel", "長め（0.5秒）"), 0.5},
    };
    return options;
}

const std::vector<std::int64_t>& fanSlotOptions() {
    static const std::vector<std::int64_t> options{8, 12, 16};
    return options;
}

const std::vector<std::int64_t>& historyLimitOptions() {
    static const std::vector<std::int64_t> options{20, 50, 100, 200};
    return options;
}

const QStringList& defaultExcludedApps() {
    return passwordManagerAppIds();
}

const QStringList& formerDefaultExcludedApps() {
    static const QStringList apps{
        QStringLiteral("com.1password.1password"), QStringLiteral("com.agilebits.onepassword7"),
        QStringLiteral("com.apple.Passwords"),     QStringLiteral("com.apple.keychainaccess"),
        QStringLiteral("com.bitwarden.desktop"),
    };
    return apps;
}

const QStringList& defaultPasteApps(PasteAppList list) {
    static const QStringList ctrlShiftV{
        QStringLiteral("gnome-terminal-server"),
        QStringLiteral("org.gnome.Terminal"),
        QStringLiteral("org.gnome.Console"),
        QStringLiteral("kgx"),
        QStringLiteral("org.gnome.Ptyxis"),
        QStringLiteral("konsole"),
        QStringLiteral("org.kde.konsole"),
        QStringLiteral("xfce4-terminal"),
        QStringLiteral("terminator"),
        QStringLiteral("tilix"),
        QStringLiteral("com.gexperts.Tilix"),
        QStringLiteral("kitty"),
        QStringLiteral("Alacritty"),
        QStringLiteral("org.wezfurlong.wezterm"),
        QStringLiteral("qterminal"),
        QStringLiteral("lxterminal"),
        QStringLiteral("terminology"),
        QStringLiteral("guake"),
        QStringLiteral("yakuake"),
        QStringLiteral("foot"),
        QStringLiteral("footclient"),
        QStringLiteral("mate-terminal"),
        QStringLiteral("tilda"),
        QStringLiteral("sakura"),
        QStringLiteral("deepin-terminal"),
        QStringLiteral("io.elementary.terminal"),
    };
    static const QStringList shiftInsert{
        QStringLiteral("xterm"), QStringLiteral("uxterm"), QStringLiteral("urxvt"),
        QStringLiteral("rxvt"),  QStringLiteral("st"),     QStringLiteral("st-256color"),
    };
    static const QStringList none;
    switch (list) {
    case PasteAppList::ctrlShiftV:
        return ctrlShiftV;
    case PasteAppList::shiftInsert:
        return shiftInsert;
    case PasteAppList::passThrough:
        break;
    }
    return none;
}

const std::vector<std::pair<QString, QString>>& knownAppNames() {
    // The names their desktop entries give; translated where the entry has a translation.
    static const std::vector<std::pair<QString, QString>> names{
        {QStringLiteral("org.keepassxc.KeePassXC"), QStringLiteral("KeePassXC")},
        {QStringLiteral("keepass2"), QStringLiteral("KeePass2")},
        {QStringLiteral("bitwarden"), QStringLiteral("Bitwarden")},
        {QStringLiteral("1password"), QStringLiteral("1Password")},
        {QStringLiteral("proton-pass"), QStringLiteral("Proton Pass")},
        {QStringLiteral("enpass"), QStringLiteral("Enpass")},
        {QStringLiteral("org.gnome.seahorse.Application"),
         QCoreApplication::translate("Vantrel", "パスワードと鍵")},
        {QStringLiteral("org.gnome.World.Secrets"), QStringLiteral("Secrets")},
        {QStringLiteral("org.kde.kwalletmanager5"), QStringLiteral("KWalletManager")},
    };
    return names;
}

std::optional<QString> knownAppName(const QString& bundleID) {
    for (const auto& [id, name] : knownAppNames())
        if (id == bundleID) return name;
    return std::nullopt;
}

} // namespace vt::Preferences
