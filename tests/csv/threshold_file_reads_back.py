#!/usr/bin/env python3
"""Reads a run's threshold file back with Python's csv module.

Runs tornvel on the inputs of a golden case in a scratch directory and checks
that a standard CSV reader finds every field where it belongs: a profile name
with a comma and a value with a quote come back whole, and every row keeps as
many columns as the header row.
Usage: threshold_file_reads_back.py TORNVEL_BINARY CASES_DIR
"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

CASE = "t5_csv_quotes_fields"
EXPECTED_ROWS = [
    ["ZT5", "Threshold", "LOCKWAIT", "LOGFULL"],
    ["P,1.TXT", "Critical", "250", ""],
    ["P,1.TXT", "Warning", '5"0', ""],
]


def main():
    binary, cases = sys.argv[1], sys.argv[2]
    case = os.path.join(cases, CASE)
    with open(os.path.join(case, "args"), encoding="ascii") as f:
        args = f.read().splitlines()
    with tempfile.TemporaryDirectory() as work:
        shutil.copytree(os.path.join(case, "input"), work, dirs_exist_ok=True)
        env = dict(os.environ, SOURCE_DATE_EPOCH="1796633122", TZ="UTC")
        run = subprocess.run([binary] + args, cwd=work, env=env, capture_output=True)
        if run.returncode != 0:
            sys.exit(f"tornvel ended with {run.returncode}: {run.stdout!r}")
        with open(os.path.join(work, "SQLLIB", "ZT5_CDF.TXT"), newline="", encoding="ascii") as f:
            rows = list(csv.reader(f))
    if rows != EXPECTED_ROWS:
        sys.exit(f"read back {rows!r}, expected {EXPECTED_ROWS!r}")
    print("threshold file reads back: 3 rows of 4 fields")


if __name__ == "__main__":
    main()
