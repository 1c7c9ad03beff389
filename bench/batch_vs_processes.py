#!/usr/bin/env python3
"""Times rendering the whole tone library to G.711 u-law WAV in one `sonaril-cli render`
process against one process per setting, as a shell loop over the files would.

The two take turns, so a change in the machine's load hits both alike; the medians and
their ratio are printed. Usage:

    bench/batch_vs_processes.py PATH/TO/sonaril-cli [RUNS]
"""
import os
import tempfile

from process_timing import cli_and_runs, median_ms

LIBRARY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tones")


def settings():
    found = []
    for folder, _, names in os.walk(LIBRARY):
        found += [os.path.join(folder, name) for name in names if name.endswith(".ton")]
    return sorted(found)


def main():
    cli, runs = cli_and_runs(__doc__, 5)
    files = settings()
    with tempfile.TemporaryDirectory(prefix="batch-vs-processes-") as folder:
        batch = [[cli, "render", LIBRARY, "-o", os.path.join(folder, "batch") + "/", "--format", "wav-mulaw"]]
        one_each = [[cli, "render", path, "-o", os.path.join(folder, f"{index}.wav"), "--format", "wav-mulaw"]
                    for index, path in enumerate(files)]
        ms = median_ms({"batch": batch, "one_each": one_each}, runs)
    batch_ms, one_each_ms = ms["batch"], ms["one_each"]
    print(f"{len(files)} settings, median of {runs} runs each")
    print(f"one process, render FOLDER -o OUT/: {batch_ms:.0f} ms")
    print(f"one process per setting:             {one_each_ms:.0f} ms")
    print(f"ratio:                               {one_each_ms / batch_ms:.1f}")


if __name__ == "__main__":
    main()
