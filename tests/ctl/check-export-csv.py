#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads quillmerectl's CSV export back the way people's tools read it.

    check-export-csv.py SAMPLE QUILLMERECTL

SAMPLE (quillmere-export-sample) saves a history whose texts hold commas,
quotes, line breaks and non-Latin letters in a state folder of its own, and
writes the rows that its export must read back as. QUILLMERECTL then exports
it, to a file and to standard output, and Python's csv module and pandas
must both read exactly those rows: the same columns, the same values, byte
for byte, with nothing turned into a number or a missing value.

Exits 0 when they do, 1 when not (each difference is printed).
"""

import csv
import io
import json
import os
import pathlib
import subprocess
import sys
import tempfile

import pandas

COLUMNS = [
    "block_id", "block_created_at", "block_completed_at", "block_outcomes", "session_id", "session_number",
    "started_at", "ended_at", "planned_minutes", "focus_minutes", "paused_minutes", "block_outcome",
    "intended_outcome", "first_action", "hazards_mitigation", "nicu_framing", "energy", "morale", "completion",
    "noteworthy_result", "distractions", "improvement",
]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def compare(reader, header, rows, expected):
    check(header == COLUMNS, f"{reader}: header {header!r}")
    check(len(rows) == len(expected), f"{reader}: {len(rows)} rows, expected {len(expected)}")
    for number, (row, wanted) in enumerate(zip(rows, expected), start=1):
        for column, value, wanted_value in zip(COLUMNS, row, wanted):
            check(value == wanted_value, f"{reader}: row {number}, {column}: {value!r}, expected {wanted_value!r}")
        check(len(row) == len(wanted), f"{reader}: row {number} has {len(row)} fields")


def main():
    sample, ctl = sys.argv[1:3]
    with tempfile.TemporaryDirectory(prefix="quillmere-export-") as folder:
        folder = pathlib.Path(folder)
        environment = dict(os.environ)
        # Half an hour off whole hours, so that the offset is written in full;
        # and a bus that does not exist: the export needs none.
        environment.update(XDG_DATA_HOME=str(folder), TZ="<+0530>-05:30",
                           DBUS_SESSION_BUS_ADDRESS=f"unix:path={folder}/no-bus")
        expected_file = folder / "expected.json"
        subprocess.run([sample, str(folder), str(expected_file)], env=environment, check=True)
        expected = json.loads(expected_file.read_text(encoding="utf-8"))

        output = folder / "export.csv"
        subprocess.run([ctl, "export", "--format", "csv", "--output", str(output)], env=environment, check=True)
        data = output.read_bytes()
        printed = subprocess.run([ctl, "export", "--format=csv"], env=environment, check=True,
                                 stdout=subprocess.PIPE).stdout
        check(printed == data, "standard output differs from the file")

        check(not data.startswith(b"\xef\xbb\xbf"), "the file starts with a byte order mark")
        check(data.startswith(",".join(COLUMNS).encode() + b"\r\n"), "the header does not end with CRLF")
        check(data.endswith(b"\r\n"), "the last row does not end with CRLF")
        text = data.decode("utf-8")

        records = list(csv.reader(io.StringIO(text, newline=""), strict=True))
        compare("csv", records[0], records[1:], expected)

        frame = pandas.read_csv(io.BytesIO(data), dtype=str, keep_default_na=False, encoding="utf-8")
        compare("pandas", list(frame.columns), frame.values.tolist(), expected)

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(failures)} failures" if failures else "the CSV export reads back exactly")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
