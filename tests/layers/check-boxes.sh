#!/usr/bin/env bash
# scripts/check-boxes.sh on a small tree: it passes as it stands, and names each line planted in it.
set -uo pipefail
check="$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-boxes.sh"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/shell"
owed=$'void CMainWindow::showOwedErrors()\n{\n            box->exec();\n}\n'
plant() { printf '%s' "$owed" >"$tree/src/shell/mainwindow.cpp"; printf 'int main()\n{\n    return app.exec();\n}\n' >"$tree/src/main.cpp"
          [ -z "$1" ] || printf '%s\n' "$1" >>"$tree/src/shell/$2"; }
plant "" mainwindow.cpp
"$check" "$tree" >/dev/null 2>&1 || { echo "a clean tree fails"; exit 1; }
fail=0
while IFS='|' read -r file line; do
    plant "$line" "$file"
    if "$check" "$tree" >/dev/null 2>"$tree/out" || ! grep -q -F "src/shell/$file:" "$tree/out"; then
        echo "not named: $file: $line"; fail=1
    fi
done <<'ROWS'
mainwindow.cpp|            box->exec();
mainwindow.cpp|    dialog.exec ();
form.cpp|    box-> exec();
form.cpp|    box->exec( );
form.cpp|    QDialog::exec(&box);
form.cpp|    QMessageBox::warning (this, title, text);
form.cpp|    QMessageBox  ::  question(this, title, text);
form.cpp|    QMessageBox::aboutQt(this);
form.cpp|    QFileDialog ::getOpenFileName(this);
form.cpp|    return app.exec();
ROWS
exit $fail
