#!/usr/bin/env bash
# Builds everything and runs every test offscreen; exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
BUILD_TARGETS=""
source "$ROOT/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
# Half the cores, two to four at a time: two on a two-core machine. The programs that time the line to
# the millisecond run alone (RUN_SERIAL in tests/CMakeLists.txt). No test is run again: one that fails on
# a busy machine is a faulty test.
jobs=$(( $(nproc) / 2 ))
jobs=$(( jobs < 2 ? 2 : jobs > 4 ? 4 : jobs ))
ctest --parallel "$jobs" --output-on-failure "$@"
