#!/usr/bin/env python3
"""check through lines made by SoX itself: echo, the telephone band-pass filters of both
phases and two AGCs after noise, each on settings rendered by sonaril-cli. Every setting
should pass on its own with each step within 5 ms (levels within 6 dB: an echo 10 dB down
moves a tone's level by up to 3 dB) and fail as another setting; the failures are listed.
The noise is SoX's own, seeded (-R), so a run is the same on every machine. The tests make
the same conditions with the project's own code; this runs SoX's versions of them. Usage:

    bench/line_conditions_by_sox.py PATH/TO/sonaril-cli
"""
import array
import math
import os
import shutil
import subprocess
import sys
import tempfile
import wave

# setting, and a setting it must not pass as
SETTINGS = [
    ("examples/busy-japan.ton", "examples/busy-north-america.ton"),
    ("examples/ringback-uk.ton", "tones/australia/ringback.ton"),
    ("tones/germany/special-information.ton", "tones/austria/special-information.ton"),
    ("tones/australia/ringback.ton", "tones/united-arab-emirates/ringback.ton"),
    ("tones/japan/ringback.ton", "tones/china/ringback.ton"),
]
AGC = ["compand", "0.01,0.2", "6:-70,-60,-20", "-5", "-90"]
# name, SoX effects, whether noise 20 dB under the tones goes in first
CONDITIONS = [
    ("echo 20 ms -20 dB", ["echo", "1", "1", "20", "0.1"], False),
    ("echo 20 ms -40 dB", ["echo", "1", "1", "20", "0.01"], False),
    ("echo 40 ms -10 dB", ["echo", "1", "1", "40", "0.316"], False),
    ("echo 60 ms -10 dB", ["echo", "1", "1", "60", "0.316"], False),
    ("minimum-phase band", ["sinc", "-M", "300-3400"], False),
    ("linear-phase band", ["sinc", "300-3400"], False),
    ("AGC, noise 20 dB", AGC + ["0.01"], True),
    ("slow AGC, noise 20 dB", ["compand", "0.05,0.2"] + AGC[2:], True),
]


def sounding_rms(path):
    """The RMS of a 16-bit mono WAV file's 10 ms frames that are not silent."""
    with wave.open(path, "rb") as recording:
        rate = recording.getframerate()
        samples = array.array("h", recording.readframes(recording.getnframes()))
    frame = rate // 100
    powers = [sum(x * x for x in samples[i:i + frame]) / frame for i in range(0, len(samples) - frame + 1, frame)]
    loud = [power for power in powers if power > 32768.0 ** 2 * 1e-4]
    return math.sqrt(sum(loud) / len(loud)) / 32768.0


def check(cli, recording, setting, *tolerances):
    return subprocess.run([cli, "check", recording, setting, *tolerances], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if shutil.which("sox") is None:
        sys.exit("line_conditions_by_sox: sox is not installed")
    cli, root = sys.argv[1], os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
    failures = []
    with tempfile.TemporaryDirectory(prefix="sox-line-") as folder:
        clean, noise, noisy, line = (os.path.join(folder, name + ".wav") for name in ("clean", "noise", "noisy", "line"))
        for setting, wrong in SETTINGS:
            own, other = os.path.join(root, setting), os.path.join(root, wrong)
            subprocess.run([cli, "render", own, "-o", clean], check=True)
            seconds = subprocess.run(["soxi", "-D", clean], check=True, stdout=subprocess.PIPE, text=True).stdout.strip()
            subprocess.run(["sox", "-R", "-n", "-r", "8000", "-b", "16", "-c", "1", noise, "synth", seconds,
                            "whitenoise", "vol", "0.5"], check=True)
            gain = sounding_rms(clean) / sounding_rms(noise) / 10.0
            subprocess.run(["sox", "-R", "-m", clean, "-v", f"{gain:.6f}", noise, noisy], check=True)
            for name, effects, with_noise in CONDITIONS:
                subprocess.run(["sox", "-R", noisy if with_noise else clean, line, *effects], check=True,
                               stderr=subprocess.DEVNULL)
                passed = check(cli, line, own, "--tolerance-cadence", "5ms", "--tolerance-level", "6")
                if passed.returncode != 0:
                    failures.append(f"{setting}, {name}: not passed\n{passed.stdout}{passed.stderr}")
                if check(cli, line, other).returncode == 0:
                    failures.append(f"{setting}, {name}: passed as {wrong}")
    for failure in failures:
        print(failure)
    print(f"line_conditions_by_sox: {len(SETTINGS) * len(CONDITIONS)} recordings, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
