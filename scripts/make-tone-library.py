#!/usr/bin/env python3
"""Writes the tone library from its one table, tones/tone-table.tsv: every row becomes
<folder>/<country>/<tone>.ton through `sonaril-cli import`, or, when the importer refuses
the string itself, a line in the README's list of tones left out. Then writes
<folder>/README.md and <folder>/index.json.

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
COLUMNS = ["country", "name", "code", "tone", "tone string", "level dBm0", "sources", "note", "disagreement"]
DEFAULT_DBM0 = -10.0      # per frequency, where the source gives no level
RATE = 8000
SHORTEST_MS = 4000        # a repeating tone is repeated to last at least this long
HOLD_MS = 4000            # how long a part that lasts for ever is rendered
TONE_ORDER = ["dial", "ringback", "busy", "congestion", "call-waiting", "special-information", "recall"]
SOURCES = {
    "asterisk": "ITU-T E.180 Supplement 2, \"Various tones used in national networks\", as tabled in the "
                "sample `indications.conf` of Asterisk",
    "dahdi": "ITU-T E.180 Supplement 2 as tabled in the tone zones of DAHDI (`zonedata.c`)",
    "itu-ob-781": "ITU Operational Bulletin No. 781, the national tones notified to the ITU for its list of tones "
                  "after E.180 Supplement 2, as transcribed in the tone library of webtone (figures only; that "
                  "transcription's levels are its own default, not published)",
    "itu-list": "the ITU's list of national tones (\"Various tones used in national networks\", E.180 Supplement 2) "
                "as reproduced in the PalmH323 documentation (`dialtone.txt`)",
    "AN93": "Silicon Laboratories application note AN93 (ISOmodem), \"SAS Cadence for Supported Countries\": "
            "the national call-waiting tones, taken by the vendor from ITU-T E.180 Supplement 2 (04/98)",
    "E.180": "ITU-T Recommendation E.180, the special information tone: 950, 1400 and 1800 Hz, "
             "330 ms each, then 1000 ms of silence",
    "precise-tone-plan": "the North American precise audible tone plan (ITU-T E.300-series Supplement 3): "
                         "levels per frequency in dBm0",
    "ACIF S002": "ACIF S002 (Australia), as cited by Asterisk",
    "BT SIN 350": "BT SIN 350 (United Kingdom), as cited by Asterisk",
    "GOST 45-223-2001": "GOST 45-223-2001 (Russia), as cited by Asterisk",
    "IDA TS PSTN1": "IDA TS PSTN1 (Singapore), as cited by Asterisk",
    "Telefonica CTC": "Telefonica CTC (Chile), as cited by Asterisk",
    "Telepermit TNA 102": "Telepermit TNA 102 (New Zealand), as cited by Asterisk",
}


def read_table():
    with open(TABLE, newline="", encoding="utf-8") as table:
        reader = csv.DictReader(table, delimiter="\t")
        if reader.fieldnames != COLUMNS:
            sys.exit(f"{TABLE}: the columns must be {COLUMNS}")
        rows = list(reader)
    seen = set()
    for row in rows:
        key = (row["country"], row["tone"])
        if key in seen:
            sys.exit(f"{TABLE}: {key[0]} {key[1]} appears twice")
        seen.add(key)
        if row["tone"] not in TONE_ORDER:
            sys.exit(f"{TABLE}: unknown tone '{row['tone']}' for {row['country']}")
        unknown = [source for source in row_sources(row) if source not in SOURCES]
        if not row_sources(row) or unknown:
            sys.exit(f"{TABLE}: {key[0]} {key[1]} needs sources from {sorted(SOURCES)}, not {unknown}")
    order = [(row["country"], TONE_ORDER.index(row["tone"])) for row in rows]
    if order != sorted(order):
        sys.exit(f"{TABLE}: the rows must be sorted by country, then by tone in the order {TONE_ORDER}")
    return rows


def row_sources(row):
    return [source.strip() for source in row["sources"].split(",") if source.strip()]


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
        # Exit 2 is also bad usage; only the importer's own refusal of the string, given again
        # with the importer's defaults, is a string left out. Anything else is this script's
        # (or the table's) fault.
        alone = run([cli, "import", row["tone string"], "-o", str(target), "--rate", str(RATE)])
        if (not result.stderr.startswith("sonaril-cli: import: ") or alone.returncode != 2 or
                alone.stderr != result.stderr):
            if alone.returncode == 0:
                target.unlink()
            sys.exit(f"import of {row['country']} {row['tone']} failed: {result.stderr.strip()}")
        return None, result.stderr.strip().removeprefix("sonaril-cli: import: ")
    if result.returncode != 0:
        sys.exit(f"import of {row['country']} {row['tone']} failed: {result.stderr.strip()}")
    read = run([cli, "info", str(target), "--tone-string"])
    info = run([cli, "info", str(target), "--json"])
    if read.returncode != 0 or info.returncode != 0:
        sys.exit(f"{target} does not read back: {read.stderr.strip()}")
    levels = sorted({tone["level_dbm0"] for tone in json.loads(info.stdout)["tones"]})
    published = bool(row["level dBm0"]) or "@" in row["tone string"]
    return {"string": read.stdout.strip(), "levels": levels, "published": published}, None


def level_text(made):
    text = " / ".join(f"{level:.1f}" for level in made["levels"]) + " dBm0"
    return text + ", published" if made["published"] else text


def write_index(folder, rows, made):
    entries = []
    for row in rows:
        key = (row["country"], row["tone"])
        if key in made:
            entries.append({"country": row["name"], "code": row["code"], "tone": row["tone"],
                            "file": f"{row['country']}/{row['tone']}.ton", "string": made[key]["string"],
                            "levels": made[key]["levels"], "sources": row_sources(row)})
    text = json.dumps(entries, indent=1, ensure_ascii=False) + "\n"
    (folder / "index.json").write_text(text, encoding="utf-8")


def listed_files(folder):
    """The files the last run wrote, from its index.json: the only ones it may delete, and
    only where this script writes, <folder>/<country>/<tone>.ton (not where a damaged index
    points)."""
    try:
        entries = json.loads((folder / "index.json").read_text(encoding="utf-8"))
        listed = {(folder / entry["file"]).resolve() for entry in entries}
    except (OSError, ValueError, KeyError, TypeError):
        return set()
    return {path for path in listed if path.suffix == ".ton" and path.parent.parent == folder.resolve()}


def write_readme(folder, rows, made, refused):
    by_country = {}
    for row in rows:
        by_country.setdefault(row["country"], row)
    published = sum(1 for entry in made.values() if entry["published"])
    lines = [
        "# The tone library",
        "",
        f"Call-progress tones of {len({c for c, _ in made})} countries in {len(made)} tone settings, one `.ton` file",
        "per tone: `tones/<folder>/<tone>.ton`. Open any of them in Sonaril (File > Open) or render",
        "one with `sonaril-cli render`. Tones: " + ", ".join(TONE_ORDER) + ", where the source defines them.",
        "`index.json` lists every file with its country, ISO 3166 code, tone, string, levels and sources.",
        "",
        "Generated, with every `.ton` file and `index.json` here, from `tone-table.tsv` (one row per",
        "tone: folder, English name, ISO 3166 alpha-2 code, tone, tone string, level, sources, note, and",
        "the disagreement between sources with its resolution) by `scripts/make-tone-library.py`:",
        "change the table, then run `python3 scripts/make-tone-library.py build/native/cli/sonaril-cli`.",
        "The test command checks that the committed files are exactly what the table gives.",
        "",
        f"Each file is made by `sonaril-cli import` at {RATE} Hz. A tone that repeats is repeated to last at least",
        f"{SHORTEST_MS // 1000} s; a part that lasts for ever is held {HOLD_MS} ms. A frequency's level is its own in",
        "the string (`425@-20`), else the table's level column, else",
        f"{DEFAULT_DBM0:.0f} dBm0, the library's default; {published} tones carry a published level. A",
        "setting holds levels in whole percent of full scale, so the level column shows the dBm0 that",
        "the file really has (G.711: a full-scale sine is +3.14 dBm0). `F1*F2` is F1 modulated by F2",
        "to 90 %, built as three sines. A part marked `~` lets its tones sound on the next part's first",
        "sample: the 333 ms information tones sound as published to within that one sample (125 µs)",
        "at each boundary, every other sample exact. The string column is what",
        "`sonaril-cli info FILE --tone-string` prints for the file.",
        "",
        "| Country | Code | Folder | Tones |",
        "|---|---|---|---|",
    ]
    for country, first in sorted(by_country.items(), key=lambda item: item[1]["name"]):
        cells = []
        for tone in TONE_ORDER:
            if (country, tone) in made:
                entry = made[(country, tone)]
                cells.append(f"**{tone}** `{entry['string']}` ({level_text(entry)})")
        lines.append(f"| {first['name']} | {first['code']} | `{country}` | " +
                     ("<br>".join(cells) if cells else "none") + " |")
    disagreements = [row for row in rows if row["disagreement"]]
    lines += [
        "",
        "## Where the sources disagree",
        "",
        f"{len(disagreements)} rows; each row's choice and why:",
        "",
        "| Country | Tone | Table | Disagreement and resolution |",
        "|---|---|---|---|",
    ]
    for row in disagreements:
        lines.append(f"| {row['name']} | {row['tone']} | `{row['tone string']}` | {row['disagreement']} |")
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
        lines.append(f"| {by_country[country]['name']} | {tone} | `{string}` | {reason} |")
    lines += [
        "",
        "## Sources",
        "",
        "Figures are facts taken from these tables and written here in this table's own form; the",
        "table's source column names them by these keys:",
        "",
    ]
    lines += [f"- `{key}`: {text}." for key, text in SOURCES.items()]
    lines.append("")
    (folder / "README.md").write_text("\n".join(lines), encoding="utf-8")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    cli = sys.argv[1]
    folder = pathlib.Path(sys.argv[2]) if len(sys.argv) == 3 else ROOT / "tones"
    rows = read_table()
    listed_before = listed_files(folder)
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
    # Rows that left the table, or are refused now, leave no file behind; only files the
    # last run listed are touched, so a wrong FOLDER loses nothing of its own.
    for stale in listed_before - written:
        if stale.is_file():
            stale.unlink()
        if stale.parent.is_dir() and not any(stale.parent.iterdir()):
            stale.parent.rmdir()
    for row in rows:
        country = folder / row["country"]
        if country.is_dir() and not any(country.iterdir()):
            country.rmdir()
    write_readme(folder, rows, made, refused)
    write_index(folder, rows, made)
    print(f"{len(made)} tone files for {len({c for c, _ in made})} countries; {len(refused)} strings left out")


if __name__ == "__main__":
    main()
