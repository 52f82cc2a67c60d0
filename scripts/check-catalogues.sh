#!/usr/bin/env bash
# Every text the program passes through the translator needs a finished translation in both Chinese
# catalogues. lupdate gathers the texts from the sources into temporary copies of the catalogues, so a
# check never touches the tree; entries it leaves unfinished are listed and fail the check.
#   scripts/check-catalogues.sh            check
#   scripts/check-catalogues.sh --update   bring the catalogues in the tree up to date with the sources
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LUPDATE="${LUPDATE:-lupdate}"
LANG_DIR="$ROOT/src/resources/language"
CHINESE=(TavironINV_zh_CN.ts TavironINV_zh_Big.ts)
# Locations would change with every edit of the sources and say nothing a translator needs.
OPTIONS=(-extensions cpp,h,ui -locations none -no-obsolete -silent)

# The workbook layer translates through a function of its own in the class's context, which lupdate
# reads right but warns about; other warnings pass.
lupdate_sources() {
    "$LUPDATE" "${OPTIONS[@]}" "$@" 2> >(grep -v "lacks Q_OBJECT macro" >&2)
}

if [ "${1:-}" = "--update" ]; then
    for ts in "${CHINESE[@]}"; do
        lupdate_sources "$ROOT/src" -ts "$LANG_DIR/$ts"
    done
    # English is the source language: its catalogue holds only what English itself needs (plural forms).
    lupdate_sources -pluralonly "$ROOT/src" -ts "$LANG_DIR/TavironINV_Eng.ts"
    exit 0
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

failed=0
for ts in "${CHINESE[@]}"; do
    cp "$LANG_DIR/$ts" "$WORK/$ts"
    lupdate_sources "$ROOT/src" -ts "$WORK/$ts"
    # One line per entry: its context, then the source text with line ends shown as \n.
    missing="$(awk '
        /<name>/ { sub(/.*<name>/, ""); sub(/<\/name>.*/, ""); context = $0 }
        /<message/ { source = ""; insource = 0 }
        /<source>/ { insource = 1; source = "" }
        insource { line = $0; sub(/.*<source>/, "", line); source = source (source == "" ? "" : "\\n") line
                   if ($0 ~ /<\/source>/) { sub(/<\/source>.*/, "", source); insource = 0 } }
        /<translation type="unfinished"/ || /<translation><\/translation>/ { print "  " context ": " (length(source) > 100 ? substr(source, 1, 100) "..." : source) }
    ' "$WORK/$ts")"
    if [ -n "$missing" ]; then
        echo "$ts: $(printf '%s\n' "$missing" | wc -l) text(s) without translation:"
        printf '%s\n' "$missing"
        failed=1
    else
        echo "$ts: complete ($(grep -c '<message' "$WORK/$ts") texts)"
    fi
done
exit "$failed"
