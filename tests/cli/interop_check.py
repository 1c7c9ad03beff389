#!/usr/bin/env python3
"""Checks sonaril-cli's files with independent readers.

For every example setting: SoX reads the WAV and both raw G.711 files with the right
rate, length and encoding; Python's wave module reads the WAV; the raw files equal
Python's own G.711 encoder (audioop) applied to the WAV's samples; and SoX reads the
G.711 WAV files as u-law and A-law and takes out of them the very bytes of the raw files.
"""
import audioop
import json
import os
import subprocess
import sys
import tempfile
import wave

cli, examples = sys.argv[1], sys.argv[2]
failures = []
checked = 0


def check(condition, message):
    global checked
    checked += 1
    if not condition:
        failures.append(message)


def sox_info(arguments):
    result = subprocess.run(["sox", "--i"] + arguments, capture_output=True, text=True)
    fields = {}
    for line in result.stdout.splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            fields[key.strip()] = value.strip()
    return result.returncode, fields


with tempfile.TemporaryDirectory() as folder:
    for name in sorted(os.listdir(examples)):
        if not name.endswith(".ton"):
            continue
        setting = os.path.join(examples, name)
        info = json.loads(subprocess.run([cli, "info", "--json", setting], check=True,
                                         capture_output=True, text=True).stdout)
        rate, samples = info["sampling_frequency"], info["sample_count"]
        outputs = {}
        for form, extension in (("wav", "wav"), ("mulaw", "ul"), ("alaw", "al"),
                                ("wav-mulaw", "u.wav"), ("wav-alaw", "a.wav")):
            outputs[form] = os.path.join(folder, f"{name}.{extension}")
            subprocess.run([cli, "render", setting, "-o", outputs[form], "--format", form], check=True)

        code, fields = sox_info([outputs["wav"]])
        check(code == 0, f"{name}: sox cannot read the WAV")
        check(fields.get("Sample Rate") == str(rate), f"{name}: sox rate {fields.get('Sample Rate')}")
        check(fields.get("Channels") == "1", f"{name}: sox channels {fields.get('Channels')}")
        check(f"= {samples} samples" in fields.get("Duration", ""), f"{name}: sox length {fields.get('Duration')}")
        check(fields.get("Sample Encoding") == "16-bit Signed Integer PCM", f"{name}: sox encoding")

        with wave.open(outputs["wav"], "rb") as reader:
            check(reader.getframerate() == rate, f"{name}: wave rate")
            check(reader.getnchannels() == 1 and reader.getsampwidth() == 2, f"{name}: wave format")
            check(reader.getnframes() == samples, f"{name}: wave frames {reader.getnframes()}")
            pcm = reader.readframes(samples)
        check(len(pcm) == 2 * samples, f"{name}: wave data length")

        for form, sox_type, encoder, encoding in (
                ("mulaw", "ul", audioop.lin2ulaw, "u-law"), ("alaw", "al", audioop.lin2alaw, "A-law")):
            raw = open(outputs[form], "rb").read()
            check(raw == encoder(pcm, 2), f"{name}: {form} differs from Python's G.711 encoder")
            code, fields = sox_info([outputs[form]])
            check(encoding in fields.get("Sample Encoding", ""), f"{name}: {form} encoding {fields.get('Sample Encoding')}")
            decoded = outputs[form] + ".wav"
            result = subprocess.run(["sox", "-t", sox_type, "-r", str(rate), "-c", "1", outputs[form], decoded],
                                    capture_output=True)
            check(result.returncode == 0, f"{name}: sox cannot decode the {form} file")
            code, fields = sox_info([decoded])
            check(fields.get("Sample Rate") == str(rate), f"{name}: {form} rate {fields.get('Sample Rate')}")
            check(f"= {samples} samples" in fields.get("Duration", ""), f"{name}: {form} length")

            in_wav = outputs["wav-" + form]
            code, fields = sox_info([in_wav])
            check(code == 0 and encoding in fields.get("Sample Encoding", "") and fields.get("Sample Rate") == str(rate),
                  f"{name}: sox reads wav-{form} as {fields}")
            taken_out = subprocess.run(["sox", in_wav, "-t", sox_type, "-"], capture_output=True).stdout
            check(taken_out == raw, f"{name}: the bytes in the wav-{form} file differ from the raw {form} file")
            judged = subprocess.run([cli, "check", in_wav, setting], capture_output=True, text=True)
            check(judged.returncode == 0, f"{name}: check of its own wav-{form} render: {judged.stdout[-200:]}{judged.stderr}")

for failure in failures:
    print("FAILED:", failure)
print(f"{checked - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
