#!/usr/bin/env bash
# Builds the program and starts it. --simulator also starts a simulated drive and lists its port.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
# The test programs are built by test.sh only.
BUILD_TARGETS="TavironINV drivesim"
source "$ROOT/scripts/setup.sh"
BIN="$BUILD_DIR/bin"

if [ "${1:-}" = "--simulator" ]; then
    shift
    exec "$ROOT/scripts/with-simulator.sh" "$BIN" "$@"
fi
exec "$BIN/TavironINV" "$@"
