#!/usr/bin/env bash
# Fails when a lower floor of src/ includes a header of a floor above it:
#   platform/  includes only platform/
#   zip/       includes only zip/ and platform/
#   comm/      includes only comm/, zip/ and platform/ (no shell, parameter, connection, monitor,
#              quicksetup, nor a generated ui_ header)
# The upper floors (connection/, parameter/, shell/, monitor/, quicksetup/) may include any of these.
set -euo pipefail
ROOT="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
SRC="$ROOT/src"

breaches=0
check() {
    local folder="$1"
    shift
    local allowed=" $* "
    local file line header top
    while IFS= read -r file; do
        while IFS=: read -r line header; do
            top="${header%%/*}"
            if [ "$top" = "$header" ] || [[ "$allowed" != *" $top "* ]]; then
                echo "src/$folder/${file#"$SRC/$folder/"}:$line: includes \"$header\"; $folder/ may include only:$allowed" >&2
                breaches=$((breaches + 1))
            fi
        done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
                 sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1:\2/')
    done < <(find "$SRC/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) | sort)
}

check platform platform
check zip zip platform
check comm comm zip platform

if [ "$breaches" -gt 0 ]; then
    echo "$breaches include(s) reach above their floor" >&2
    exit 1
fi
echo "Every floor includes only itself and the floors below it"
