#!/usr/bin/env bash
# Runs a test program under a real X server and window manager (Xvfb and openbox) at a laptop's
# 1366 x 768, where the window manager frames every window as a user's desktop does.
set -euo pipefail
dir="$(mktemp -d)"
xvfb="" wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
# The server writes its display number once it takes clients; waiting on that, not on a sleep,
# holds on a busy machine.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
for _ in $(seq 600); do
    [ -s "$dir/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$dir/xvfb.log"; exit 1; }
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$dir/display")"
openbox --sm-disable 2>"$dir/openbox.log" &
wm=$!
# The window manager announces itself on the root window once it manages windows.
for _ in $(seq 600); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    kill -0 "$wm" 2>/dev/null || { cat "$dir/openbox.log"; exit 1; }
    sleep 0.05
done
QT_QPA_PLATFORM=xcb TAVIRON_WINDOW_MANAGER=openbox "$@"
