#!/usr/bin/env bash
# Installs what the build, the program and the tests need, then configures and builds.
# Sourced by run.sh and test.sh; quick when everything is already there. BUILD_TARGETS, when set,
# names the targets to build (run.sh: the program and the simulated drive); else everything.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    build-essential cmake pkg-config
    qtbase5-dev qttools5-dev qttools5-dev-tools qt5-qmake
    libqwt-qt5-dev libminizip-dev zlib1g-dev libxlsxwriter-dev
    fonts-wqy-microhei
    # Qt's own catalogues (qtbase_zh_CN.qm, qtbase_zh_TW.qm) for its standard buttons and dialogs.
    qttranslations5-l10n
    xvfb xauth x11-utils socat zip unzip mbpoll xdg-utils xchm
    # Clicks through the X server for the dock's presses made while the window waits on the line.
    xdotool
    # The window manager under which tst_textsfit checks the frames the user sees.
    openbox
    fp-utils archmage
    # extract_chmLib, with which the help test reads a help file's opening page.
    libchm-bin
    python3 python3-pymodbus python3-openpyxl
    # pymodbus only recommends these, and installs here skip recommends: its serial client needs them.
    python3-serial python3-serial-asyncio
    libmodbus-dev
    # The X server's input events and time, with which the dock's STOP acts under a modal window.
    libqt5x11extras5-dev libxcb1-dev libxcb-xinput-dev
    # OpenCC's s2tw conversion, through which the suite checks every Traditional Chinese text.
    opencc
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# TAVIRON_UBSAN=ON (as .ci/run sets it) builds with UndefinedBehaviorSanitizer; configured each time
# it is given, so a build made without it cannot pass for one made with it.
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] || [ -n "${TAVIRON_UBSAN:-}" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${TAVIRON_UBSAN:+-DTAVIRON_UBSAN=$TAVIRON_UBSAN} >/dev/null
fi
read -r -a targets <<< "${BUILD_TARGETS:-}"
cmake --build "$BUILD_DIR" --parallel "$(nproc)" ${targets[@]+--target "${targets[@]}"}
