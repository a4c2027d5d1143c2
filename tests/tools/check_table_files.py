#!/usr/bin/python3
"""Reads back the files `kivdb table` wrote for the test page, with readers KivDB did not write:
openpyxl for the workbook and Python's csv module for CSV. Usage: check_table_files.py FOLDER.
FOLDER holds all.xlsx (every table of the page) and t-10.csv, t-11.csv, t-12.csv (one table each,
with a byte-order mark). Prints every mismatch and exits 1 when there is one."""

import csv
import datetime
import io
import sys

import openpyxl

failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


D = datetime.datetime
# The records of the Types paragraph: (Label, Größe, Price, Ratio, Day, Stamp); None is Null.
TYPES = [
    ('Ünïcödé ✓ "quoted", comma', 3, 10.5, 0.125, D(2024, 3, 5), D(2024, 3, 5, 14, 7, 9)),
    ("00123", -7, 1234567.89, 1e-07, D(1900, 1, 1), D(1999, 12, 31, 23, 59, 59)),
    ("=1+2", 0, 0.0, -2.5, D(2024, 2, 29), None),
    ("-5", None, None, None, None, None),
    ("@SUM(A1)", 2147483647, 0.01, 1e300, D(1900, 3, 1), D(1900, 2, 28, 12, 0, 0)),
    ("line one\nline two", 1, 1.0, 1.0, D(9999, 12, 31), D(2000, 1, 1, 0, 0, 1)),
]
HEADINGS = ["Label", "Größe", "Price", "Ratio", "Day", "Stamp"]
NUMBER_FORMATS = [None, "#,##0", "#,##0.00", "#,##0.00", "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss"]
BIG_ROWS = 100000
# The multi-chapter table as laid out: each chapter's heading and rows one cell further right.
SHAPED = [
    ["Label"],
    [TYPES[0][0]],
    [None, "ThingID", "Note"],
    [None, 1, "first"],
    [None, 1, "second"],
    [TYPES[1][0]],
    [None, "ThingID", "Note"],
    [None, 2, "third ☂"],
]


def check_workbook(path):
    book = openpyxl.load_workbook(path)
    expect("sheet names", book.sheetnames, ["Types a b", "Big", "Notes of things"])
    expect("title", book.properties.title, "Everything")
    expect("subject", book.properties.subject, "Data Browser\\Everything")

    sheet = book["Types a b"]
    expect("frozen heading", sheet.freeze_panes, "A2")
    expect("autofilter", sheet.auto_filter.ref, f"A1:F{len(TYPES) + 1}")
    expect("headings", [c.value for c in sheet[1]], HEADINGS)
    expect("bold headings", all(c.font.b for c in sheet[1]), True)
    for r, record in enumerate(TYPES, start=2):
        for c, want in enumerate(record):
            cell = sheet.cell(row=r, column=c + 1)
            name = f"Types {cell.coordinate}"
            if isinstance(want, str):
                expect(name + " type", cell.data_type, "s")  # text stays text, never a formula
                expect(name, cell.value, want)
            elif isinstance(want, float):
                expect(name, cell.value is not None and abs(cell.value - want) <= abs(want) * 1e-12,
                       True)
            else:
                expect(name, cell.value, want)
            if want is not None and c > 0:
                expect(name + " format", cell.number_format, NUMBER_FORMATS[c])
    total = len(TYPES) + 2
    expect("total label", sheet.cell(row=total, column=1).value, "Total:")
    last = len(TYPES) + 1
    for col, letter in ((2, "B"), (3, "C"), (4, "D")):
        expect(f"total {letter}", sheet.cell(row=total, column=col).value,
               f"=SUM({letter}2:{letter}{last})")
    expect("no totals of dates", [sheet.cell(row=total, column=c).value for c in (5, 6)],
           [None, None])
    expect("width from the data", sheet.column_dimensions["A"].width > 20, True)

    big = book["Big"]
    expect("big rows", big.max_row, BIG_ROWS + 1)
    expect("big autofilter", big.auto_filter.ref, f"A1:B{BIG_ROWS + 1}")
    wrong = 0
    for i, (n, name) in enumerate(big.iter_rows(min_row=2, values_only=True), start=1):
        if n != 2 * i or name != f"row {i}":
            wrong += 1
    expect("big rows wrong", wrong, 0)

    shaped = book["Notes of things"]
    rows = [list(r) for r in shaped.iter_rows(values_only=True)]
    expect("shaped rows", [r[: len(want)] for r, want in zip(rows, SHAPED)], SHAPED)
    expect("shaped row count", len(rows), len(SHAPED))
    levels = [shaped.row_dimensions[r].outline_level for r in range(1, len(SHAPED) + 1)]
    expect("shaped outline", levels, [0, 0, 1, 1, 1, 0, 1, 1])


def read_csv(path):
    data = open(path, "rb").read()
    expect(path + " byte-order mark", data[:3], b"\xef\xbb\xbf")
    text = data[3:].decode("utf-8")
    # Every record ends in CR LF; a line end inside a quoted field stays as it was.
    expect(path + " CR LF", text.replace("\r\n", "").count("\r"), 0)
    expect(path + " ends in CR LF", text.endswith("\r\n"), True)
    return list(csv.reader(io.StringIO(text, newline="")))


def csv_text(value):
    if value is None:
        return ""
    if isinstance(value, datetime.datetime):
        if value.hour or value.minute or value.second:
            return value.strftime("%Y-%m-%dT%H:%M:%S")
        return value.strftime("%Y-%m-%d")
    if isinstance(value, str) and value[:1] in ("=", "+", "-", "@", "\t", "\r"):
        return "'" + value  # no spreadsheet may run it
    return value


def check_csv(folder):
    rows = read_csv(folder + "/t-10.csv")
    expect("csv headings", rows[0], HEADINGS)
    expect("csv records", len(rows), len(TYPES) + 1)  # no total row among the data
    for r, record in enumerate(TYPES, start=1):
        for c, want in enumerate(record):
            got = rows[r][c]
            name = f"csv {r}:{HEADINGS[c]}"
            if isinstance(want, (int, float)) and not isinstance(want, bool):
                expect(name, float(got) == float(want) or abs(float(got) - want) <= abs(want) * 1e-12,
                       True)
                expect(name + " plain", "," in got or " " in got, False)
            else:
                expect(name, got, csv_text(want))

    big = read_csv(folder + "/t-11.csv")
    expect("csv big rows", len(big), BIG_ROWS + 1)
    expect("csv big wrong", sum(1 for i, r in enumerate(big[1:], start=1)
                                if r != [str(2 * i), f"row {i}"]), 0)

    shaped = read_csv(folder + "/t-12.csv")
    want = [["" if v is None else str(v) for v in r] for r in SHAPED]
    expect("csv shaped", shaped, want)


check_workbook(sys.argv[1] + "/all.xlsx")
check_csv(sys.argv[1])
for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
