#!/bin/bash
# Starts Sonaril under Wine with one of the examples open. On a machine without a display
# it says so and renders the example with the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
example=examples/ringback-north-america.ton

if [ -z "${DISPLAY:-}" ]; then
  echo "No display (DISPLAY is not set), so the window cannot open:"
  echo "rendering $example with sonaril-cli instead."
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONARIL_TESTS=OFF -DSONARIL_BENCH=OFF >/dev/null
  cmake --build build/release --target sonaril-cli
  output="$PWD/build/release/ringback-north-america.wav"
  build/release/cli/sonaril-cli info "$example"
  build/release/cli/sonaril-cli render "$example" -o "$output"
  echo "Wrote $output"
  exit 0
fi

cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DSONARIL_BENCH=OFF >/dev/null
cmake --build build/windows --target Sonaril
export WINEPREFIX="$PWD/build/wineprefix-run" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
source scripts/japanese-fonts.sh
# Sonaril keeps its settings in Sonaril.ini beside the program (build/windows/editor/).
echo "Starting Sonaril with $example"
exec wine build/windows/editor/Sonaril.exe "Z:$(printf '%s' "$PWD/$example" | tr '/' '\\')"
