#!/usr/bin/env python3
"""Times the whole `sonaril-cli render` process against SoX's `synth` writing a comparable
WAV: eight tones mixed to one 16-bit channel at 96000 Hz for 22.369 s (2,147,424 samples).

The two commands take turns, so a change in the machine's load hits both alike; the
medians and their ratio are printed. Usage:

    bench/render_vs_sox.py PATH/TO/sonaril-cli [RUNS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SETTING = os.path.join(HERE, "largest-setting.ton")
# The setting's eight tones, for SoX: one per channel, then mixed down to mono.
SOX_TONES = ["sine", "425", "sine", "1209", "square", "697", "square", "3400",
             "triangle", "941", "triangle", "1633", "sawtooth", "350", "sawtooth", "2600"]


def time_once(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 41
    if shutil.which("sox") is None:
        sys.exit("render_vs_sox: sox is not installed")
    with tempfile.TemporaryDirectory(prefix="render-vs-sox-") as folder:
        render = [cli, "render", SETTING, "-o", os.path.join(folder, "sonaril.wav")]
        sox = ["sox", "-r", "96000", "-c", "8", "-n", "-b", "16", os.path.join(folder, "sox.wav"),
               "synth", "22.369"] + SOX_TONES + ["remix", "-"]
        for command in (render, sox):  # warm the caches and check that both work
            time_once(command)
        times = {"render": [], "sox": []}
        for _ in range(runs):
            times["render"].append(time_once(render))
            times["sox"].append(time_once(sox))
    render_ms = statistics.median(times["render"]) * 1000
    sox_ms = statistics.median(times["sox"]) * 1000
    print(f"sonaril-cli render: median {render_ms:.1f} ms over {runs} runs")
    print(f"sox synth:          median {sox_ms:.1f} ms over {runs} runs")
    print(f"ratio sox / render: {sox_ms / render_ms:.1f}")


if __name__ == "__main__":
    main()
