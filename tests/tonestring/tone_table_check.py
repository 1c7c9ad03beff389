#!/usr/bin/env python3
"""Catches transcription slips in tones/tone-table.tsv (every row names a source, every
frequency, side tones too, lies between 1 and 3999 Hz, levels are plausible dBm0 figures, no
10-second ON step in a busy tone) and checks make-tone-library.py's guards: a usage error is
never listed as a refused string, and a folder that is not the library loses no file.

Usage: tone_table_check.py SONARIL_CLI PROJECT_ROOT
"""
import csv
import pathlib
import re
import subprocess
import sys
import tempfile

# Longest ON and OFF step, in ms, that each kind of tone has in any national table.
LIMITS = {"dial": (1000, 1000), "ringback": (2500, 6000), "busy": (1000, 1000), "congestion": (1000, 1000),
          "call-waiting": (1500, 20000), "special-information": (3000, 3000), "recall": (1500, 1000)}
SUMMAND = re.compile(r"^(\d+)(?:\*(\d+)(?:%\d+)?)?(?:@(-?\d+(?:\.\d{1,2})?))?$")


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


def script_problems(cli, root):
    script = str(root / "scripts" / "make-tone-library.py")
    with tempfile.TemporaryDirectory() as temporary:
        folder = pathlib.Path(temporary)
        (folder / "examples").mkdir()
        (folder / "examples" / "mine.ton").write_text("kept")
        refusing = folder / "refusing-cli"  # refuses every call as bad usage
        refusing.write_text("#!/bin/sh\necho 'sonaril-cli: unknown option' >&2\nexit 2\n")
        refusing.chmod(0o755)
        def make(tool):
            return subprocess.run([sys.executable, script, tool, temporary], capture_output=True, text=True)
        problems = []
        if make(str(refusing)).returncode == 0 or (folder / "README.md").exists():
            problems.append("a usage error of the importer was taken for a refused string")
        runs = [make(cli), make(cli)]  # the second deletes what the first listed and is not written again
        if runs[0].returncode != 0 or runs[1].returncode != 0:
            problems.append(f"make-tone-library.py failed: {runs[1].stderr.strip()}")
        mine = folder / "examples" / "mine.ton"
        if not mine.exists() or mine.read_text() != "kept":
            problems.append("a file the script did not write was deleted or changed")
        return problems


def main():
    cli, root = sys.argv[1], pathlib.Path(sys.argv[2])
    with open(root / "tones" / "tone-table.tsv", newline="", encoding="utf-8") as table:
        rows = list(csv.DictReader(table, delimiter="\t"))
    problems = [problem for row in rows for problem in row_problems(row)] + script_problems(cli, root)
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(rows)} rows of the tone table are plausible; the script keeps to its own files")


if __name__ == "__main__":
    main()
