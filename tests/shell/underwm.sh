#!/usr/bin/env bash
# Runs a test program under a real X server and window manager (Xvfb, openbox) at a laptop's 1366 x 768.
set -euo pipefail
dir="$(mktemp -d)" pids=()
trap 'set +e; kill "${pids[@]}" 2>/dev/null; wait "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
# Each waits on what the last step announces, never on a sleep alone: a busy machine takes longer.
waitFor() { for _ in $(seq 600); do eval "$1" && return; kill -0 "$2" || { cat "$dir/log"; exit 1; }; sleep 0.05; done; exit 1; }
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
pids+=($!)
waitFor '[ -s "$dir/display" ]' $!
export DISPLAY=":$(head -n1 "$dir/display")"
openbox --sm-disable 2>"$dir/log" &
pids+=($!)
waitFor 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' $!
QT_QPA_PLATFORM=xcb TAVIRON_WINDOW_MANAGER=openbox "$@"
