#!/usr/bin/env bash
# The program binary on a Wayland session (run under scripts/with-wayland): it starts on the
# Wayland backend and records what another program copies into its history file.
#   wayland_e2e_test.sh path/to/vantrel
set -uo pipefail
program="$1"
dir=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- program log:"; cat "$dir/log"; exit 1; }
export HOME="$dir" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" QT_QPA_PLATFORM=
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
echo "PASS"
