#!/usr/bin/env python3
"""Catches transcription slips in tones/tone-table.tsv: every row names a source, every
frequency (side tones of modulation too) lies between 1 and 3999 Hz, every level is a
plausible dBm0 figure, and each tone kind's cadence is plausible (no 10-second ON step in a
busy tone). Then checks make-tone-library.py's own guards: a usage error is never listed as
a refused string, and a folder that is not the library loses none of its files.

Usage: tone_table_check.py SONARIL_CLI PROJECT_ROOT
"""
import csv
import pathlib
import re
import subprocess
import sys
import tempfile

# Longest ON and OFF step, in ms, that each kind of tone has in any national table.
CADENCE_LIMITS = {
    "dial": (1000, 1000), "ringback": (2500, 6000), "busy": (1000, 1000), "congestion": (1000, 1000),
    "call-waiting": (1500, 20000), "special-information": (3000, 3000), "recall": (1500, 1000),
}
SUMMAND = re.compile(r"^(\d+)(?:\*(\d+)(?:%(\d+))?)?(?:@(-?\d+(?:\.\d{1,2})?))?$")


def row_problems(row):
    name = f"{row['country']} {row['tone']}"
    problems = [] if row["sources"].strip() else [f"{name}: no source"]
    longest_on, longest_off = CADENCE_LIMITS[row["tone"]]
    for part in row["tone string"].split(","):
        part = part.strip().lstrip("!")
        sound, _, duration = part.rstrip("~").partition("/")
        frequencies = []
        for summand in sound.split("+"):
            match = SUMMAND.match(summand.strip())
            if not match:
                problems.append(f"{name}: '{summand}' is not a frequency")
                continue
            carrier, modulator, _, level = match.groups()
            frequencies += [int(carrier) + sign * int(modulator or 0) for sign in (-1, 0, 1)]
            if level is not None and not -40 <= float(level) <= 0:
                problems.append(f"{name}: {level} dBm0 is not a plausible level")
        if frequencies != [0, 0, 0] and not all(1 <= hertz < 4000 for hertz in frequencies):
            problems.append(f"{name}: a frequency of '{sound}' is not between 1 and 3999 Hz")
        limit = longest_off if frequencies == [0, 0, 0] else longest_on
        if duration and int(duration) > limit:
            problems.append(f"{name}: a step of {duration} ms, longer than {limit} ms, in '{part}'")
    return problems


def script_problems(cli, root):
    script = str(root / "scripts" / "make-tone-library.py")
    problems = []
    with tempfile.TemporaryDirectory() as temporary:
        folder = pathlib.Path(temporary)
        foreign = folder / "examples" / "mine.ton"
        foreign.parent.mkdir()
        foreign.write_text("kept")
        # A tool that refuses every call as bad usage: the script must stop, not list refusals.
        refusing = folder / "refusing-cli"
        refusing.write_text("#!/bin/sh\necho 'sonaril-cli: unknown option' >&2\nexit 2\n")
        refusing.chmod(0o755)
        stopped = subprocess.run([sys.executable, script, str(refusing), temporary], capture_output=True, text=True)
        if stopped.returncode == 0 or (folder / "README.md").exists():
            problems.append("a usage error of the importer was taken for a refused string")
        made = subprocess.run([sys.executable, script, cli, temporary], capture_output=True, text=True)
        if made.returncode != 0:
            problems.append(f"make-tone-library.py failed: {made.stderr.strip()}")
        again = subprocess.run([sys.executable, script, cli, temporary], capture_output=True, text=True)
        if again.returncode != 0 or foreign.read_text() != "kept":
            problems.append("a file the script did not write was deleted or changed")
    return problems


def main():
    cli, root = sys.argv[1], pathlib.Path(sys.argv[2])
    with open(root / "tones" / "tone-table.tsv", newline="", encoding="utf-8") as table:
        rows = list(csv.DictReader(table, delimiter="\t"))
    problems = [problem for row in rows for problem in row_problems(row)]
    problems += script_problems(cli, root)
    if problems:
        sys.exit("\n".join(problems))
    print(f"{len(rows)} rows of the tone table are plausible; the script keeps to its own files")


if __name__ == "__main__":
    main()
