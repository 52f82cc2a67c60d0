#!/usr/bin/env bash
# Starts the simulated drive on a pseudo-terminal, lists it as a COM port and starts the program.
set -euo pipefail
BIN="$1"; shift
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
echo "The simulated drive is not built yet." >&2
exec "$BIN/TavironINV" "$@"
