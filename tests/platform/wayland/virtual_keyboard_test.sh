#!/usr/bin/env bash
# The virtual keyboard under a private headless Sway (run under scripts/with-wayland): a Ctrl+V
# typed past the user's binding reaches a Qt text field on Wayland and leaves the binding alone
# (typed plainly, the binding takes it), and foot pastes with Ctrl+Shift+V and Shift+Insert.
#   virtual_keyboard_test.sh path/to/vt_test_post_keys path/to/test_paste_target
set -uo pipefail
post="$1" target="$2"
dir=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
    rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
within() { for _ in $(seq 100); do "$@" && return 0; sleep 0.05; done; return 1; }
has() { [ "$(cat "$1" 2>/dev/null)" = "$2" ]; }

swaymsg -q "bindsym --no-repeat Ctrl+v exec echo bound >>$dir/bound" || fail "swaymsg"
wl-copy "CLIP"
PASTE_TARGET_TRACE=1 QT_QPA_PLATFORM=wayland "$target" "$dir/qt.txt" 2>"$dir/trace" &
pids+=($!)
within test -e "$dir/qt.txt" || fail "the Qt target did not start"
sleep 0.5 # the clipboard reaches a window a moment after its focus
"$post" ctrl+v past || fail "nothing could be typed"
within has "$dir/qt.txt" "CLIP" || { cat "$dir/trace"; fail "Ctrl+V past the binding did not paste: $(cat "$dir/qt.txt")"; }
"$post" ctrl+v
within test -s "$dir/bound" || fail "a plain Ctrl+V did not reach the binding"
sleep 0.3
has "$dir/qt.txt" "CLIP" || fail "the binding's Ctrl+V reached the target too"
[ "$(wc -l <"$dir/bound")" -eq 1 ] || fail "Ctrl+V past the binding fired it"

kill "${pids[0]}"
wl-copy --primary "SEL"
foot --app-id vt.test.foot sh -c "stty raw -echo; exec dd bs=1 of=$dir/foot.txt 2>/dev/null" \
    2>/dev/null &
pids+=($!)
within test -e "$dir/foot.txt" || fail "foot did not start"
"$post" ctrl+shift+v
within has "$dir/foot.txt" "CLIP" || fail "Ctrl+Shift+V did not paste into foot: '$(cat "$dir/foot.txt")'"
"$post" shift+insert
within has "$dir/foot.txt" "CLIPSEL" || fail "Shift+Insert did not paste PRIMARY: '$(cat "$dir/foot.txt")'"
echo "PASS"
