#!/usr/bin/env python3
"""Times the whole `sonaril-cli analyze` process against `sox REC -n stats` on the same long
recording: 10 minutes at 48000 Hz, 16-bit mono, of the North American ring-back (440 + 480 Hz,
2 s on, 4 s off) with white noise mixed in. The recording is made with the given sonaril-cli
and SoX in a temporary folder: examples/ringback-north-america.ton rendered, resampled to
48000 Hz, repeated to 600 s and mixed with noise (`synth 600 whitenoise vol 0.01`).

SoX's `stats` reads every sample once and measures its levels, the least any analysis of the
file must do. The commands take turns, so a change in the machine's load hits both alike;
the medians and the ratio are printed. Usage:

    bench/analyze_vs_sox.py PATH/TO/sonaril-cli [RUNS]
"""
import os
import subprocess
import tempfile

from process_timing import cli_and_runs, median_ms

HERE = os.path.dirname(os.path.abspath(__file__))
SETTING = os.path.join(HERE, os.pardir, "examples", "ringback-north-america.ton")
RATE = "48000"
SECONDS = 600


def run(command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def make_recording(cli, folder):
    """The noisy 10-minute recording in folder; returns its path."""
    rendered = os.path.join(folder, "rendered.wav")
    resampled = os.path.join(folder, "resampled.wav")
    repeated = os.path.join(folder, "rec.wav")
    noise = os.path.join(folder, "noise.wav")
    noisy = os.path.join(folder, "noisy.wav")
    run([cli, "render", SETTING, "-o", rendered])
    run(["sox", rendered, "-r", RATE, resampled])
    seconds = float(subprocess.run(["sox", "--i", "-D", resampled], check=True, capture_output=True,
                                   text=True).stdout)
    copies = int(SECONDS // seconds) + 1
    run(["sox", resampled, repeated, "repeat", str(copies - 1), "trim", "0", str(SECONDS)])
    run(["sox", "-n", "-r", RATE, "-b", "16", "-c", "1", noise, "synth", str(SECONDS), "whitenoise", "vol", "0.01"])
    run(["sox", "-m", repeated, noise, noisy])
    return noisy


def main():
    cli, runs = cli_and_runs(__doc__, 5, "analyze_vs_sox")
    with tempfile.TemporaryDirectory(prefix="analyze-vs-sox-") as folder:
        recording = make_recording(cli, folder)
        # stats writes its table to standard error; only the time matters here.
        commands = {
            "analyze": [cli, "analyze", recording],
            "sox": ["sox", recording, "-n", "stats"],
        }
        with open(os.devnull, "w") as quiet:
            saved = os.dup(2)
            os.dup2(quiet.fileno(), 2)
            try:
                ms = median_ms({name: [command] for name, command in commands.items()}, runs)
            finally:
                os.dup2(saved, 2)
                os.close(saved)
    print(f"sonaril-cli analyze:  median {ms['analyze']:.1f} ms over {runs} runs")
    print(f"sox -n stats:         median {ms['sox']:.1f} ms over {runs} runs")
    print(f"ratio analyze / sox:  {ms['analyze'] / ms['sox']:.2f}")


if __name__ == "__main__":
    main()
