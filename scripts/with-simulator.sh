#!/usr/bin/env bash
# Starts the simulated drive on a pseudo-terminal, lists it as a COM port and starts the program.
# DRIVESIM_SCENARIO picks another drive (default: series D on the Taviron protocol, 9600 8N1 CR, station 1).
set -euo pipefail
BIN="$1"; shift
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SCENARIO="${DRIVESIM_SCENARIO:-$ROOT/tools/drivesim/scenarios/D-taviron.drive}"
RUN_DIR="$(mktemp -d "${TMPDIR:-/tmp}/drivesim.XXXXXX")"

"$BIN/drivesim" "$SCENARIO" --register auto --path-file "$RUN_DIR/port" \
    --journal "$RUN_DIR/journal.txt" --control "$RUN_DIR/control" >/dev/null &
SIM=$!
cleanup() {
    kill "$SIM" 2>/dev/null && wait "$SIM" 2>/dev/null
    rm -rf "$RUN_DIR"
}
trap cleanup EXIT INT TERM

for _ in $(seq 100); do
    [ -s "$RUN_DIR/port" ] && break
    kill -0 "$SIM" 2>/dev/null || { echo "The simulated drive did not start." >&2; exit 1; }
    sleep 0.05
done
{ read -r DEVICE; read -r COM; } < "$RUN_DIR/port"
echo "Simulated drive ($(sed -n '1s/^# *//p' "$SCENARIO")) on $COM ($DEVICE)."
echo "Journal: $RUN_DIR/journal.txt; faults: echo 'fault link-lost' > $RUN_DIR/control"
"$BIN/TavironINV" "$@"
