#!/bin/bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time on a
# copy of its seed corpus (tests/data/fuzz/<name>/ and the regressions). Exits
# non-zero on any finding; the failing input is kept in build/fuzz/run/<name>/artifacts.
# SONARIL_FUZZ_SECONDS sets the time per target (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="$root/build/fuzz"
seconds=${SONARIL_FUZZ_SECONDS:-30}
scripts/install-deps.sh

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2

# The targets write every input to a file and save what loads; on tmpfs the
# flushes of the safe save cost nothing, elsewhere they slow fuzzing twentyfold.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/sonaril-fuzz.XXXXXX)
else
  scratch=$(mktemp -d "$build/scratch.XXXXXX")
fi
trap 'rm -rf "$scratch"' EXIT

# target:dictionary
targets=(fuzz_tone_file:xml.dict fuzz_config:xml.dict fuzz_wave_file:wave.dict fuzz_tone_string:tone_string.dict
         fuzz_recording:wave.dict)
status=0
for entry in "${targets[@]}"; do
  target=${entry%%:*}
  dictionary=${entry#*:}
  name=${target#fuzz_}
  work="$build/run/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  for seeds in "tests/data/fuzz/$name" "tests/data/fuzz/regressions/$name"; do
    if [ -d "$seeds" ] && [ -n "$(ls -A "$seeds")" ]; then cp "$seeds"/* "$work/corpus/"; fi
  done
  if TMPDIR="$scratch" "$build/$target" "$work/corpus" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -dict="fuzz/$dictionary" -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
      >"$work/log" 2>&1; then
    echo "fuzz: $target ok ($(ls "$work/corpus" | wc -l) inputs in the corpus)"
  else
    echo "fuzz: $target FAILED; log: $work/log; inputs: $work/artifacts/"
    tail -n 40 "$work/log"
    status=1
  fi
done
exit $status
