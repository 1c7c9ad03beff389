#!/bin/bash
# Builds the native and the Windows tree and runs every test of both through one ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSONARIL_BENCH=OFF >/dev/null
cmake --build build/windows
cmake -S . -B build/native -G Ninja -DSONARIL_SANITIZE=ON "-DSONARIL_WINDOWS_BUILD_DIR=$PWD/build/windows" >/dev/null
cmake --build build/native

source scripts/wine-session.sh
ctest --test-dir build/native --output-on-failure -j2
