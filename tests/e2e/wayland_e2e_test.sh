#!/usr/bin/env bash
# The program on Sway (run under scripts/with-wayland): it records wl-copy's copies, a short
# press pastes once, and with the picker open its layer-shell surface holds the keyboard, so
# arrows, digits, Escape and Ctrl's release reach the program from it while the Sway bindings
# report V; a picker opened with --pick pastes on Return. wtype plays the user's keyboard; a Qt
# text field on Wayland is the paste target.
#   wayland_e2e_test.sh path/to/vantrel path/to/test_paste_target
set -uo pipefail
program="$1" target="$2"
dir=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
    rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program log:"; cat "$dir/log"; exit 1; }
within() { for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done; return 1; }
export HOME="$dir" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" QT_QPA_PLATFORM=
export QT_LOGGING_RULES="io.vantrel.Vantrel.tap.debug=true"
mkdir -p "$dir/config/Vantrel"
printf '[General]\nonboardingDone=true\n' >"$dir/config/Vantrel/Vantrel.conf"

"$program" --platform wayland >"$dir/log" 2>&1 &
pids+=($!)
within grep -q "clipboard recorded" "$dir/log" || fail "the program did not start"
grep -q "platform: wayland (chosen by --platform)" "$dir/log" || fail "no Wayland choice logged"
for clip in one two three; do
    for _ in $(seq 20); do
        wl-copy "$clip"
        grep -qs "\"$clip\"" "$dir/data/Vantrel/history.json" && break
        sleep 0.3
    done
done
swaymsg -q "bindsym --no-repeat Ctrl+v exec $program --hold press" || fail "swaymsg"
swaymsg -q "bindsym --release Ctrl+v exec $program --hold release"
"$program" --hold release
QT_QPA_PLATFORM=wayland "$target" "$dir/target.txt" 2>/dev/null &
pids+=($!)
within test -e "$dir/target.txt" || fail "the paste target did not start"
sleep 0.5 # the clipboard reaches a window a moment after its focus

# Each case: the keys between holding Ctrl+V past the hold delay and letting go, and the text
# the target holds afterwards (the history is newest first: three, two, one).
# A short press pastes the clipboard (the newest copy), once each time.
for expected in three threethree; do
    wtype -M ctrl v -m ctrl
    within grep -qx -- "$expected" "$dir/target.txt" ||
        fail "short press: the target holds '$(cat "$dir/target.txt")', not '$expected'"
done
sleep 0.5
grep -qx threethree "$dir/target.txt" || fail "a short press pasted more than once"
while IFS='|' read -r name keys adds; do
    # shellcheck disable=SC2086
    wtype -M ctrl -P v -s 800 $keys -p v -m ctrl
    expected="$expected$adds"
    within grep -qx -- "$expected" "$dir/target.txt" ||
        fail "$name: the target holds '$(cat "$dir/target.txt")', not '$expected'"
    sleep 0.5
    grep -qx -- "$expected" "$dir/target.txt" || fail "$name: pasted more than once"
done <<'CASES'
hold and release|-s 10|three
hold and arrow|-k Right -s 10|two
hold and digit|-k 3|one
Escape|-k Escape|
CASES
# A picker opened by `vantrel --pick` (a shortcut of the user's choice) ignores Ctrl and pastes
# on Return.
"$program" --pick || fail "--pick found no running instance"
sleep 0.8
wtype -M ctrl -m ctrl -k Down -k Return
expected="${expected}two"
within grep -qx -- "$expected" "$dir/target.txt" ||
    fail "--pick: the target holds '$(cat "$dir/target.txt")', not '$expected'"
echo "PASS"
