<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>PasteAppsEditor</name>
    <message>
        <location filename="../../app/windows/paste_keys_section.cpp" line="+42"/>
        <source>アプリを追加</source>
        <translation>Add an app</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>選んだアプリを外す</source>
        <translation>Remove the selected app</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>最初の状態に戻す</source>
        <translation>Restore the defaults</translation>
    </message>
</context>
<context>
    <name>Vantrel</name>
    <message>
        <location filename="../../app/appcast.cpp" line="+99"/>
        <source>XML の %1 行目: %2</source>
        <translation>XML line %1: %2</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>RSS ではありません</source>
        <translation>not an RSS feed</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>版の番号を読めませんでした</source>
        <translation>could not read the version number</translation>
    </message>
    <message>
        <location filename="../../app/move_alerts.cpp" line="+20"/>
        <source>移動する</source>
        <translation>Move</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>移動しない</source>
        <translation>Don’t Move</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>今後は確認しない</source>
        <translation>Don’t ask again</translation>
    </message>
    <message>
        <location filename="../../app/move_to_applications.cpp" line="+61"/>
        <source>%1 の AppImage を ~/Applications に移動しますか？</source>
        <translation>Move the %1 AppImage to ~/Applications?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>いまは ~/Applications の外（ダウンロードしたフォルダなど）から開いています。このままでも使えますが、AppImage は ~/Applications に置くと見つけやすく、消えてしまうこともありません。
移動すると、移動した %1 で開き直します。</source>
        <translation>It was opened from outside ~/Applications (from your downloads, for example). It works from there too, but in ~/Applications an AppImage is easy to find and is not cleaned away by accident.
After moving, the moved %1 opens again.</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>移動できませんでした</source>
        <translation>Could not move it</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ファイルマネージャーで %1 の AppImage を ~/Applications へ移してから開き直してください。
（%2）</source>
        <translation>Move the %1 AppImage to ~/Applications in your file manager, then open it again.
