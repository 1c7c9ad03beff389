#!/usr/bin/env python3
"""Regenerates the tone library from its table into a temporary folder and checks that
the committed tones/ holds exactly those files, byte for byte.

Usage: tone_library_matches_table.py SONARIL_CLI PROJECT_ROOT
"""
import pathlib
import subprocess
import sys
import tempfile


def generated(folder):
    return {path.relative_to(folder).as_posix(): path.read_bytes()
            for path in list(folder.glob("*/*.ton")) + [folder / "README.md", folder / "index.json"] if path.exists()}


def main():
    cli, root = sys.argv[1], pathlib.Path(sys.argv[2])
    with tempfile.TemporaryDirectory() as temporary:
        made = subprocess.run([sys.executable, str(root / "scripts" / "make-tone-library.py"), cli, temporary],
                              capture_output=True, text=True)
        if made.returncode != 0:
            sys.exit(f"make-tone-library.py failed: {made.stderr.strip()}")
        expected = generated(pathlib.Path(temporary))
    committed = generated(root / "tones")
    problems = [f"missing from tones/: {name}" for name in sorted(expected.keys() - committed.keys())]
    problems += [f"not made from the table: tones/{name}" for name in sorted(committed.keys() - expected.keys())]
    problems += [f"differs from what the table gives: tones/{name}"
                 for name in sorted(expected.keys() & committed.keys()) if expected[name] != committed[name]]
    if problems:
        print("\n".join(problems))
        print("Run: python3 scripts/make-tone-library.py build/native/cli/sonaril-cli")
        sys.exit(1)
    print(f"tones/ matches the table: {len(expected)} files")


if __name__ == "__main__":
    main()
