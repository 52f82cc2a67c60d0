#!/usr/bin/env bash
# Runs a test program under a real X server and window manager (Xvfb, openbox) at a laptop's 1366 x 768.
set -euo pipefail
dir="$(mktemp -d)" pids=()
trap 'set +e; kill "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
# Each waits on what the last step announces, never on a sleep alone: a busy machine takes longer.
waitFor() { for _ in $(seq 600); do eval "$1" && return; kill -0 "$2" 2>/dev/null || return 1; sleep 0.05; done; return 1; }
# A server or window manager that dies while starting (a display number taken in the same instant by
# another test's server) is started afresh; the program under test runs once.
startX() {
    : >"$dir/display"
    Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
    pids+=($!)
    waitFor '[ -s "$dir/display" ]' $! || return 1
    export DISPLAY=":$(head -n1 "$dir/display")"
    openbox --sm-disable 2>"$dir/openbox.log" &
    pids+=($!)
    waitFor 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' $!
}
for try in 1 2 3; do
    startX && break
    cat "$dir/xvfb.log" "$dir/openbox.log" 2>/dev/null
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
    pids=()
    [ "$try" = 3 ] && exit 1
done
QT_QPA_PLATFORM=xcb TAVIRON_WINDOW_MANAGER=openbox "$@"
