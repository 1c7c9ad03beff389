#!/bin/bash
# Builds the command-line renderer and renders one of the examples into the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONARIL_TESTS=OFF -DSONARIL_BENCH=OFF >/dev/null
cmake --build build/release --target sonaril-cli

example=examples/ringback-north-america.ton
output="$PWD/build/release/ringback-north-america.wav"
build/release/cli/sonaril-cli info "$example"
build/release/cli/sonaril-cli render "$example" -o "$output"
echo "Wrote $output"
