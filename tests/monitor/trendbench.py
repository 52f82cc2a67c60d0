#!/usr/bin/env python3
"""Writes the rows of a trend data file again with Python's csv and with openpyxl, for
tst_trendbench to compare its own export times with.

    trendbench.py TEXT_FILE OUT_DIR REPEATS

Reads TEXT_FILE (the trend text file: GBK, TAB, CR LF) before any clock runs, then writes the same
rows REPEATS times each way: csv with TAB delimiter (GBK, CR LF, the trailing TAB kept as an empty
field), an openpyxl workbook, and an openpyxl write-only workbook (stamps as text without their
apostrophe, values as numbers, missing values as empty cells). Prints one JSON object: the median
seconds of each way, and the rows written.
"""

import csv
import json
import statistics
import sys
import time

import openpyxl


def read_rows(path):
    with open(path, encoding="gbk", newline="") as f:
        rows = list(csv.reader(f, delimiter="\t"))
    date = rows[0][0]
    header = [field for field in rows[1] if field]
    body = []
    for row in rows[2:]:
        fields = row[:-1] if row and row[-1] == "" else row
        body.append([fields[0]] + [float(v) if v else None for v in fields[1:]])
    return date, header, body


def write_csv(path, date, header, body):
    with open(path, "w", encoding="gbk", newline="") as f:
        writer = csv.writer(f, delimiter="\t", lineterminator="\r\n")
        writer.writerow([date])
        writer.writerow(header + [""])
        for row in body:
            writer.writerow(row + [""])


def write_workbook(path, date, header, body, write_only):
    book = openpyxl.Workbook(write_only=write_only)
    sheet = book.create_sheet() if write_only else book.active
    sheet.append([date])
    sheet.append(header)
    for row in body:
        sheet.append([row[0][1:]] + row[1:])
    book.save(path)


def median_seconds(work, repeats):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def main():
    source, out_dir, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
    date, header, body = read_rows(source)
    result = {
        "rows": len(body),
        "csv": median_seconds(lambda: write_csv(out_dir + "/python.txt", date, header, body), repeats),
        "openpyxl": median_seconds(
            lambda: write_workbook(out_dir + "/python.xlsx", date, header, body, False), repeats),
        "openpyxl_write_only": median_seconds(
            lambda: write_workbook(out_dir + "/python-wo.xlsx", date, header, body, True), repeats),
    }
    print(json.dumps(result))


if __name__ == "__main__":
    main()
