#!/usr/bin/env bash
# Fails when a box or dialog of src/ opens other than through execAfterEarlierPresses, which takes the
# presses queued before it first: a box opened with its own exec(), or by a static call of the toolkit,
# drops them, a STOP among them. Allowed: the event loop itself, and the owed errors' box, which takes
# the presses itself and then moves over the window in use (its one exec() in CMainWindow::showOwedErrors).
set -euo pipefail
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$ROOT"
s='[[:space:]]*'
owed=$(awk '/^void CMainWindow::showOwedErrors\(\)/ { inside = 1 } inside && /^}/ { inside = 0 }
            inside && /^ +box->exec\(\);$/ { print FILENAME ":" FNR ":" }' src/shell/mainwindow.cpp 2>/dev/null | head -n1)
if grep -rn -E "(\.|->|::)${s}exec${s}\(|QMessageBox${s}::${s}(warning|information|question|critical|about(Qt)?)${s}\(|Q(File|Input|Color|Font)Dialog${s}::${s}get" src |
    grep -v -E '^src/shell/earlierpresses\.(h|cpp):|^src/main\.cpp:[0-9]+: +return app\.exec\(\);$' |
    grep -v -F -x -e "${owed:-none}            box->exec();" >&2; then
    echo "Open these through execAfterEarlierPresses (src/shell/earlierpresses.h)" >&2
    exit 1
fi
echo "Every box and dialog opens after the presses made before it"
