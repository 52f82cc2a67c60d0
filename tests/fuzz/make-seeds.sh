#!/usr/bin/env bash
# Lays out a seed corpus per fuzz target from the files the program ships and the tests' data:
#   tests/fuzz/make-seeds.sh OUT_DIR
# gives OUT_DIR/<target>/ for zip, station, textlist, workbook, datafiles, replies and replyanswers.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
OUT="${1:?usage: make-seeds.sh OUT_DIR}"
DATA="$ROOT/src/data"
mkdir -p "$OUT"/{zip,station,textlist,workbook,datafiles,replies,replyanswers}

python3 - "$ROOT" "$OUT" <<'PY'
import os, sys, zipfile
root, out = sys.argv[1], sys.argv[2]
station = b"Station:NO.005,VP-220V-0.75K-G\r\nlanguageType:1\r\nCOM:1-COM3-3-1-1-2-0-40\r\n"
open(os.path.join(out, "station", "station.txt"), "wb").write(station)
for method, name in ((zipfile.ZIP_DEFLATED, "document.tv"), (zipfile.ZIP_STORED, "stored.tv")):
    with zipfile.ZipFile(os.path.join(out, "station", name), "w", method) as z:
        z.writestr("station.txt", station)
# An update package of a few data files, deflated and stored.
with zipfile.ZipFile(os.path.join(out, "zip", "update.zr"), "w", zipfile.ZIP_DEFLATED) as z:
    for rel in ("ParameterInforamtion/InvType/FNC.txt", "ParameterInforamtion/InvType/InvType.txt"):
        z.write(os.path.join(root, "src/data", rel), rel)
with zipfile.ZipFile(os.path.join(out, "zip", "stored.zr"), "w", zipfile.ZIP_STORED) as z:
    z.write(os.path.join(root, "src/data/ParameterInforamtion/InvType/typeInfo.txt"), "ParameterInforamtion/InvType/typeInfo.txt")
    z.writestr("images/", b"")
# The tests' hand-made workbook.
hand = os.path.join(root, "tests/zip/data/handmade")
with zipfile.ZipFile(os.path.join(out, "workbook", "handmade.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
    for folder, _, files in os.walk(hand):
        for f in files:
            path = os.path.join(folder, f)
            z.write(path, os.path.relpath(path, hand))
# The data-file readers take a selector byte first (see fuzz_datafiles.cpp).
def seed(pick, path, name):
    data = open(path, "rb").read()[:65536]
    open(os.path.join(out, "datafiles", name), "wb").write(bytes([pick]) + data)
seed(0, os.path.join(root, "src/data/InvParameter/A_InvParameter_Eng.xml"), "definitions")
seed(0x10, os.path.join(root, "src/data/InvParameter/S_InvParameter.xml"), "definitions-extended")
seed(1, os.path.join(root, "src/data/InvParameter/D_InvParameter_Big.xml"), "localized")
seed(2, os.path.join(root, "src/data/ParameterInforamtion/ParameterDetails/A_Eng.txt"), "details")
seed(3, os.path.join(root, "src/data/ParameterInforamtion/W_Par.txt"), "deferred")
seed(4, os.path.join(root, "src/data/ParameterInforamtion/InvType/FNC.txt"), "commands")
seed(5, os.path.join(root, "src/data/ParameterInforamtion/Combox/A_Eng.txt"), "monitor-items")
seed(6, os.path.join(root, "src/data/ParameterInforamtion/InvType/IOstate.txt"), "iostate")
seed(7, os.path.join(root, "src/data/ParameterInforamtion/InvType/alarmCode.txt"), "alarm-codes")
seed(7, os.path.join(root, "src/data/ParameterInforamtion/InvType/errorInfo.txt"), "error-info")
seed(7, os.path.join(root, "src/data/ParameterInforamtion/InvType/alarm.txt"), "alarm-names")
seed(8, os.path.join(root, "src/data/ParameterInforamtion/InvType/inputAndOutput.txt"), "terminals")
seed(9, os.path.join(root, "src/data/ParameterInforamtion/InvType/typeInfo.txt"), "type-info")
# Replies: a selector byte, then the reply (see fuzz_replies.cpp).
replies = {
    "zr-data": bytes([3]) + b"\x0201MOD0000\x03A5\r",
    "ascii": bytes([2 + 3]) + b":010302001EDA\r\n",
    "rtu": bytes([0x80 | 7]) + bytes.fromhex("010302001E3844"),
    "rtu-exception": bytes([0x80 | 5]) + bytes.fromhex("0183023F0A"),
}
for name, data in replies.items():
    open(os.path.join(out, "replies", name), "wb").write(data)
# Reply answers: protocol and expected length (protocol + 3 * length), the request's length, the
# request as sent, the reply (see fuzz_replyanswers.cpp).
answers = {
    "rtu-read": (1, 7, bytes.fromhex("010300070001340B"), bytes.fromhex("0103020005B847")),
    "rtu-refusal": (1, 7, bytes.fromhex("010300070001340B"), bytes.fromhex("018302C0F1")),
    "ascii-read": (2, 15, b":010300BC00013F\r\n", b":0103021234B4\r\n"),
    "zr-read": (0, 12, b"\x0501050F6\r", b"\x02011388" b"2\x0367\r"),
    "zr-write": (0, 4, b"\x05018500064C8\r", b"\x0601\r"),
}
for name, (protocol, expected, request, reply) in answers.items():
    open(os.path.join(out, "replyanswers", name), "wb").write(bytes([protocol + 3 * expected, len(request)]) + request + reply)
PY
cp "$ROOT"/tests/parameter/data/list_*.txt "$OUT/textlist/"
cp "$OUT/station/document.tv" "$OUT/zip/"
cp "$OUT/workbook/handmade.xlsx" "$OUT/zip/"
