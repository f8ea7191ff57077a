#!/usr/bin/env bash
# The program binary on a Wayland session (run under scripts/with-wayland): it starts on the
# Wayland backend, records what another program copies into its history file, and, with the
# Sway bindings the settings window prints, pastes once on a short Ctrl+V (wtype plays the
# user's keyboard) into a Qt text field on Wayland.
#   wayland_e2e_test.sh path/to/vantrel path/to/test_paste_target
set -uo pipefail
program="$1"
target="$2"
dir=$(mktemp -d)
pid=""
targetPid=""
cleanup() {
    [ -n "$targetPid" ] && kill "$targetPid" 2>/dev/null && wait "$targetPid" 2>/dev/null
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program log:"; cat "$dir/log"; exit 1; }
export HOME="$dir" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" QT_QPA_PLATFORM=
export QT_LOGGING_RULES="io.vantrel.Vantrel.tap.debug=true"
history="$dir/data/Vantrel/history.json"

"$program" --platform wayland >"$dir/log" 2>&1 &
pid=$!
# Waits up to 15 s for a command to succeed.
within() { for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done; return 1; }

within grep -q "platform: wayland (chosen by --platform)" "$dir/log" || fail "no Wayland choice logged"
within grep -q "clipboard recorded" "$dir/log" || fail "the Wayland clipboard is not recorded"
# What was on the clipboard at start is not a copy: copy until the watcher sees one.
for i in $(seq 20); do
    wl-copy "first copy $i"
    grep -qs "first copy" "$history" && break
    sleep 0.5
done
wl-copy "copied on Wayland"
within grep -qs "copied on Wayland" "$history" || fail "the copy did not reach the history file"
kill -0 "$pid" 2>/dev/null || fail "the program ended"

# Hold-to-paste through the lines a Sway user adds. A start with --hold only hands its word over.
swaymsg -q "bindsym --no-repeat Ctrl+v exec $program --hold press" || fail "swaymsg"
swaymsg -q "bindsym --release Ctrl+v exec $program --hold release"
"$program" --hold release || fail "--hold found no running instance"
within grep -q "tap started" "$dir/log" || fail "the first word did not start the tap"
QT_QPA_PLATFORM=wayland "$target" "$dir/target.txt" 2>/dev/null &
targetPid=$!
within test -e "$dir/target.txt" || fail "the paste target did not start"
sleep 0.5 # the clipboard reaches a window a moment after its focus
pasted() { [ "$(cat "$dir/target.txt")" = "$1" ]; }
clip="copied on Wayland"
wtype -M ctrl v -m ctrl
within pasted "$clip" || fail "a short press did not paste: '$(cat "$dir/target.txt")'"
wtype -M ctrl v -m ctrl
within pasted "$clip$clip" || fail "a second short press did not paste once more"
sleep 0.5
pasted "$clip$clip" || fail "pasted more than once: '$(cat "$dir/target.txt")'"
echo "PASS"