(%2)</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>フォルダ %1 を作成できませんでした</source>
        <translation>could not create the folder %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>すでにある %1 をゴミ箱に移せませんでした</source>
        <translation>could not move the existing %1 to the trash</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 を %2 にコピーできませんでした: %3</source>
        <translation>could not copy %1 to %2: %3</translation>
    </message>
    <message>
        <location filename="../../app/preferences.cpp" line="+10"/>
        <source>速い（0.2秒）</source>
        <translation>Fast (0.2 s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ふつう（0.25秒）</source>
        <translation>Normal (0.25 s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ゆっくり（0.35秒）</source>
        <translation>Slow (0.35 s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>長め（0.5秒）</source>
        <translation>Long (0.5 s)</translation>
    </message>
    <message>
        <location line="+83"/>
        <source>パスワードと鍵</source>
        <translation>Passwords and Keys</translation>
    </message>
    <message>
        <location filename="../../app/trust_texts.cpp" line="+11"/>
        <source>X ディスプレイに接続できないため、Ctrl+V の長押しを見分けられません。X11 のデスクトップにログインしてから起動してください。</source>
        <translation>No X display can be reached, so holding Ctrl+V cannot be recognised. Log in to an X11 desktop session and start the program there.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Wayland のセッションで、X ディスプレイ（Xwayland）に接続できません。Ctrl+V の長押しを見分けるには X への接続が必要です。ログイン画面で X11（Xorg）のセッションを選ぶか、Xwayland を有効にしてください。</source>
        <translation>This is a Wayland session and no X display (Xwayland) can be reached. Recognising a held Ctrl+V needs X. Choose an X11 (Xorg) session on the login screen, or turn Xwayland on.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Ctrl+V を別のプログラムが先に押さえています。デスクトップのキーボードショートカットや、ほかのクリップボード管理ツールの設定で Ctrl+V の割り当てを外してください。</source>
        <translation>Another program has taken Ctrl+V. Remove Ctrl+V from your desktop’s keyboard shortcuts or from the settings of the other clipboard tool.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>X サーバーに XTEST 拡張がないため、選んだ項目を貼り付けられません。XTEST を使える X サーバーで起動してください。</source>
        <translation>The X server has no XTEST extension, so a chosen clip cannot be pasted. Start the program on an X server with XTEST.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>いまのキーボード配列には V を入力するキーがないため、Ctrl+V を見分けられません。</source>
        <translation>No key of the current keyboard layout types V, so Ctrl+V cannot be recognised.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>このデスクトップの Wayland は、ほかのアプリケーションにキー入力を送る仕組み（zwp_virtual_keyboard_v1）を提供していないため、Ctrl+V の長押しでは貼り付けられません。キーボードショートカットに「vantrel --pick」を割り当てると、ピッカー（layer-shell に対応したデスクトップで表示できます）で選んだ項目がクリップボードに戻るので、そのあと Ctrl+V で貼り付けてください。</source>
        <translation>This Wayland desktop offers no way to send keystrokes to other applications (zwp_virtual_keyboard_v1), so holding Ctrl+V cannot paste. Bind “vantrel --pick” to a keyboard shortcut: the clip you choose in the picker (shown on desktops with layer-shell) goes back to the clipboard, and you then paste it with Ctrl+V.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>⚠︎ X ディスプレイに接続できません…</source>
        <translation>⚠︎ No X display…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>⚠︎ Wayland では X への接続が必要です…</source>
        <translation>⚠︎ On Wayland, X access is needed…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>⚠︎ Ctrl+V をほかのプログラムが使っています…</source>
        <translation>⚠︎ Another program uses Ctrl+V…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>⚠︎ X サーバーに XTEST がありません…</source>
        <translation>⚠︎ The X server lacks XTEST…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>⚠︎ V のキーが見つかりません…</source>
        <translation>⚠︎ No V key found…</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>⚠︎ このデスクトップでは貼り付けのキーを送れません…</source>
        <translation>⚠︎ This desktop cannot send the paste keys…</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>⚠︎ Ctrl+V の長押しが使えません…</source>
        <translation>⚠︎ Holding Ctrl+V does not work…</translation>
    </message>
    <message>
        <location filename="../../app/updater.cpp" line="+19"/>
        <source>サーバーから時間内に応答がありませんでした</source>
        <translation>the server did not answer in time</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>サーバーがエラーを返しました（HTTP %1）</source>
        <translation>the server answered with an error (HTTP %1)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>サーバーに接続できませんでした（%1）</source>
        <translation>could not reach the server: %1</translation>
    </message>
    <message>
        <location line="+89"/>
        <source>更新情報の配信先が設定されていません</source>
        <translation>no update feed is set</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>更新情報が大きすぎます</source>
        <translation>the update feed is too large</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>更新情報を読めませんでした（%1）</source>
        <translation>could not read the update feed: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>この版の番号（%1）を比べられません</source>
        <translation>this version’s number, %1, cannot be compared</translation>
    </message>
    <message>
        <location filename="../../app/windows/about_tab.cpp" line="+49"/>
        <source>バージョン %1（%2）</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ctrl+V を長押しすると、コピーした履歴から選んで貼れます。</source>
        <translation>Hold Ctrl+V to choose from what you copied and paste it.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>サポート</source>
        <translation>Support</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>プライバシー</source>
        <translation>Privacy</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ウェブサイト</source>
        <translation>Website</translation>
    </message>
    <message>
        <location filename="../../app/windows/app_chooser_dialog.cpp" line="+20"/>
        <source>記録しないアプリを追加</source>
        <translation>Add Applications Not to Record</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>名前で絞り込む</source>
        <translation>Filter by name</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location filename="../../app/update_check_window.cpp" line="+75"/>
        <source>新しい版を確認しています…</source>
        <translation>Checking for a new version…</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../../app/windows/app_chooser_dialog.cpp" line="+5"/>
        <location filename="../../app/windows/history_tab.cpp" line="+225"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>変更点を見る</source>
        <translation>See what changed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 の新しい版 %2 があります</source>
        <translation>A new version of %1, %2, is available</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>いまお使いの版は %1 です。ダウンロードページから新しい版を入手できます。</source>
        <translation>You are using version %1. The download page has the new version.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ダウンロードページを開く</source>
        <translation>Open the Download Page</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>最新の版です</source>
        <translation>You’re up to date</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 %2 はいま配信されている最新の版です。</source>
        <translation>%1 %2 is the newest version available.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+10"/>
        <location line="+8"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>新しい版はパッケージで届きます</source>
        <translation>New versions come with the package</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 はインストールしたパッケージと一緒に更新されます。新しい版は、apt などのパッケージマネージャーでシステムを更新すると届きます。</source>
        <translation>%1 is updated with the package it was installed from. New versions arrive when you update your system with apt or another package manager.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>新しい版を確認できませんでした</source>
        <translation>Could not check for a new version</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1。
しばらくしてからもう一度お試しください。</source>
        <translation>%1.
Please try again later.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>%1 のアップデート</source>
        <translation>%1 Updates</translation>
    </message>
    <message>
        <location filename="../../app/windows/app_row.cpp" line="+39"/>
        <source>（このコンピュータには無し）</source>
        <translation>(not on this computer)</translation>
    </message>
    <message>
        <location filename="../../app/status_menu.cpp" line="+95"/>
        <location filename="../../app/windows/general_tab.cpp" line="+76"/>
        <location line="+1"/>
        <source>ログイン時に起動</source>
        <translation>Start at Login</translation>
    </message>
    <message>
        <location filename="../../app/windows/general_tab.cpp" line="+2"/>
        <source>デスクトップの自動起動の設定で許可してください。</source>
        <translation>Allow it in your desktop’s autostart settings.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Ctrl+V を長押ししたとき</source>
        <translation>When Ctrl+V Is Held</translation>
    </message>
    <message>
        <location filename="../../app/status_menu.cpp" line="-37"/>
        <source>Ctrl+V を長押しで履歴を表示</source>
        <translation>Hold Ctrl+V to show the history</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>新しい版があります…</source>
        <translation>A New Version Is Available…</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>まだ履歴がありません</source>
        <translation>No history yet</translation>
    </message>
    <message>
        <location line="+14"/>
        <location filename="../../app/windows/general_tab.cpp" line="+2"/>
        <source>扇（カーソルの右に広がる）</source>
        <translation>Fan (opens to the right of the pointer)</translation>
    </message>
    <message>
        <location line="+2"/>
        <location filename="../../app/windows/general_tab.cpp" line="+2"/>
        <source>リング</source>
        <translation>Ring</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>設定…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>アップデートを確認…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 を終了</source>
        <translation>Quit %1</translation>
    </message>
    <message>
        <location line="-28"/>
        <location filename="../../app/windows/general_tab.cpp" line="+1"/>
        <source>表示</source>
        <translation>Style</translation>
    </message>
    <message>
        <location filename="../../app/windows/general_tab.cpp" line="+6"/>
        <location filename="../../app/windows/history_tab.cpp" line="-170"/>
        <source> 件</source>
        <translation> clips</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>扇に一度に出す数</source>
        <translation>Clips shown in the fan at once</translation>
    </message>
    <message>
        <location filename="../../app/status_menu.cpp" line="+8"/>
        <location filename="../../app/windows/general_tab.cpp" line="+7"/>
        <source>長押しの長さ</source>
        <translation>Hold Time</translation>
    </message>
    <message>
        <location filename="../../app/windows/general_tab.cpp" line="+8"/>
        <source>Wayland での長押し</source>
        <translation>Holding on Wayland</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Sway の設定ファイル（~/.config/sway/config）に次の 2 行を加えて、swaymsg reload で読み込み直してください。Ctrl+V を押したことと離したことが Vantrel に届きます。</source>
        <translation>Add these two lines to your Sway configuration (~/.config/sway/config) and reload it with swaymsg reload. They tell Vantrel when Ctrl+V is pressed and released.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>押し続けたキーを知らせる仕組みのないデスクトップでは、好きなキーボードショートカットに「%1」を割り当てると、ピッカーが開きます（Return、数字、クリックで貼り付け、Esc で閉じます）。</source>
        <translation>On desktops that cannot report a held key, bind “%1” to a keyboard shortcut of your choice to open the picker (Return, a digit or a click pastes; Esc closes it).</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>アップデート</source>
        <translation>Updates</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+2"/>
        <source>新しい版を自動で確認する</source>
        <translation>Check for new versions automatically</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>今すぐ確認…</source>
        <translation>Check Now…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>新しい版は、インストールしたパッケージと一緒に届きます（apt などでシステムを更新してください）。</source>
        <translation>New versions come with the installed package: update your system with apt or another package manager.</translation>
    </message>
    <message>
        <location filename="../../app/windows/history_tab.cpp" line="-5"/>
        <source>履歴はこのコンピュータの中だけに保存されます。</source>
        <translation>The history is stored on this computer only.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>覚えておく件数</source>
        <translation>Clips to keep</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>履歴をすべて消去…</source>
        <translation>Clear the Whole History…</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>記録しないアプリ</source>
        <translation>Applications Not Recorded</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ここにあるアプリでコピーしたものは履歴に残しません。パスワード管理アプリが「記録しないで」と印を付けたコピーも残しません。</source>
        <translation>What you copy in these applications is not kept in the history. Neither is a copy that a password manager marks as not to be recorded.</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>アプリを追加</source>
        <translation>Add an application</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>選んだアプリを外す</source>
        <translation>Remove the selected application</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>最初の状態に戻す</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <location line="+102"/>
        <source>履歴をすべて消去しますか？</source>
        <translation>Clear the whole history?</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>元に戻せません。</source>
        <translation>This cannot be undone.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>消去</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location filename="../../app/windows/onboarding_view.cpp" line="+95"/>
        <source>Ctrl+V を長押しすると、履歴から選んで貼れます</source>
        <translation>Hold Ctrl+V to paste from your history</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>短く押せばいつもどおりの貼り付けです。</source>
        <translation>A short press pastes as usual.</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>準備ができました。</source>
        <translation>Ready.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>もう一度確かめる</source>
        <translation>Check Again</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>直ると、この画面は自動で切り替わります。キーの内容を保存したり送ったりはしません。</source>
        <translation>Once it is fixed, this window changes by itself. Nothing you type is stored or sent.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Ctrl+V の長押しを受け取る</source>
        <translation>Receive a held Ctrl+V</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>試してみる</source>
        <translation>Try it</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>何かをいくつかコピーしてから、文字を入力できる所で Ctrl+V を長押し。マウスを向けた項目を、Ctrl を離すと貼ります。カーソルの左へマウスを出して離すと、貼らずにやめます。</source>
        <translation>Copy a few things, then hold Ctrl+V where you can type. Point at a clip and release Ctrl to paste it. Move the pointer out to the left of the cursor and release to cancel without pasting.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>あとで設定（トレイのアイコン → 設定…）からも確かめられます。</source>
        <translation>You can come back to this later in Settings (tray icon → Settings…).</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>はじめる</source>
        <translation>Get Started</translation>
    </message>
    <message>
        <location filename="../../app/update_check_window.cpp" line="-91"/>
        <location filename="../../app/windows/onboarding_view.cpp" line="+1"/>
        <source>あとで</source>
        <translation>Later</translation>
    </message>
    <message>
        <location filename="../../app/windows/onboarding_window_controller.cpp" line="+33"/>
        <source>%1 へようこそ</source>
        <translation>Welcome to %1</translation>
    </message>
    <message>
        <location filename="../../app/windows/settings_view.cpp" line="+33"/>
        <source>一般</source>
        <translation>General</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>情報</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../../app/windows/settings_window_controller.cpp" line="+37"/>
        <source>%1 の設定</source>
        <translation>%1 Settings</translation>
    </message>
    <message>
        <location filename="../../history/clip_item.cpp" line="+100"/>
        <source>画像</source>
        <translation>Image</translation>
    </message>
    <message>
        <location line="+5"/>
        <source> ほか%1件</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <location filename="../../picker/fan/preview_bubble.h" line="+31"/>
        <location filename="../../picker/ring/center_preview.cpp" line="+23"/>
        <source>離すとやめる</source>
        <translation>Release to cancel</translation>
    </message>
    <message>
        <location filename="../../app/trust_texts.cpp" line="-56"/>
        <source>この Wayland のセッションでは、Ctrl+V の長押しはまだ使えません。コピーは履歴に記録され、トレイのメニューから選んだ項目はクリップボードに戻ります。</source>
        <translation>Holding Ctrl+V is not available in this Wayland session yet. Copies are recorded in the history, and an item chosen from the tray menu goes back to the clipboard.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>このデスクトップの Wayland はクリップボードを見守る仕組み（data-control）を提供していないため、ほかのプログラムのコピーを記録できません。Ctrl+V の長押しもまだ使えません。Xwayland を通して使うには、--platform x11 を付けて起動してください。</source>
        <translation>This desktop&apos;s Wayland compositor offers no way to watch the clipboard (data-control), so copies made in other programs cannot be recorded, and holding Ctrl+V is not available yet either. To use Vantrel through Xwayland, start it with --platform x11.</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>⚠︎ この Wayland のセッションでは長押しはまだ使えません…</source>
        <translation>⚠︎ Hold to paste is not available in this Wayland session yet…</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>⚠︎ この Wayland のセッションではコピーを記録できません…</source>
        <translation>⚠︎ Copies cannot be recorded in this Wayland session…</translation>
    </message>
    <message>
        <location filename="../../app/windows/history_tab.cpp" line="-134"/>
        <source>このセッションでは、どのアプリでコピーしたかがわからないため、このリストは使われません。</source>
        <translation>This session does not tell which application a copy came from, so this list cannot apply.</translation>
    </message>
    <message>
        <location filename="../../app/windows/paste_keys_section.cpp" line="+69"/>
        <source>Ctrl+Shift+V で貼り付けるアプリ（端末）</source>
        <translation>Apps that paste with Ctrl+Shift+V (terminals)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Shift+Insert で貼り付けるアプリ（xterm など。PRIMARY 選択にも入れます）</source>
        <translation>Apps that paste with Shift+Insert (xterm and the like; the clip also goes into the PRIMARY selection)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>長押ししないアプリ（Ctrl+V をいつもそのまま渡します）</source>
        <translation>Apps without hold-to-paste (Ctrl+V always passes through as it is)</translation>
    </message>
</context>
<context>
    <name>vt</name>
    <message>
        <location line="-15"/>
        <source>貼り付けのキー</source>
        <translation>Paste keys</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>長押しで選んだものは Ctrl+V で貼り付けます。端末など Ctrl+V で貼り付けないアプリには、下のキーを使います。短く押した Ctrl+V は、どのアプリにもそのまま届きます。</source>
        <translation>A clip chosen by holding is pasted with Ctrl+V. Apps that do not paste with Ctrl+V, such as terminals, get the keys below. A short Ctrl+V always reaches every app as it is.</translation>
    </message>
</context>
</TS>
