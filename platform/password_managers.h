#pragma once
#include <QStringList>

namespace vt {

// The desktop-file ids of the password managers for Linux desktops, as their packages install
// them: KeePassXC, KeePass2, Bitwarden, 1Password, Proton Pass, Enpass, Passwords and Keys
// (Seahorse), Secrets and KWalletManager. A copy made in one of them is not recorded unless the
// user says otherwise; the frontmost-application lookup matches these ids also through the
// windows' WM_CLASS and the program they run.
inline const QStringList& passwordManagerAppIds() {
    static const QStringList ids{
        QStringLiteral("org.keepassxc.KeePassXC"),
        QStringLiteral("keepass2"),
        QStringLiteral("bitwarden"),
        QStringLiteral("1password"),
        QStringLiteral("proton-pass"),
        QStringLiteral("enpass"),
        QStringLiteral("org.gnome.seahorse.Application"),
        QStringLiteral("org.gnome.World.Secrets"),
        QStringLiteral("org.kde.kwalletmanager5"),
    };
    return ids;
}

} // namespace vt
