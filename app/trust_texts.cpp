#include "app/trust_texts.h"
#include <QCoreApplication>

namespace vt::TrustTexts {

QString explanation(TrustProblem problem) {
    switch (problem) {
    case TrustProblem::none:
        return {};
    case TrustProblem::noDisplay:
        return QCoreApplication::translate(
            "Vantrel", "X ディスプレイに接続できないため、Ctrl+V の長押しを見分けられません。X11 "
                       "のデスクトップにログインしてから起動してください。");
    case TrustProblem::waylandWithoutX:
        return QCoreApplication::translate(
            "Vantrel",
            "Wayland のセッションで、X ディスプレイ（Xwayland）に接続できません。Ctrl+V "
            "の長押しを見分けるには X への接続が必要です。ログイン画面で X11（Xorg）のセッション"
            "を選ぶか、Xwayland を有効にしてください。");
    case TrustProblem::chordTaken:
        return QCoreApplication::translate(
            "Vantrel", "Ctrl+V を別のプログラムが先に押さえています。デスクトップのキーボード"
                       "ショートカットや、ほかのクリップボード管理ツールの設定で Ctrl+V "
                       "の割り当てを外してください。");
    case TrustProblem::noXTest:
        return QCoreApplication::translate(
            "Vantrel", "X サーバーに XTEST 拡張がないため、選んだ項目を貼り付けられません。"
                       "XTEST を使える X サーバーで起動してください。");
    case TrustProblem::noPasteKey:
        return QCoreApplication::translate(
            "Vantrel", "いまのキーボード配列には V を入力するキーがないため、Ctrl+V "
                       "を見分けられません。");
    case TrustProblem::waylandNotYet:
        return QCoreApplication::translate(
            "Vantrel",
            "この Wayland のセッションでは、Ctrl+V の長押しはまだ使えません。コピーは"
            "履歴に記録され、トレイのメニューから選んだ項目はクリップボードに戻ります。");
    case TrustProblem::noClipboardAccess:
        return QCoreApplication::translate(
            "Vantrel", "このデスクトップの Wayland はクリップボードを見守る仕組み（data-control）"
                       "を提供していないため、ほかのプログラムのコピーを記録できません。Ctrl+V "
                       "の長押しもまだ使えません。Xwayland を通して使うには、--platform x11 "
                       "を付けて起動してください。");
    case TrustProblem::waylandCannotType:
        return QCoreApplication::translate(
            "Vantrel",
            "このデスクトップの Wayland は、ほかのアプリケーションにキー入力を送る仕組み"
            "（zwp_virtual_keyboard_v1）を提供していないため、Ctrl+V の長押しでは貼り付け"
            "られません。キーボード"
            "ショートカットに「vantrel --pick」を割り当てると、ピッカー（layer-shell "
            "に対応したデスクトップで表示できます）で選んだ項目がクリップボードに戻るので、"
            "そのあと Ctrl+V で貼り付けてください。");
    }
    return {};
}

QString menuTitle(TrustProblem problem) {
    switch (problem) {
    case TrustProblem::noDisplay:
        return QCoreApplication::translate(
            "Vantrel", "⚠︎ X ディスプレイに接続できません…");
    case TrustProblem::waylandWithoutX:
        return QCoreApplication::translate(
            "Vantrel", "⚠︎ Wayland では X への接続が必要です…");
    case TrustProblem::chordTaken:
        return QCoreApplication::translate(
            "Vantrel", "⚠︎ Ctrl+V をほかのプログラムが使っています…");
    case TrustProblem::noXTest:
        return QCoreApplication::translate("Vantrel",
                                           "⚠︎ X サーバーに XTEST がありません…");
    case TrustProblem::noPasteKey:
        return QCoreApplication::translate("Vantrel",
                                           "⚠︎ V のキーが見つかりません…");
    case TrustProblem::waylandNotYet:
        return QCoreApplication::translate(
            "Vantrel",
            "⚠︎ この Wayland のセッションでは長押しはまだ使えません…");
    case TrustProblem::noClipboardAccess:
        return QCoreApplication::translate(
            "Vantrel",
            "⚠︎ この Wayland のセッションではコピーを記録できません…");
    case TrustProblem::waylandCannotType:
        return QCoreApplication::translate(
            "Vantrel",
            "⚠︎ このデスクトップでは貼り付けのキーを送れません…");
    case TrustProblem::none:
        break;
    }
    // The tap did not start although nothing seemed in the way.
    return QCoreApplication::translate("Vantrel",
                                       "⚠︎ Ctrl+V の長押しが使えません…");
}

} // namespace vt::TrustTexts
