#!/bin/bash
# Builds the native and the Windows tree, runs the fuzz targets, then every test of both
# trees through one ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSONARIL_BENCH=OFF >/dev/null
cmake --build build/windows
cmake -S . -B build/native -G Ninja -DSONARIL_SANITIZE=ON "-DSONARIL_WINDOWS_BUILD_DIR=$PWD/build/windows" >/dev/null
cmake --build build/native

# Each file reader meets damaged input for a bounded time; a finding fails the run.
fuzz_status=0
scripts/fuzz.sh || fuzz_status=$?

source scripts/wine-session.sh
ctest --test-dir build/native --output-on-failure -j2
exit "$fuzz_status"
