#!/usr/bin/env python3
"""Times the whole `sonaril-cli render` process against SoX's `synth` writing a comparable
WAV: eight tones mixed to one 16-bit channel at 96000 Hz for 22.369 s (2,147,424 samples).
SoX's fastest form for that is one output channel (`-c 1`) with the eight tones mixed by
`remix -`; making eight channels first and mixing them down takes it about twice as long.

Then where the render's own time goes: the process's start-up alone (--version), the
render into memory (a folder in /dev/shm, when there is one: synthesis and the writes
without a disk) and into a folder on disk (the same plus the disk and the safe replace's
flush of the folder).

The commands take turns, so a change in the machine's load hits all alike; the medians
and the ratio are printed. Usage:

    bench/render_vs_sox.py PATH/TO/sonaril-cli [RUNS]
"""
import os
import shutil
import tempfile

from process_timing import cli_and_runs, median_ms

HERE = os.path.dirname(os.path.abspath(__file__))
SETTING = os.path.join(HERE, "largest-setting.ton")
# The setting's eight tones, for SoX: one per channel, then mixed down to mono.
SOX_TONES = ["sine", "425", "sine", "1209", "square", "697", "square", "3400",
             "triangle", "941", "triangle", "1633", "sawtooth", "350", "sawtooth", "2600"]


def main():
    cli, runs = cli_and_runs(__doc__, 41, "render_vs_sox")
    with tempfile.TemporaryDirectory(prefix="render-vs-sox-") as folder:
        memory = tempfile.mkdtemp(prefix="render-vs-sox-", dir="/dev/shm") if os.path.isdir("/dev/shm") else folder
        commands = {
            "render": [cli, "render", SETTING, "-o", os.path.join(folder, "sonaril.wav")],
            "sox": ["sox", "-n", "-r", "96000", "-b", "16", "-c", "1", os.path.join(folder, "sox.wav"),
                    "synth", "22.369"] + SOX_TONES + ["remix", "-"],
            "start-up": [cli, "--version"],
            "render into memory": [cli, "render", SETTING, "-o", os.path.join(memory, "sonaril.wav")],
        }
        ms = median_ms({name: [command] for name, command in commands.items()}, runs)
        if memory != folder:
            shutil.rmtree(memory)
    print(f"sonaril-cli render:  median {ms['render']:.1f} ms over {runs} runs")
    print(f"sox synth (-c 1):    median {ms['sox']:.1f} ms over {runs} runs")
    print(f"ratio sox / render:  {ms['sox'] / ms['render']:.1f}")
    print(f"of the render: start-up {ms['start-up']:.1f} ms, synthesis and writes into memory "
          f"{ms['render into memory'] - ms['start-up']:.1f} ms, the disk and the safe replace "
          f"{ms['render'] - ms['render into memory']:.1f} ms")


if __name__ == "__main__":
    main()
