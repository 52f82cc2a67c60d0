#!/usr/bin/env bash
# scripts/check-boxes.sh on a small tree: it passes as it stands, and names each line planted in it.
set -uo pipefail
tree="$(mktemp -d)" fail=0
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/shell"
while IFS='|' read -r file line; do
    printf 'void CMainWindow::showOwedErrors()\n{\n            box->exec();\n}\n' >"$tree/src/shell/mainwindow.cpp"
    printf '%s\n' "$line" >>"$tree/src/shell/${file:-mainwindow.cpp}"
    "$(dirname "$0")/../../scripts/check-boxes.sh" "$tree" >/dev/null 2>"$tree/out"
    [ $? = 0 ] && [ -z "$file" ] || grep -q -F "src/shell/$file:" "$tree/out" || { echo "wrong: $file: $line"; fail=1; }
done <<'ROWS'
|
mainwindow.cpp|            box->exec();
form.cpp|    dialog.exec ();
form.cpp|    box-> exec( );
form.cpp|    QDialog::exec(&box);
form.cpp|    QMessageBox  ::  question(this, title, text);
form.cpp|    QFileDialog ::getOpenFileName(this);
form.cpp|    return app.exec();
ROWS
exit $fail
