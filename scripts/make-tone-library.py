#!/usr/bin/env python3
"""Writes the tone library from its one table, tones/tone-table.tsv: every row becomes
<folder>/<country>/<tone>.ton through `sonaril-cli import`, or, when the importer refuses
the string, a line in the README's list of tones left out. Then writes <folder>/README.md.

Usage: make-tone-library.py SONARIL_CLI [FOLDER]     (FOLDER: tones/ of this project)
"""
import csv
import json
import math
import pathlib
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "tones" / "tone-table.tsv"
DEFAULT_DBM0 = -10.0      # per frequency, where the source gives no level
RATE = 8000
SHORTEST_MS = 4000        # a repeating tone is repeated to last at least this long
HOLD_MS = 4000            # how long a part that lasts for ever is rendered
TONE_ORDER = ["dial", "ringback", "busy", "congestion", "call-waiting", "special-information", "recall"]


def read_table():
    with open(TABLE, newline="", encoding="utf-8") as table:
        rows = list(csv.DictReader(table, delimiter="\t"))
    seen = set()
    for row in rows:
        key = (row["country"], row["tone"])
        if key in seen:
            sys.exit(f"{TABLE}: {key[0]} {key[1]} appears twice")
        seen.add(key)
        if row["tone"] not in TONE_ORDER:
            sys.exit(f"{TABLE}: unknown tone '{row['tone']}' for {row['country']}")
    return rows


def cycle_ms(tone_string):
    """The length of a repeating string, or None when it has a part that plays once or
    lasts for ever (it then plays once) or is not plain enough to add up."""
    total = 0
    for part in tone_string.split(","):
        part = part.strip()
        if part.startswith("!") or "/" not in part:
            return None
        try:
            total += int(part.split("/")[1])
        except ValueError:
            return None
    return total


def run(arguments):
    return subprocess.run(arguments, capture_output=True, text=True)


def import_row(cli, row, target):
    dbm0 = float(row["level dBm0"]) if row["level dBm0"] else DEFAULT_DBM0
    arguments = [cli, "import", row["tone string"], "-o", str(target), "--rate", str(RATE),
                 "--dbm0", str(dbm0), "--hold", str(HOLD_MS)]
    cycle = cycle_ms(row["tone string"])
    if cycle:
        arguments += ["--repeat", str(min(100, max(1, math.ceil(SHORTEST_MS / cycle))))]
    result = run(arguments)
    if result.returncode == 2:
        return None, result.stderr.strip().removeprefix("sonaril-cli: import: ")
    if result.returncode != 0:
        sys.exit(f"import of {row['country']} {row['tone']} failed: {result.stderr.strip()}")
    read = run([cli, "info", str(target), "--tone-string"])
    info = run([cli, "info", str(target), "--json"])
    if read.returncode != 0 or info.returncode != 0:
        sys.exit(f"{target} does not read back: {read.stderr.strip()}")
    levels = sorted({tone["level_dbm0"] for tone in json.loads(info.stdout)["tones"]})
    return {"string": read.stdout.strip(), "levels": levels, "given": bool(row["level dBm0"])}, None


def level_text(made):
    text = " / ".join(f"{level:.1f}" for level in made["levels"]) + " dBm0"
    return text + ", published" if made["given"] else text


def write_readme(folder, rows, made, refused):
    countries = sorted({row["country"] for row in rows})
    files = sum(1 for key in made)
    lines = [
        "# The tone library",
        "",
        f"Call-progress tones of {len({c for c, _ in made})} countries in {files} tone settings, one `.ton` file",
        "per tone: `tones/<country>/<tone>.ton`. Open any of them in Sonaril (File > Open) or render",
        "one with `sonaril-cli render`. Tones: " + ", ".join(TONE_ORDER) + ", where the source defines them.",
        "",
        "Generated, with every `.ton` file here, from `tone-table.tsv` (country, tone, tone string,",
        "level, source) by `scripts/make-tone-library.py`: change the table, then run",
        "`python3 scripts/make-tone-library.py build/native/cli/sonaril-cli`. The test command checks",
        "that the committed files are exactly what the table gives.",
        "",
        f"Each file is made by `sonaril-cli import` at {RATE} Hz. A tone that repeats is repeated to last at least",
        f"{SHORTEST_MS // 1000} s; a part that lasts for ever is held {HOLD_MS} ms. Each frequency's level is the table's",
        f"figure in dBm0 where the source gives one, otherwise {DEFAULT_DBM0:.0f} dBm0, the library's default. A",
        "setting holds levels in whole percent of full scale, so the level column shows the dBm0 that",
        "the file really has (G.711: a full-scale sine is +3.14 dBm0). The string column is what",
        "`sonaril-cli info FILE --tone-string` prints for the file.",
        "",
        "| Country | Tones |",
        "|---|---|",
    ]
    for country in countries:
        cells = []
        for tone in TONE_ORDER:
            if (country, tone) in made:
                entry = made[(country, tone)]
                cells.append(f"**{tone}** `{entry['string']}` ({level_text(entry)})")
        lines.append(f"| {country} | " + ("<br>".join(cells) if cells else "none") + " |")
    lines += [
        "",
        "## Published strings left out",
        "",
        "These strings cannot be rendered exactly by a tone setting; the reason is the importer's.",
        "",
        "| Country | Tone | Published string | Why |",
        "|---|---|---|---|",
    ]
    for (country, tone), (string, reason) in sorted(refused.items(), key=lambda item: item[0]):
        lines.append(f"| {country} | {tone} | `{string}` | {reason} |")
    lines += [
        "",
        "## Sources",
        "",
        "Figures are facts taken from these tables and written here in this table's own form:",
        "",
        "- ITU-T E.180 Supplement 2, \"Various tones used in national networks\", as tabled in the",
        "  sample `indications.conf` of Asterisk and in the tone zones of DAHDI (both cite it, and",
        "  national documents where the source column names one).",
        "- The North American precise tone plan, for the United States levels.",
        "",
        "Notes on single rows are in the table's source column.",
        "",
    ]
    (folder / "README.md").write_text("\n".join(lines), encoding="utf-8")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    cli = sys.argv[1]
    folder = pathlib.Path(sys.argv[2]) if len(sys.argv) == 3 else ROOT / "tones"
    rows = read_table()
    made, refused, written = {}, {}, set()
    for row in rows:
        target = folder / row["country"] / f"{row['tone']}.ton"
        target.parent.mkdir(parents=True, exist_ok=True)
        entry, reason = import_row(cli, row, target)
        key = (row["country"], row["tone"])
        if entry is None:
            refused[key] = (row["tone string"], reason)
        else:
            made[key] = entry
            written.add(target.resolve())
    # Rows that left the table, or are refused now, leave no file behind.
    for stale in folder.glob("*/*.ton"):
        if stale.resolve() not in written:
            stale.unlink()
    for country in folder.iterdir():
        if country.is_dir() and not any(country.iterdir()):
            country.rmdir()
    write_readme(folder, rows, made, refused)
    print(f"{len(made)} tone files for {len({c for c, _ in made})} countries; {len(refused)} strings left out")


if __name__ == "__main__":
    main()
