#!/usr/bin/env python3
"""Catches slips in tones/tone-table.tsv (a source per row; frequencies, side tones too, from
1 to 3999 Hz; plausible levels and steps per kind of tone) and checks make-tone-library.py's
guards with a stand-in importer: a usage error is no refused string, and a run deletes only
the library files the last run listed and it no longer writes.

Usage: tone_table_check.py PROJECT_ROOT
"""
import csv
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile

# Longest ON and OFF step, in ms, that each kind of tone has in any national table.
LIMITS = {"dial": (1000, 1000), "ringback": (2500, 6000), "busy": (1000, 1000), "congestion": (1000, 1000),
          "call-waiting": (1500, 20000), "special-information": (3000, 3000), "recall": (1500, 1000)}
SUMMAND = re.compile(r"^(\d+)(?:\*(\d+)(?:%\d+)?)?(?:@(-?\d+(?:\.\d{1,2})?))?$")
# Imports by writing the file, or refuses every call as bad usage.
STAND_IN = """#!/bin/sh
[ -n "$USAGE" ] && { echo 'sonaril-cli: unknown option' >&2; exit 2; }
case "$1 $3" in import*) echo made > "$4" ;; *--json) echo '{"tones": []}' ;; *) echo 440 ;; esac
"""


def row_problems(row):
    name = f"{row['country']} {row['tone']}"
    problems = [] if row["sources"].strip() else [f"{name}: no source"]
    for part in row["tone string"].split(","):
        sound, _, duration = part.strip().lstrip("!").rstrip("~").partition("/")
        matches = [SUMMAND.match(summand.strip()) for summand in sound.split("+")]
        if not all(matches):
            problems.append(f"{name}: '{sound}' is not a sum of frequencies")
            continue
        hertz = [int(m[1]) + sign * int(m[2] or 0) for m in matches for sign in (-1, 0, 1)]
        silent = hertz == [0, 0, 0]
        if not silent and not all(1 <= h < 4000 for h in hertz):
            problems.append(f"{name}: a frequency of '{sound}' is not between 1 and 3999 Hz")
        if any(m[3] and not -40 <= float(m[3]) <= 0 for m in matches):
            problems.append(f"{name}: an implausible level in '{sound}'")
        if duration and int(duration) > LIMITS[row["tone"]][silent]:
            problems.append(f"{name}: a step of {duration} ms is too long in '{part}'")
    return problems


def script_problems(root):
    with tempfile.TemporaryDirectory() as temporary:
        cli, outside, folder = [pathlib.Path(temporary) / name for name in ("cli", "outside.ton", "tones")]
        mine, gone = folder / "examples" / "mine.ton", folder / "gone" / "busy.ton"
        listed = [{"file": "gone/busy.ton"}, {"file": "../outside.ton"}]  # a row since left; a damaged entry
        for path, text in [(cli, STAND_IN), (mine, "kept"), (outside, "kept"), (gone, "made"),
                           (folder / "index.json", json.dumps(listed))]:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        cli.chmod(0o755)
        def make(**variables):
            return subprocess.run([sys.executable, str(root / "scripts" / "make-tone-library.py"), str(cli), str(folder)],
                                  env={**os.environ, **variables}, capture_output=True).returncode
        checks = [(make(USAGE="1") != 0 and not (folder / "README.md").exists(),
                   "a usage error of the importer was taken for a refused string"),
                  (make() == 0 and not gone.parent.exists(), "the run left behind a file the last run listed"),
                  (all(p.exists() and p.read_text() == "kept" for p in (mine, outside)),
                   "a file the script did not write was deleted or changed")]
        return [problem for passed, problem in checks if not passed]


def main():
    root = pathlib.Path(sys.argv[1])
    with open(root / "tones" / "tone-table.tsv", newline="", encoding="utf-8") as table:
        rows = list(csv.DictReader(table, delimiter="\t"))
    problems = [problem for row in rows for problem in row_problems(row)] + script_problems(root)
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(rows)} rows of the tone table are plausible; the script keeps to its own files")


if __name__ == "__main__":
    main()
