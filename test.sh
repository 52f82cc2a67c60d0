#!/usr/bin/env bash
# Builds everything and runs every test offscreen; exits non-zero on any failure.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
BUILD_TARGETS=""
source "$ROOT/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
# Serial on purpose: the link tests measure reply windows of a few milliseconds. No test is run
# again: one that fails on a busy machine is a faulty test.
ctest --output-on-failure "$@"
